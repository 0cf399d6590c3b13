# The encoding tables kept in the tree, written by codec/tables/make_tables.cpp from glibc's
# iconv. Run with -P:
#   -DGENERATOR=make_tables -DSOURCE_DIR=root                   writes them into the tree
#   -DGENERATOR=make_tables -DSOURCE_DIR=root -DCHECK_DIR=dir   writes them into dir and fails
#                                                               unless they match the tree's bytes
set(tables
  gb18030 codec/gb18030_table.cpp
  gbk text/gbk_two_byte_ranges.inc)

while(tables)
  list(POP_FRONT tables kind path)
  if(DEFINED CHECK_DIR)
    get_filename_component(name ${path} NAME)
    set(output ${CHECK_DIR}/${name})
    file(MAKE_DIRECTORY ${CHECK_DIR})
  else()
    set(output ${SOURCE_DIR}/${path})
  endif()
  execute_process(COMMAND ${GENERATOR} ${kind} ${output} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "make_tables ${kind} failed")
  endif()
  if(DEFINED CHECK_DIR)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${output} ${SOURCE_DIR}/${path} RESULT_VARIABLE differs)
    if(differs)
      message(FATAL_ERROR "${path} is not what make_tables writes now (${output}); "
                          "the converter has changed, or the file was edited by hand")
    endif()
  endif()
endwhile()
