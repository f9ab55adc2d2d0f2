# The distribution folder of the Windows build, <build>/dist: SETUP.EXE and everything it installs,
# as it expects them beside it: ORLO.EXE, skelvarind.dll, warning.wav, the files of data/ (ORLO.INI,
# the board INIs and any file they name), ZarvoORLO.SYS and ZarvoORLO64.SYS; every binary in it
# stripped. Included by the top-level CMakeLists once all the targets it gathers exist.
set(ORLO_DIST_DIR ${CMAKE_BINARY_DIR}/dist)

# ZarvoORLO64.SYS is the driver the installer takes on 64-bit Windows, built for x86_64. The
# 64-bit build has it as its own driver; the 32-bit build makes it from the driver's folder with
# the x86_64 toolchain, as a project of its own.
# The 32-bit build strips its folder with the x86_64 binutils, which read both kinds of file.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORLO_DRIVER64 $<TARGET_FILE:ZarvoORLO_sys>)
  set(ORLO_DRIVER64_TARGET ZarvoORLO_sys)
  set(ORLO_DIST_STRIP ${CMAKE_STRIP})
else()
  find_program(ORLO_DIST_STRIP x86_64-w64-mingw32-strip REQUIRED)
  include(ExternalProject)
  set(ORLO_DRIVER64_DIR ${CMAKE_BINARY_DIR}/driver64)
  set(ORLO_DRIVER64 ${ORLO_DRIVER64_DIR}/ZarvoORLO.SYS)
  set(ORLO_DRIVER64_TARGET ZarvoORLO64_sys)
  ExternalProject_Add(ZarvoORLO64_sys
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/src/board/driver
    BINARY_DIR ${ORLO_DRIVER64_DIR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-x86_64.cmake
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${ORLO_DRIVER64})
endif()
file(GLOB ORLO_DIST_DATA CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
add_custom_target(dist ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORLO_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:ORLO> $<TARGET_FILE:SETUP>
          ${ORLO_DIST_DATA} $<TARGET_FILE:skelvarind> $<TARGET_FILE:ZarvoORLO_sys> ${ORLO_DIST_DIR}
  # The installer copies warning.wav to WARNING.WAV.
  COMMAND ${CMAKE_COMMAND} -E remove -f ${ORLO_DIST_DIR}/WARNING.WAV
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ORLO_WARNING_WAV} ${ORLO_DIST_DIR}/warning.wav
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ORLO_DRIVER64} ${ORLO_DIST_DIR}/ZarvoORLO64.SYS
  COMMENT "Distribution folder ${ORLO_DIST_DIR}"
  VERBATIM)
add_dependencies(dist ORLO SETUP skelvarind ZarvoORLO_sys ${ORLO_DRIVER64_TARGET})

# Everything the dist rule copies ships stripped: one step after it, for every binary in the folder.
add_custom_target(dist_stripped ALL
  COMMAND ${CMAKE_COMMAND} -DDIST_DIR=${ORLO_DIST_DIR} -DSTRIP=${ORLO_DIST_STRIP}
          -P ${CMAKE_SOURCE_DIR}/cmake/strip-dist.cmake
  COMMENT "Stripping the binaries of ${ORLO_DIST_DIR}"
  VERBATIM)
add_dependencies(dist_stripped dist)

# The shipped 32-bit programs import nothing that Windows 95 (with the C runtime) and NT 4.0 lack.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_custom_target(dist_imports ALL
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP}
            -DLIST=${CMAKE_SOURCE_DIR}/cmake/oldest-windows-lacks.txt
            "-DFILES=${ORLO_DIST_DIR}/ORLO.EXE$<SEMICOLON>${ORLO_DIST_DIR}/SETUP.EXE"
            -P ${CMAKE_SOURCE_DIR}/cmake/check-imports.cmake
    COMMENT "Checking the imports of ORLO.EXE and SETUP.EXE"
    VERBATIM)
  add_dependencies(dist_imports dist_stripped)
endif()
