# Cross build of the Windows add-in library with Debian's MinGW-w64 (x86_64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SENDNOTE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
