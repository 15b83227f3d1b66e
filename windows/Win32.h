// <windows.h> for the library's sources. Its GetObject macro (GetObjectW) would rename
// the runtime contract's GetObject member in the sources that see both.
#pragma once

#include <windows.h>

#undef GetObject
// winspool's macro would rename the Word contract's DocumentProperties in these files.
#undef DocumentProperties
