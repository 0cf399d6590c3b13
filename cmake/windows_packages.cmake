# What ships for Windows, listed once: the single-file programs and the help page. From the list,
# quillon-windows-VERSION.zip (unpack anywhere and run; a USB stick will do) and
# quillon-windows-VERSION-setup.exe, the installer (win32/installer.nsi, made with Debian's NSIS).
set(shipped $<TARGET_FILE:quillon-window> $<TARGET_FILE:quillon-score> ${PROJECT_SOURCE_DIR}/resources/help2.htm)
set(shipped_depends quillon-window quillon-score ${PROJECT_SOURCE_DIR}/resources/help2.htm)

set(zip ${CMAKE_BINARY_DIR}/quillon-windows-${PROJECT_VERSION}.zip)
set(stage ${CMAKE_BINARY_DIR}/zip/quillon-windows-${PROJECT_VERSION})
add_custom_command(OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${shipped} ${stage}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip
          ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip quillon-windows-${PROJECT_VERSION}
  DEPENDS ${shipped_depends})
add_custom_target(quillon_windows_zip ALL DEPENDS ${zip})

# The installer: the script takes the version, the words of windows_resources.cmake and the list
# above (what to install, and so what to remove) from a header made here.
find_program(MAKENSIS makensis REQUIRED)
set(QUILLON_WINDOWS_INSTALLER ${CMAKE_BINARY_DIR}/quillon-windows-${PROJECT_VERSION}-setup.exe)
set(header ${CMAKE_BINARY_DIR}/installer/quillon.nsh)
set(install_files "")
set(remove_files "")
foreach(file IN LISTS shipped)
  string(APPEND install_files "  File \"${file}\"\n")
  string(APPEND remove_files "  Delete \"$INSTDIR\\$<PATH:GET_FILENAME,${file}>\"\n")
endforeach()
file(GENERATE OUTPUT ${header} CONTENT "; Made by cmake/windows_packages.cmake.
!define VERSION \"${PROJECT_VERSION}\"
!define VERSION_QUAD \"${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0\"
!define PUBLISHER \"${QUILLON_PUBLISHER}\"
!define COPYRIGHT \"${QUILLON_COPYRIGHT}\"
!define ICON \"${PROJECT_SOURCE_DIR}/resources/icons/quillon.ico\"
!define OUTFILE \"${QUILLON_WINDOWS_INSTALLER}\"
!macro INSTALL_FILES
${install_files}!macroend
!macro REMOVE_FILES
${remove_files}!macroend
")
add_custom_command(OUTPUT ${QUILLON_WINDOWS_INSTALLER}
  COMMAND ${MAKENSIS} -V2 -WX -INPUTCHARSET UTF8 -DHEADER=${header} ${PROJECT_SOURCE_DIR}/win32/installer.nsi
  DEPENDS ${shipped_depends} ${header} ${PROJECT_SOURCE_DIR}/win32/installer.nsi
          ${PROJECT_SOURCE_DIR}/resources/icons/quillon.ico)
add_custom_target(quillon_windows_installer ALL DEPENDS ${QUILLON_WINDOWS_INSTALLER})
