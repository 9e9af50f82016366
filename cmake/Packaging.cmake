# Installation layout and the Debian package (cpack -G DEB).
include(GNUInstallDirs)

install(TARGETS ombrivo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The help document, where an installed executable looks for it.
install(FILES resources/帮助.doc DESTINATION ${CMAKE_INSTALL_DATADIR}/ombrivo)
install(FILES resources/linux/org.ombrivo.Ombrivo.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/linux/org.ombrivo.Ombrivo.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${OMBRIVO_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ombrivo)

set(CPACK_PACKAGE_NAME ombrivo)
set(CPACK_PACKAGE_VENDOR "The Ombrivo developers")
set(CPACK_PACKAGE_CONTACT "The Ombrivo developers <developers@ombrivo.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "password vault for several users, with a Chinese interface")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Ombrivo keeps account records (category, account name, user ID, password,\n\
registration date, web address, remarks) in an encrypted SQLCipher data file.\n\
Several people share one installation; each logs in with a password and sees\n\
only their own records. Tray icon, auto-lock, clipboard clearing, system-wide\n\
shortcuts that type a user ID or password, a boss key, backups and restore.")
# The executable knows its installation folder from the prefix it was built for.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    message(WARNING "The Debian package is meant for the prefix /usr, not ${CMAKE_INSTALL_PREFIX}")
endif()
# The package is made from a tree that is already built; packing does not build the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binary; the X11 platform plugin, Qt's own Chinese texts and a
# font with the Chinese characters are not linked, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_STRIP_FILES TRUE)
include(CPack)
