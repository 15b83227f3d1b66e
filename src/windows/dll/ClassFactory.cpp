#include "windows/dll/ClassFactory.h"

#include "windows/dll/AddInObject.h"
#include "windows/dll/Module.h"

namespace sendnote::windows {

AddInClass::AddInClass() { Module::ObjectCreated(); }
AddInClass::~AddInClass() { Module::ObjectDestroyed(); }

com::ComPtr<IUnknown> AddInClass::Create() {
  // Born with the one reference handed over here.
  return com::ComPtr<IUnknown>::Adopt((new AddInObject)->Identity());
}

void AddInClass::Lock(bool lock) { Module::Lock(lock); }

}  // namespace sendnote::windows
