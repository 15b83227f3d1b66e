#include "windows/com/MemberIds.h"

#include <cstring>
#include <map>
#include <optional>

#include "platform/ComError.h"
#include "windows/com/BusyRetry.h"
#include "windows/com/HResultError.h"
#include "windows/com/WideText.h"

namespace sendnote::com {
namespace {

struct TypeMember {
  IID type;
  std::u16string name;
  bool operator<(const TypeMember& other) const {
    const int order = std::memcmp(&type, &other.type, sizeof(IID));
    return order != 0 ? order < 0 : name < other.name;
  }
};

// Per interface and name: the type's DISPID, or none when the type does not declare the
// name. Plain values only: no COM reference outlives the caller's objects. Guarded by a
// lock although automation calls come on the apartment's one thread.
std::map<TypeMember, std::optional<DISPID>>& SharedIds() {
  static std::map<TypeMember, std::optional<DISPID>> ids;
  return ids;
}
SRWLOCK g_lock = SRWLOCK_INIT;

class SharedLock {
 public:
  SharedLock() { ::AcquireSRWLockExclusive(&g_lock); }
  ~SharedLock() { ::ReleaseSRWLockExclusive(&g_lock); }
  SharedLock(const SharedLock&) = delete;
  SharedLock& operator=(const SharedLock&) = delete;
};

}  // namespace

void MemberIds::ReadType(IDispatch* object) {
  state_ = TypeState::kNone;
  // A proxy (Word runs in a process of its own) answers IClientSecurity without a round
  // trip. Its type information cannot map names across processes (ITypeInfo's
  // GetIDsOfNames is local only), so reading it would only cost calls.
  ComPtr<IClientSecurity> proxy;
  if (SUCCEEDED(
          object->QueryInterface(IID_IClientSecurity, reinterpret_cast<void**>(proxy.Receive()))) &&
      proxy) {
    return;
  }
  ComPtr<ITypeInfo> info;
  UINT count = 0;
  if (FAILED(object->GetTypeInfoCount(&count)) || count == 0) return;
  if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Receive())) || !info) return;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr)) || !attr) return;
  const IID type = attr->guid;
  const TYPEKIND kind = attr->typekind;
  info->ReleaseTypeAttr(attr);
  // A type without an identity of its own cannot be told apart from another one.
  if (type == GUID_NULL || type == IID_IDispatch || type == IID_IUnknown) return;
  if (kind != TKIND_DISPATCH && kind != TKIND_INTERFACE) return;
  type_ = type;
  info_ = std::move(info);
  state_ = TypeState::kKnown;
}

DISPID MemberIds::Of(IDispatch* object, std::u16string_view name) {
  if (!object) platform::Raise(platform::kErrObjectNotSet);
  for (const auto& [known, id] : own_) {
    if (known == name) return id;
  }
  if (state_ == TypeState::kNotRead) ReadType(object);
  std::wstring wide = ToWide(name);
  LPOLESTR names[] = {wide.data()};
  if (state_ == TypeState::kKnown) {
    const TypeMember key{type_, std::u16string(name)};
    std::optional<std::optional<DISPID>> shared;
    {
      SharedLock lock;
      if (auto it = SharedIds().find(key); it != SharedIds().end()) shared = it->second;
    }
    if (!shared) {
      MEMBERID id = MEMBERID_NIL;
      const bool declared = SUCCEEDED(info_->GetIDsOfNames(names, 1, &id));
      shared = declared ? std::optional<DISPID>(id) : std::nullopt;
      SharedLock lock;
      SharedIds().emplace(key, *shared);
    }
    if (*shared) return **shared;
  }
  DISPID id = DISPID_UNKNOWN;
  Check(RetryWhileBusy(
            [&] { return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); }),
        name);
  own_.emplace_back(name, id);
  return id;
}

}  // namespace sendnote::com
