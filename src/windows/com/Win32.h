// <windows.h> for the automation library and its users. winspool's DocumentProperties macro
// would rename the Word contract class in every file that includes <windows.h> before the
// contract, and only there (a class of two names across the libraries): it goes.
#pragma once

#include <windows.h>

#undef DocumentProperties
