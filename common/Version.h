/* The program's version, shared by the version box and the version resource (which is
   why this header is plain C preprocessor only). */
#pragma once

#define SENDNOTE_VERSION_MAJOR 1
#define SENDNOTE_VERSION_MINOR 12
#define SENDNOTE_VERSION_BUILD 0
#define SENDNOTE_VERSION_REVISION 525
/* The string form of the version resource. */
#define SENDNOTE_VERSION_STRING "1.12.0525"
