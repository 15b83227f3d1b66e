// The class factory of dsrOutlookToWord: the COM object kit's, making add-in objects and
// counting itself and the server locks among what keeps the library loaded.
#pragma once

#include "windows/com/Win32.h"

#include "windows/com/ComObject.h"
#include "windows/com/ComPtr.h"

namespace sendnote::windows {

class AddInClass {
 public:
  AddInClass();
  ~AddInClass();
  AddInClass(const AddInClass&) = delete;
  AddInClass& operator=(const AddInClass&) = delete;

  com::ComPtr<IUnknown> Create();
  void Lock(bool lock);
};

using ClassFactory = com::ClassFactory<AddInClass>;

}  // namespace sendnote::windows
