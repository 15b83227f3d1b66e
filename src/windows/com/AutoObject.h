// An automation object of a class the system has no contract for (GetObject or
// CreateObject of another class): its type name from its type information, its
// Application read by name as another such object.
#pragma once

#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoObject : public AutomationObject<platform::Object> {
 public:
  explicit AutoObject(ComPtr<IDispatch> object);

  std::shared_ptr<platform::Object> Application() override;
};

// The name of an object's interface from its type information; "Object" without one.
std::u16string TypeInfoNameOf(IDispatch* object);

}  // namespace sendnote::com
