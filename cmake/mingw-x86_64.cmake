# Cross build of the same sources for 64-bit Windows with mingw-w64 (x86_64): the 64-bit stand-in
# driver, and the test vehicle on machines that run no 32-bit code.
#   cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORLO_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
