// Base of the automation objects: a platform contract served by an IDispatch object of the
// host, its members reached by name.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "com/Dispatch.h"
#include "platform/ComError.h"
#include "platform/Object.h"

namespace sendnote::com {

// Outlook's application object for Application() of every Outlook object.
std::shared_ptr<platform::Object> WrapOutlookApplication(ComPtr<IDispatch> object);

template <class Contract>
class AutomationObject : public Contract {
 public:
  AutomationObject(ComPtr<IDispatch> object, std::u16string typeName)
      : dispatch_(std::move(object)), type_name_(std::move(typeName)) {}

  std::u16string TypeName() const override { return type_name_; }
  std::shared_ptr<platform::Object> Application() override {
    return WrapOutlookApplication(ObjectOf(u"Application"));
  }

  const Dispatch& dispatch() const { return dispatch_; }

 protected:
  // The object a member returns; an empty pointer for Nothing.
  ComPtr<IDispatch> ObjectOf(std::u16string_view member,
                             std::initializer_list<ScopedVariant> args = {}) const {
    return Dispatch::ObjectOf(dispatch_.Get(member, args), member);
  }

 private:
  Dispatch dispatch_;
  std::u16string type_name_;
};

// Wraps a host object as the automation class T; Nothing stays an empty reference.
template <class T>
std::shared_ptr<T> Wrap(ComPtr<IDispatch> object) {
  if (!object) return nullptr;
  return std::make_shared<T>(std::move(object));
}

// Members the Windows edition does not reach yet raise Not supported (438) with a
// description naming them, instead of doing nothing.
[[noreturn]] void RaiseNotYetAutomated(std::u16string_view member);

}  // namespace sendnote::com
