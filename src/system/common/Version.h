/* The program's version, shared by the version box and the version resource. The numbers
   come from the project's VERSION in CMakeLists.txt, through a header generated at
   configure time (plain C preprocessor only). */
#pragma once

#include "SendnoteVersion.h"
