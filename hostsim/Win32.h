// <windows.h> for the simulator's sources, without the macros that rename names of the
// object-model contracts (winspool's DocumentProperties would rename the contract class in
// these files only, and dynamic_cast would then fail across libraries).
#pragma once

#include <ocidl.h>
#include <windows.h>

#undef DocumentProperties
#undef GetObject
