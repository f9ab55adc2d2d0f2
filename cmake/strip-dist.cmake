# Strips the symbol tables and debug sections from every program, library and driver file of a
# distribution folder: what ships is what runs, not what debugs it. The build tree keeps the
# unstripped files for debugging.
#   cmake -DDIST_DIR=<folder> -DSTRIP=<strip program> -P cmake/strip-dist.cmake
file(GLOB_RECURSE _binaries ${DIST_DIR}/*)
list(FILTER _binaries INCLUDE REGEX "\\.([Ee][Xx][Ee]|[Dd][Ll][Ll]|[Ss][Yy][Ss])$")
foreach(_binary IN LISTS _binaries)
  execute_process(COMMAND ${STRIP} --strip-all ${_binary} RESULT_VARIABLE _result
                  ERROR_VARIABLE _error)
  if(NOT _result EQUAL 0)
    message(FATAL_ERROR "Stripping ${_binary} failed: ${_error}")
  endif()
endforeach()
