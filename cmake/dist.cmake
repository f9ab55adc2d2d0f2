# The distribution folder of the Windows build, <build>/dist: SETUP.EXE and everything it installs,
# as it expects them beside it: ORLO.EXE, skelvarind.dll, warning.wav, the files of data/ (ORLO.INI,
# the board INIs and any file they name), ZarvoORLO.SYS and ZarvoORLO64.SYS; every binary in it
# stripped. Included by the top-level CMakeLists once all the targets it gathers exist.
set(ORLO_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
file(GLOB ORLO_DIST_DATA CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
add_custom_target(dist ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORLO_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:ORLO> $<TARGET_FILE:SETUP>
          ${ORLO_DIST_DATA} $<TARGET_FILE:skelvarind> $<TARGET_FILE:ZarvoORLO_sys> ${ORLO_DIST_DIR}
  # The installer copies warning.wav to WARNING.WAV.
  COMMAND ${CMAKE_COMMAND} -E remove -f ${ORLO_DIST_DIR}/WARNING.WAV
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ORLO_WARNING_WAV} ${ORLO_DIST_DIR}/warning.wav
  # The 64-bit driver the installer takes on 64-bit Windows: the maker's; no 64-bit compiler
  # builds a stand-in here, so the 32-bit stand-in takes its name.
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:ZarvoORLO_sys>
          ${ORLO_DIST_DIR}/ZarvoORLO64.SYS
  COMMENT "Distribution folder ${ORLO_DIST_DIR}"
  VERBATIM)
add_dependencies(dist ORLO SETUP skelvarind ZarvoORLO_sys)

# Everything the dist rule copies ships stripped: one step after it, for every binary in the folder.
add_custom_target(dist_stripped ALL
  COMMAND ${CMAKE_COMMAND} -DDIST_DIR=${ORLO_DIST_DIR} -DSTRIP=${CMAKE_STRIP}
          -P ${CMAKE_SOURCE_DIR}/cmake/strip-dist.cmake
  COMMENT "Stripping the binaries of ${ORLO_DIST_DIR}"
  VERBATIM)
add_dependencies(dist_stripped dist)
