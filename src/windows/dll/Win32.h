// <windows.h> for the library's sources. Its GetObject macro (GetObjectW) would rename
// the runtime contract's GetObject member in the sources that see both.
#pragma once

#include "windows/com/Win32.h"

#undef GetObject
