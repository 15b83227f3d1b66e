#include "windows/dll/RegistryKey.h"

#include <utility>

#include "windows/com/HResultError.h"
#include "windows/com/WideText.h"

namespace sendnote::windows {
namespace {

void CheckStatus(LSTATUS status, std::u16string_view action, const std::wstring& path) {
  if (status == ERROR_SUCCESS) return;
  std::u16string member(action);
  member += u" ";
  member += com::FromWide(path);
  com::Check(HRESULT_FROM_WIN32(static_cast<DWORD>(status)), member);
}

}  // namespace

RegistryKey RegistryKey::Create(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  const LSTATUS status =
      ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, &key, nullptr);
  CheckStatus(status, u"RegCreateKeyEx", path);
  return RegistryKey(key, path);
}

void RegistryKey::DeleteTree(HKEY root, const std::wstring& path) {
  const LSTATUS status = ::RegDeleteTreeW(root, path.c_str());
  if (status == ERROR_FILE_NOT_FOUND) return;
  if (status == ERROR_SUCCESS) {
    // RegDeleteTree empties the key; the key itself still has to go.
    const LSTATUS removed = ::RegDeleteKeyW(root, path.c_str());
    if (removed == ERROR_FILE_NOT_FOUND) return;
    CheckStatus(removed, u"RegDeleteKey", path);
    return;
  }
  CheckStatus(status, u"RegDeleteTree", path);
}

std::optional<std::wstring> RegistryKey::ReadString(HKEY root, const std::wstring& path,
                                                    const std::wstring& name, REGSAM view) {
  HKEY key = nullptr;
  LSTATUS status = ::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key);
  if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
  CheckStatus(status, u"RegOpenKeyEx", path);
  const wchar_t* value = name.empty() ? nullptr : name.c_str();
  DWORD bytes = 0;
  status = ::RegGetValueW(key, nullptr, value, RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
  std::wstring text;
  if (status == ERROR_SUCCESS) {
    text.resize(bytes / sizeof(wchar_t));
    status = ::RegGetValueW(key, nullptr, value, RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
    text.resize(status == ERROR_SUCCESS && bytes >= sizeof(wchar_t) ? bytes / sizeof(wchar_t) - 1
                                                                    : 0);
  }
  ::RegCloseKey(key);
  if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
  CheckStatus(status, u"RegGetValue", path);
  return text;
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : key_(std::exchange(other.key_, nullptr)), path_(std::move(other.path_)) {}

RegistryKey::~RegistryKey() {
  if (key_) ::RegCloseKey(key_);
}

void RegistryKey::SetString(const std::wstring& name, const std::wstring& value) {
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  Check(::RegSetValueExW(key_, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(value.c_str()), bytes),
        u"RegSetValueEx");
}

void RegistryKey::SetDword(const std::wstring& name, DWORD value) {
  Check(::RegSetValueExW(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                         sizeof value),
        u"RegSetValueEx");
}

void RegistryKey::Check(LSTATUS status, std::u16string_view action) const {
  CheckStatus(status, action, path_);
}

}  // namespace sendnote::windows
