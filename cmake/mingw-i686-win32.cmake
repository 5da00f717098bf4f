# Cross toolchain for the programs that ship on the setup medium.  The win32
# thread model keeps libstdc++ on Win32 critical sections; the posix model
# would drag in winpthread and with it imports that Windows 95 lacks
# (GetTickCount64, TryEnterCriticalSection, IsDebuggerPresent, ...).
# GoogleTest needs the posix model, so no tests are built with this one.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CORVANE_DIST ON)
