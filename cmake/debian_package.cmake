# make package: a .deb of the window and the tool, with their desktop entry, AppStream metadata,
# icons, help page and manual page, laid out as Debian's policy asks (lintian checks it in
# make package-test). Depends are found by dpkg-shlibdeps.
include(GNUInstallDirs)
set(CPACK_PACKAGE_NAME quillon)
set(QUILLON_DEB_RELEASE 1)
set(QUILLON_DEB_VERSION ${PROJECT_VERSION}-${QUILLON_DEB_RELEASE})
set(QUILLON_APPSTREAM_ID invalid.quillon.Quillon)

# The manual page and the changelog go in compressed, without a time stamp (the same bytes each build).
set(debian_dir ${CMAKE_BINARY_DIR}/debian)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in ${debian_dir}/changelog.Debian @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/quillon.metainfo.xml ${debian_dir}/${QUILLON_APPSTREAM_ID}.metainfo.xml @ONLY)
set(compressed)
foreach(source ${PROJECT_SOURCE_DIR}/resources/man/quillon.1 ${PROJECT_SOURCE_DIR}/resources/man/quillon-score.1
               ${debian_dir}/changelog.Debian)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${debian_dir}/${name}.gz
                     COMMAND sh -c "gzip -9nc '${source}' > '${debian_dir}/${name}.gz'"
                     DEPENDS ${source} VERBATIM)
  list(APPEND compressed ${debian_dir}/${name}.gz)
endforeach()
add_custom_target(quillon_debian_files ALL DEPENDS ${compressed})

install(FILES ${debian_dir}/quillon.1.gz ${debian_dir}/quillon-score.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${debian_dir}/changelog.Debian.gz ${PROJECT_SOURCE_DIR}/resources/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
install(FILES ${debian_dir}/${QUILLON_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_VENDOR "Quillon")
set(CPACK_PACKAGE_CONTACT "Quillon developers <quillon@quillon.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Overall score of a commercial-cryptography application security assessment")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillon turns the results of a commercial-cryptography application security\nassessment (商用密码应用安全性评估) into its overall score: a desktop window\nand the quillon-score tool.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUILLON_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The script's font: Chinese exactly two ASCII cells wide, and an @ unlike a 0.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
include(CPack)
