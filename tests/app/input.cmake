# Included by tests/CMakeLists.txt: bad data and backup files, awkward field texts, and no plain
# secret on disk.

# Preloaded into the real executable: answers its message boxes and writes down what they said.
add_library(message_answerer MODULE ${CMAKE_CURRENT_SOURCE_DIR}/app/message_answerer.cpp)
target_link_libraries(message_answerer PRIVATE Qt6::Widgets ${CMAKE_DL_LIBS})

# Bad data files at the start of the real executable, and a backup its owner may not read.
add_executable(test_badfiles app/test_badfiles.cpp maintenance/RestoreFixture.h)
target_link_libraries(test_badfiles PRIVATE ombrivo_core GTest::gtest)
target_include_directories(test_badfiles PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support
    ${CMAKE_CURRENT_SOURCE_DIR}/maintenance)
target_compile_definitions(test_badfiles PRIVATE OMBRIVO_EXECUTABLE="$<TARGET_FILE:ombrivo>"
    OMBRIVO_MESSAGE_ANSWERER="$<TARGET_FILE:message_answerer>")
add_dependencies(test_badfiles ombrivo message_answerer)
add_test(NAME test_badfiles COMMAND test_badfiles)

# Awkward texts in every record field, user name and login password, through the windows.
ombrivo_qtest(tst_fieldtexts app/tst_fieldtexts.cpp)

# No secret on disk in the clear: a whole session in this process, and the real executable killed
# while logged in under an X server of the test's own (skipped without Xvfb and xdotool).
ombrivo_qtest(tst_noplaintext app/tst_noplaintext.cpp)
target_compile_definitions(tst_noplaintext PRIVATE OMBRIVO_EXECUTABLE="$<TARGET_FILE:ombrivo>")
add_dependencies(tst_noplaintext ombrivo)
set_tests_properties(tst_noplaintext PROPERTIES TIMEOUT 300)
