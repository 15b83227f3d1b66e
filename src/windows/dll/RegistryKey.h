// An open registry key, closed on destruction. Failures raise the one platform error
// with the Win32 status as its HRESULT.
#pragma once

#include "windows/com/Win32.h"

#include <string>
#include <string_view>

namespace sendnote::windows {

class RegistryKey {
 public:
  // Creates (or opens) `path` below `root` for writing.
  static RegistryKey Create(HKEY root, const std::wstring& path);
  // Removes `path` below `root` with all its subkeys and values; a missing key is fine.
  static void DeleteTree(HKEY root, const std::wstring& path);

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
