# The flags of every target built from this tree, in one place. (The third-party libraries built
# here, in xlsxwriter.cmake, turn warnings off for their own code.)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wpedantic)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 at -O3 warns wrongly about overlapping copies inside std::string concatenation (GCC
  # bug 105329), in whichever file inlines enough of it.
  add_compile_options(-Wno-restrict)
endif()

# A Windows program whose entry point takes wide strings (wWinMain, wmain).
function(quillon_wide_windows_program target)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE)
  target_link_options(${target} PRIVATE -municode)
endfunction()
