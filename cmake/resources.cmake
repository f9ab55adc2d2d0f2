# Resources of ORLO.EXE and SETUP.EXE for the Windows build.
#
# Use, in the Windows build only (ORLO_WINDOWS=ON):
#   include(${CMAKE_SOURCE_DIR}/cmake/resources.cmake)   # once, in the top-level CMakeLists
#   orlo_add_resources(ORLO)                             # in the folder that defines ORLO
#   orlo_add_setup_resources(SETUP)                      # in the folder that defines SETUP
#
# At configure time this compiles tools/resgen with the host compiler (the first of c++, g++,
# clang++ on PATH, or ORLO_HOST_CXX if set) into ${CMAKE_BINARY_DIR}/tools/orlo-resgen-host,
# runs it into ${CMAKE_BINARY_DIR}/resources and copies warning.wav to ${CMAKE_BINARY_DIR}.
# It compiles and runs the generator again only when one of its sources changed (an edit of
# one makes the build reconfigure). orlo_add_resources adds the generated orlo.rc to the
# target; windres compiles it, finding the files it names in the resources folder.
#
# Variables set: ORLO_RESOURCE_DIR, ORLO_RESOURCE_RC (the script), ORLO_RESOURCE_FILES (what
# it names), ORLO_WARNING_WAV (the copy for the distribution folder).

enable_language(RC)

set(ORLO_RESGEN_DIR ${CMAKE_SOURCE_DIR}/tools/resgen)
set(ORLO_RESOURCE_DIR ${CMAKE_BINARY_DIR}/resources)
set(ORLO_RESOURCE_RC ${ORLO_RESOURCE_DIR}/orlo.rc)
set(ORLO_WARNING_WAV ${CMAKE_BINARY_DIR}/warning.wav)
set(ORLO_RESOURCE_FILES ${ORLO_RESOURCE_DIR}/FAN.avi ${ORLO_RESOURCE_DIR}/ORLO.ico
                        ${ORLO_RESOURCE_DIR}/HAND.cur)
# SETUP.EXE's resources: the same icon and the wizard's page picture.
set(ORLO_SETUP_RESOURCE_RC ${ORLO_RESOURCE_DIR}/setup.rc)
set(ORLO_SETUP_RESOURCE_FILES ${ORLO_RESOURCE_DIR}/ORLO.ico ${ORLO_RESOURCE_DIR}/SETUP.bmp)
foreach(colour RED GREEN)
  foreach(digit RANGE 9)
    list(APPEND ORLO_RESOURCE_FILES ${ORLO_RESOURCE_DIR}/${colour}${digit}.bmp)
  endforeach()
endforeach()

file(GLOB _orlo_resgen_sources ${ORLO_RESGEN_DIR}/*.cpp)
file(GLOB _orlo_resgen_headers ${ORLO_RESGEN_DIR}/*.h)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${_orlo_resgen_sources} ${_orlo_resgen_headers})

# The host compiler, not the cross compiler: the generator runs here, during the build.
find_program(ORLO_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH
             DOC "Host C++17 compiler for the resource generator")
if(NOT ORLO_HOST_CXX)
  message(FATAL_ERROR "No host C++ compiler (c++, g++ or clang++) on PATH for tools/resgen; "
                      "set ORLO_HOST_CXX")
endif()

set(ORLO_RESGEN_HOST ${CMAKE_BINARY_DIR}/tools/orlo-resgen-host)
set(_orlo_resgen_stale FALSE)
if(NOT EXISTS ${ORLO_RESGEN_HOST})
  set(_orlo_resgen_stale TRUE)
endif()
foreach(_source IN LISTS _orlo_resgen_sources _orlo_resgen_headers CMAKE_CURRENT_LIST_FILE)
  if(${_source} IS_NEWER_THAN ${ORLO_RESGEN_HOST})
    set(_orlo_resgen_stale TRUE)
  endif()
endforeach()

if(_orlo_resgen_stale)
  message(STATUS "Building the resource generator with ${ORLO_HOST_CXX}")
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  execute_process(
    COMMAND ${ORLO_HOST_CXX} -std=c++17 -O1 ${_orlo_resgen_sources} -o ${ORLO_RESGEN_HOST}
    RESULT_VARIABLE _orlo_result
    OUTPUT_VARIABLE _orlo_output
    ERROR_VARIABLE _orlo_output)
  if(NOT _orlo_result EQUAL 0)
    file(REMOVE ${ORLO_RESGEN_HOST})
    message(FATAL_ERROR "Building tools/resgen with ${ORLO_HOST_CXX} failed:\n${_orlo_output}")
  endif()
endif()

set(_orlo_resources_missing FALSE)
foreach(_file IN LISTS ORLO_RESOURCE_FILES ORLO_RESOURCE_RC ORLO_SETUP_RESOURCE_FILES
               ORLO_SETUP_RESOURCE_RC)
  if(NOT EXISTS ${_file})
    set(_orlo_resources_missing TRUE)
  endif()
endforeach()
if(_orlo_resgen_stale OR _orlo_resources_missing OR NOT EXISTS ${ORLO_RESOURCE_DIR}/warning.wav)
  execute_process(
    COMMAND ${ORLO_RESGEN_HOST} ${ORLO_RESOURCE_DIR}
    RESULT_VARIABLE _orlo_result
    ERROR_VARIABLE _orlo_output)
  if(NOT _orlo_result EQUAL 0)
    message(FATAL_ERROR "orlo-resgen failed:\n${_orlo_output}")
  endif()
endif()
configure_file(${ORLO_RESOURCE_DIR}/warning.wav ${ORLO_WARNING_WAV} COPYONLY)

# Adds the resources to target; call it in the folder that defines target.
function(orlo_add_resources target)
  set_source_files_properties(${ORLO_RESOURCE_RC} PROPERTIES OBJECT_DEPENDS "${ORLO_RESOURCE_FILES}")
  target_sources(${target} PRIVATE ${ORLO_RESOURCE_RC})
  target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${ORLO_RESOURCE_DIR}>)
endfunction()

# Adds SETUP.EXE's resources to target, as orlo_add_resources does for ORLO.EXE.
function(orlo_add_setup_resources target)
  set_source_files_properties(${ORLO_SETUP_RESOURCE_RC} PROPERTIES OBJECT_DEPENDS
                              "${ORLO_SETUP_RESOURCE_FILES}")
  target_sources(${target} PRIVATE ${ORLO_SETUP_RESOURCE_RC})
  target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${ORLO_RESOURCE_DIR}>)
endfunction()
