#include "windows/com/AutomationObject.h"

#include "windows/com/ScopedBstr.h"

namespace sendnote::com {

std::u16string TypeInfoNameOf(IDispatch* object) {
  UINT count = 0;
  ComPtr<ITypeInfo> info;
  ScopedBstr name;
  if (!object || FAILED(object->GetTypeInfoCount(&count)) || count == 0 ||
      FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Receive())) || !info ||
      FAILED(info->GetDocumentation(MEMBERID_NIL, name.Receive(), nullptr, nullptr, nullptr)) ||
      name.Text().empty()) {
    return u"Object";
  }
  return name.Text();
}

AutoObject::AutoObject(ComPtr<IDispatch> object)
    : AutomationObject(object, TypeInfoNameOf(object.Get())) {}

std::shared_ptr<platform::Object> AutoObject::Application() {
  return Wrap<AutoObject>(ObjectOf(u"Application"));
}

}  // namespace sendnote::com
