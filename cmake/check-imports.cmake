# Fails when a program imports a function that the oldest Windows it is meant to load on lacks:
# the loader of such a Windows refuses the whole program. The list names the DLLs and functions.
#   cmake -DOBJDUMP=<objdump> -DLIST=<list file> -DFILES=<program;...> -P cmake/check-imports.cmake
cmake_minimum_required(VERSION 3.16)
file(STRINGS ${LIST} _entries REGEX "^[^#]")
set(_found "")
foreach(_file IN LISTS FILES)
  execute_process(COMMAND ${OBJDUMP} -p ${_file} OUTPUT_VARIABLE _dump RESULT_VARIABLE _result
                  ERROR_VARIABLE _error)
  if(NOT _result EQUAL 0)
    message(FATAL_ERROR "Reading the imports of ${_file} failed: ${_error}")
  endif()
  # The import tables: a "DLL Name:" line per DLL, then a line per function (address, hint,
  # name).
  string(REGEX MATCHALL "DLL Name: [^\n]+|\n\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_][A-Za-z0-9_@]*"
         _lines "${_dump}")
  get_filename_component(_name ${_file} NAME)
  set(_imports "")
  foreach(_line IN LISTS _lines)
    if(_line MATCHES "^DLL Name: ([^ \t\r]+)")
      string(TOUPPER "${CMAKE_MATCH_1}" _dll)
      list(APPEND _imports "${_dll}")
    elseif(_line MATCHES " ([A-Za-z_][A-Za-z0-9_@]*)$")
      list(APPEND _imports "${_dll}!${CMAKE_MATCH_1}")
    endif()
  endforeach()
  foreach(_entry IN LISTS _entries)
    string(REGEX MATCH "^[^ \t#]+" _import "${_entry}")
    string(REGEX REPLACE "^[^#]*#[ \t]*" "" _since "${_entry}")
    if(_import IN_LIST _imports)
      string(APPEND _found "\n  ${_name} imports ${_import}, new in ${_since}")
    endif()
  endforeach()
endforeach()
if(_found)
  message(FATAL_ERROR "Imports the oldest Windows lacks (${LIST}):${_found}")
endif()
