# libxlsxwriter, for the workbook export, and minizip's unzip, which reads the workbook back to
# prove it whole: Debian's packages on Linux; the Windows and WebAssembly builds compile the same
# versions from Debian's source of libxlsxwriter (which bundles minizip), which the Makefile
# unpacks into build/sources (cmake/debian_source.sh). Either way the target is quillon_xlsxwriter.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
  pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
  add_library(quillon_xlsxwriter INTERFACE)
  target_link_libraries(quillon_xlsxwriter INTERFACE PkgConfig::XLSXWRITER PkgConfig::MINIZIP)
  return()
endif()

set(QUILLON_SOURCES_DIR ${PROJECT_SOURCE_DIR}/build/sources CACHE PATH
    "Where the Makefile unpacks the sources of the libraries a cross build compiles")
set(xlsx ${QUILLON_SOURCES_DIR}/libxlsxwriter)
if(NOT EXISTS ${xlsx}/include/xlsxwriter.h)
  message(FATAL_ERROR "libxlsxwriter's source is not in ${xlsx}: build through the Makefile "
                      "(make windows, make web), which unpacks it there")
endif()
enable_language(C)

if(EMSCRIPTEN)  # Emscripten's own zlib would be downloaded; Debian's source is built instead
  set(zlib ${QUILLON_SOURCES_DIR}/zlib)
  add_library(quillon_zlib STATIC)
  foreach(part adler32 compress crc32 deflate inffast inflate inftrees trees uncompr zutil)
    target_sources(quillon_zlib PRIVATE ${zlib}/${part}.c)
  endforeach()
  target_include_directories(quillon_zlib SYSTEM PUBLIC ${zlib})
  target_compile_options(quillon_zlib PRIVATE -w)
else()
  set(ZLIB_USE_STATIC_LIBS ON)  # the programs are single files: no zlib1.dll beside them
  find_package(ZLIB REQUIRED)   # Debian's libz-mingw-w64-dev
  add_library(quillon_zlib ALIAS ZLIB::ZLIB)
endif()

file(GLOB xlsx_sources ${xlsx}/src/*.c)
add_library(quillon_xlsxwriter STATIC ${xlsx_sources}
  ${xlsx}/third_party/minizip/ioapi.c ${xlsx}/third_party/minizip/zip.c ${xlsx}/third_party/minizip/unzip.c
  ${xlsx}/third_party/tmpfileplus/tmpfileplus.c ${xlsx}/third_party/md5/md5.c)
target_include_directories(quillon_xlsxwriter SYSTEM PUBLIC ${xlsx}/include ${xlsx}/third_party/minizip
                           PRIVATE ${xlsx}/include/xlsxwriter)
# As the library's own build sets them: no zip encryption; 32-bit file calls on MinGW.
target_compile_definitions(quillon_xlsxwriter PRIVATE NOCRYPT NOUNCRYPT $<$<BOOL:${MINGW}>:USE_FILE32API>)
target_compile_options(quillon_xlsxwriter PRIVATE -w)  # not our code to warn about
target_link_libraries(quillon_xlsxwriter PUBLIC quillon_zlib)
