# quillon-windows-VERSION.zip: the single-file programs with the help page, to unpack and run.
set(zip ${CMAKE_BINARY_DIR}/quillon-windows-${PROJECT_VERSION}.zip)
set(stage ${CMAKE_BINARY_DIR}/zip/quillon-windows-${PROJECT_VERSION})
add_custom_command(OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quillon-score> $<TARGET_FILE:quillon-window>
          ${PROJECT_SOURCE_DIR}/resources/help2.htm ${stage}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip
          ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip quillon-windows-${PROJECT_VERSION}
  DEPENDS quillon-score quillon-window ${PROJECT_SOURCE_DIR}/resources/help2.htm)
add_custom_target(quillon_windows_zip ALL DEPENDS ${zip})
