// The library's own state: its module handle, and the live objects and server locks that
// decide whether it may be unloaded.
#pragma once

#include "windows/com/Win32.h"

#include <string>

namespace sendnote::windows {

class Module {
 public:
  static void Attach(HINSTANCE instance);
  static HINSTANCE Instance();
  // The full path of sendnote.dll as it was loaded.
  static std::wstring Path();

  // Every COM object of the library counts from construction to destruction.
  static void ObjectCreated();
  static void ObjectDestroyed();
  static void Lock(bool lock);
  // No live object and no lock.
  static bool CanUnload();
};

}  // namespace sendnote::windows
