# The Windows programs' icon, application manifest and version information, and the words the
# installer shows of the publisher: all from the project's one version (project() above) and the
# few words here. Each program's resource script and manifest are configured from one template
# each, win32/program.rc.in and win32/quillon.manifest.in.
set(QUILLON_PUBLISHER "Quillon 开发组")
set(QUILLON_COPYRIGHT "版权所有 (C) Quillon 开发组")

enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")  # the resource scripts are UTF-8

# The version as text for the window's resource script (its about box): QUILLON_VERSION_TEXT.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/quillon_version.h
     CONTENT "/* Made by cmake/windows_resources.cmake from the project's version. */\n#define QUILLON_VERSION_TEXT \"@PROJECT_VERSION@\"\n")

# quillon_windows_resources(TARGET IDENTITY DESCRIPTION): the icon, the manifest (its assembly
# named Quillon.IDENTITY) and the version information (DESCRIPTION as FileDescription) of one
# program, called from the directory that makes it.
function(quillon_windows_resources target identity description)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(file_name ${name}${CMAKE_EXECUTABLE_SUFFIX})
  set(internal_name ${name})
  set(icon ${PROJECT_SOURCE_DIR}/resources/icons/quillon.ico)
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${name}.manifest)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}-program.rc)
  configure_file(${PROJECT_SOURCE_DIR}/win32/quillon.manifest.in ${manifest} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/win32/program.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${manifest};${icon}")
endfunction()
