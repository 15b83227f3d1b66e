// <windows.h> for the simulator's sources, without the macros that rename names of the
// object-model contracts (com/Win32.h says why).
#pragma once

#include "windows/com/Win32.h"

#include <ocidl.h>

#undef GetObject
