// An open registry key, closed on destruction. Failures raise the one platform error
// with the Win32 status as its HRESULT.
#pragma once

#include "windows/com/Win32.h"

#include <optional>
#include <string>
#include <string_view>

namespace sendnote::windows {

class RegistryKey {
 public:
  // Creates (or opens) `path` below `root` for writing.
  static RegistryKey Create(HKEY root, const std::wstring& path);
  // Removes `path` below `root` with all its subkeys and values; a missing key is fine.
  static void DeleteTree(HKEY root, const std::wstring& path);
  // The string value `name` (empty: the default value) of `path` below `root`, read in the
  // registry view `view` (0: the process's own, KEY_WOW64_32KEY or KEY_WOW64_64KEY); empty
  // when the key or the value is missing.
  static std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path,
                                                const std::wstring& name, REGSAM view);

  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  RegistryKey(RegistryKey&& other) noexcept;
  RegistryKey& operator=(RegistryKey&&) = delete;
  ~RegistryKey();

  // An empty name writes the key's default value.
  void SetString(const std::wstring& name, const std::wstring& value);
  void SetDword(const std::wstring& name, DWORD value);

 private:
  RegistryKey(HKEY key, std::wstring path) : key_(key), path_(std::move(path)) {}
  void Check(LSTATUS status, std::u16string_view action) const;

  HKEY key_;
  std::wstring path_;
};

}  // namespace sendnote::windows
