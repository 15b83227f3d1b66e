// The members of one exposed type, found by name without type information: DISPIDs from
// 1 in the order added, the default member also under DISPID_VALUE and _NewEnum under
// DISPID_NEWENUM. Every type answers "Application" as the object models do.
#pragma once

#include "windows/com/Win32.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "hostsim/Invocation.h"
#include "platform/Object.h"

namespace sendnote::hostsim {

class DispatchType {
 public:
  using Handler = std::function<void(platform::Object& self, Invocation& call)>;

  struct Member {
    Member(std::u16string name_, Handler read_, Handler write_ = nullptr,
           bool forwardsArguments_ = false)
        : name(std::move(name_)),
          read(std::move(read_)),
          write(std::move(write_)),
          forwardsArguments(forwardsArguments_) {}

    std::u16string name;
    Handler read;   // property get or method call
    Handler write;  // property put or putref; empty for a read-only member
    // A property without parameters whose arguments, when given, go to the default
    // member of the object it returns (Dialogs(79) is Dialogs.Item(79)).
    bool forwardsArguments = false;
  };

  // `application` names the server in its errors ("Microsoft Word").
  DispatchType(std::u16string name, std::u16string application);

  const std::u16string& Name() const { return name_; }
  const std::u16string& ApplicationName() const { return application_; }

  DispatchType& Add(Member member);
  // Marks an added member as the default one.
  DispatchType& Default(std::u16string_view name);

  // The DISPID of a name (ASCII letters in any case), or DISPID_UNKNOWN.
  DISPID IdOf(std::u16string_view name) const;
  // The member of a DISPID, or null.
  const Member* Find(DISPID id) const;

 private:
  std::u16string name_;
  std::u16string application_;
  std::vector<Member> members_;
  int defaultIndex_ = -1;
};

// Typed handlers: the exposed object as the contract type T.
template <class T, class Body>
DispatchType::Handler On(Body body) {
  return [body](platform::Object& self, Invocation& call) { body(dynamic_cast<T&>(self), call); };
}

}  // namespace sendnote::hostsim
