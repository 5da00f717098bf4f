# Cross toolchain for the programs that ship on the setup medium, stripped.
# They link no C or C++ library (runtime/), so the thread model does not reach
# them; the win32 one keeps winpthread, and its imports that Windows 95 lacks,
# out of anything that might.  GoogleTest needs the posix model, so no tests
# are built with this one.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CORVANE_DIST ON)
