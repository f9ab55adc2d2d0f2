# Cross build of the 32-bit Windows programs with mingw-w64 (i686).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ORLO_MINGW_PREFIX i686-w64-mingw32)
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
