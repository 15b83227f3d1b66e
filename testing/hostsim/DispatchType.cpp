#include "hostsim/DispatchType.h"

#include "platform/AsciiCase.h"

namespace sendnote::hostsim {

DispatchType::DispatchType(std::u16string name, std::u16string application)
    : name_(std::move(name)), application_(std::move(application)) {
  Add({u"Application",
       [](platform::Object& self, Invocation& call) { call.ReturnObject(self.Application()); },
       nullptr});
}

DispatchType& DispatchType::Add(Member member) {
  members_.push_back(std::move(member));
  return *this;
}

DispatchType& DispatchType::Default(std::u16string_view name) {
  const DISPID id = IdOf(name);
  if (id > 0) defaultIndex_ = static_cast<int>(id - 1);
  return *this;
}

DISPID DispatchType::IdOf(std::u16string_view name) const {
  for (size_t i = 0; i < members_.size(); ++i) {
    if (platform::EqualsIgnoringAsciiCase(members_[i].name, name)) {
      return members_[i].name == u"_NewEnum" ? DISPID_NEWENUM : static_cast<DISPID>(i + 1);
    }
  }
  return DISPID_UNKNOWN;
}

const DispatchType::Member* DispatchType::Find(DISPID id) const {
  if (id == DISPID_VALUE) return defaultIndex_ >= 0 ? &members_[defaultIndex_] : nullptr;
  if (id == DISPID_NEWENUM) {
    for (const Member& member : members_) {
      if (member.name == u"_NewEnum") return &member;
    }
    return nullptr;
  }
  if (id < 1 || static_cast<size_t>(id) > members_.size()) return nullptr;
  return &members_[static_cast<size_t>(id) - 1];
}

}  // namespace sendnote::hostsim
