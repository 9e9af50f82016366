# The crash suite: a worker that runs one operation and stops at a chosen file step, and the
# driver that kills it there and checks what the next start finds.
add_executable(crash_worker app/crash_worker.cpp app/crash_interpose.cpp app/crash_interpose.h
    app/crash_fixture.h)
target_link_libraries(crash_worker PRIVATE ombrivo_core ombrivo_resources ${CMAKE_DL_LIBS})
# The worker's definitions of write, rename and the rest must be the ones the libraries call.
set_target_properties(crash_worker PROPERTIES ENABLE_EXPORTS ON)

ombrivo_gtest(test_crash_steps app/test_crash_steps.cpp app/crash_fixture.h)
target_link_libraries(test_crash_steps PRIVATE ombrivo_resources)
target_compile_definitions(test_crash_steps PRIVATE
    OMBRIVO_CRASH_WORKER="$<TARGET_FILE:crash_worker>")
add_dependencies(test_crash_steps crash_worker)
# Every kill point starts a worker: under the sanitizers the suite takes several minutes.
set_tests_properties(test_crash_steps PROPERTIES TIMEOUT 1800)
