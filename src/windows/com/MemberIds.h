// The DISPIDs of one object's members, each resolved once. A member the type information
// of an in-process object declares is shared by every object of that interface (keyed by
// its IID, so objects of other interfaces or servers never share it); members only the
// object resolves (Word's dialog settings, objects without type information, proxies to
// another process) stay with it.
#pragma once

#include "windows/com/Win32.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "windows/com/ComPtr.h"

namespace sendnote::com {

class MemberIds {
 public:
  // The DISPID of `name` on `object`; raises Not supported (438) for an unknown member.
  DISPID Of(IDispatch* object, std::u16string_view name);

 private:
  enum class TypeState { kNotRead, kNone, kKnown };

  void ReadType(IDispatch* object);

  TypeState state_ = TypeState::kNotRead;
  IID type_{};
  ComPtr<ITypeInfo> info_;
  std::vector<std::pair<std::u16string, DISPID>> own_;
};

}  // namespace sendnote::com
