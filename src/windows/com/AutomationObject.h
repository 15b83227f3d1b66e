// Base of the automation objects: a platform contract served by an IDispatch object of the
// host, its members reached by name; and the plain automation object of a class the system
// has no contract for.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/ComError.h"
#include "platform/Object.h"
#include "windows/com/Dispatch.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

// Outlook's application object for Application() of every Outlook object.
std::shared_ptr<platform::Object> WrapOutlookApplication(ComPtr<IDispatch> object);
// Word's application object for Application() of every Word object.
std::shared_ptr<platform::Object> WrapWordApplication(ComPtr<IDispatch> object);

// The application whose object model an automation object belongs to: it decides what
// Application() gives.
enum class Host { kOutlook, kWord };

template <class Contract, Host kHost = Host::kOutlook>
class AutomationObject : public Contract {
 public:
  AutomationObject(ComPtr<IDispatch> object, std::u16string typeName)
      : dispatch_(std::move(object)), type_name_(std::move(typeName)) {}

  std::u16string TypeName() const override { return type_name_; }
  std::shared_ptr<platform::Object> Application() override {
    ComPtr<IDispatch> application = ObjectOf(u"Application");
    if constexpr (kHost == Host::kWord) {
      return WrapWordApplication(std::move(application));
    } else {
      return WrapOutlookApplication(std::move(application));
    }
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

// A collection of the host: Count, and Item(index) as the object kWrapItem makes of it.
template <class Contract, auto kWrapItem, Host kHost = Host::kOutlook>
class AutoCollection : public AutomationObject<Contract, kHost> {
 public:
  using AutomationObject<Contract, kHost>::AutomationObject;

  int32_t Count() override { return Int32Of(this->dispatch().Get(u"Count")); }
  decltype(std::declval<Contract&>().Item(int32_t{})) Item(int32_t index) override {
    return kWrapItem(this->ObjectOf(u"Item", {ScopedVariant::Int32(index)}));
  }
};

// An automation object of a class the system has no contract for (GetObject or
// CreateObject of another class): its type name from its type information, its
// Application read by name as another such object.
class AutoObject : public AutomationObject<platform::Object> {
 public:
  explicit AutoObject(ComPtr<IDispatch> object);

  std::shared_ptr<platform::Object> Application() override;
};

// The name of an object's interface from its type information; "Object" without one.
std::u16string TypeInfoNameOf(IDispatch* object);

}  // namespace sendnote::com
