// The one Windows header of the Windows edition: a lean <windows.h> and the COM and OLE
// automation headers, without the macros that would rename names of the contracts.
//
// WIN32_LEAN_AND_MEAN leaves out the headers of less used APIs (Microsoft's "Using the
// Windows Headers", https://learn.microsoft.com/windows/win32/winprog/using-the-windows-headers),
// winspool.h among them, whose DocumentProperties macro would rename Word's contract class
// in the files that see both. It leaves out <ole2.h> as well, which is read below.
//
// wingdi.h is read even by a lean <windows.h>, and its GetObject macro would rename the
// runtime contract's GetObject; NOGDI leaves GDI out, as nothing here draws. A file that
// draws reads GDI itself, before this header, and says there what it does about GetObject.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOGDI
#define NOGDI
#endif

#include <windows.h>

#include <ocidl.h>
#include <ole2.h>
#include <oleauto.h>

// A <windows.h> read without this header first brings the macros back.
#if defined(DocumentProperties) || defined(GetObject)
#error "<windows.h> was read before windows/com/Win32.h, or GDI without dropping GetObject"
#endif
