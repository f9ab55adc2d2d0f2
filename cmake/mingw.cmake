# What both mingw-w64 toolchain files share; each sets CMAKE_SYSTEM_PROCESSOR and
# ORLO_MINGW_PREFIX first, then includes this file.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ORLO_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${ORLO_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${ORLO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORLO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link libgcc, libstdc++ and winpthread statically: the programs need only Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
