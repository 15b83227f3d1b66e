# Cross build of the Windows add-in library with Debian's MinGW-w64 (i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SENDNOTE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
