# The Windows cross build sees none of the host's headers (they are glibc's), so the header-only
# libraries are copied into the build tree, and GoogleTest is built from Debian's sources.
foreach(header_dir CLI nlohmann fast_float)
  find_path(${header_dir}_ROOT ${header_dir} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(COPY ${${header_dir}_ROOT}/${header_dir} DESTINATION ${CMAKE_BINARY_DIR}/host-headers)
endforeach()
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
add_library(quillon_host_headers INTERFACE)  # for the scoring and the tests, which read with fast_float
target_include_directories(quillon_host_headers SYSTEM INTERFACE ${host_headers})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${host_headers})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${host_headers})

if(QUILLON_BUILD_TESTS)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)  # GTest::gtest_main
endif()
