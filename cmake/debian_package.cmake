# make package: a .deb of the window and the tool, with their desktop entry, icons, help page
# and manual page. Depends are found by dpkg-shlibdeps.
include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/resources/man/quillon-score.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Quillon")
set(CPACK_PACKAGE_CONTACT "Quillon developers <quillon@quillon.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Overall score of a commercial-cryptography application security assessment")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillon turns the results of a commercial-cryptography application security assessment\n(商用密码应用安全性评估) into its overall score: a desktop window and the quillon-score tool.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
include(CPack)
