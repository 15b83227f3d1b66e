#include "windows/com/AutoDocument.h"

#include "windows/com/Win32.h"

#include "windows/com/AutoDocumentProperties.h"
#include "windows/com/AutoFields.h"
#include "windows/com/AutoShapes.h"
#include "windows/com/VariantConversion.h"
#include "windows/com/WideText.h"

namespace sendnote::com {
namespace {

// The absolute form of a path, for comparing two names of one file; empty when it has none.
std::wstring FullPath(std::u16string_view path) {
  const std::wstring wide = ToWide(path);
  const DWORD n = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return {};
  std::wstring full(n, L'\0');
  const DWORD written = ::GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (written == 0 || written >= n) return {};
  full.resize(written);
  return full;
}

bool SameFile(std::u16string_view a, std::u16string_view b) {
  const std::wstring fullA = FullPath(a);
  const std::wstring fullB = FullPath(b);
  return !fullA.empty() &&
         ::CompareStringOrdinal(fullA.c_str(), static_cast<int>(fullA.size()), fullB.c_str(),
                                static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::shared_ptr<platform::DocumentProperties> AutoDocument::CustomDocumentProperties() {
  return Wrap<AutoDocumentProperties>(ObjectOf(u"CustomDocumentProperties"));
}

void AutoDocument::Activate() { dispatch().Call(u"Activate"); }

std::shared_ptr<platform::Fields> AutoDocument::Fields() {
  return Wrap<AutoFields>(ObjectOf(u"Fields"));
}

std::shared_ptr<platform::Shapes> AutoDocument::Shapes() {
  return Wrap<AutoShapes>(ObjectOf(u"Shapes"));
}

// Only SaveChanges is passed: OriginalFormat and RouteDocument keep Word's defaults.
void AutoDocument::Close(int32_t saveChanges) {
  dispatch().Call(u"Close", {ScopedVariant::Int32(saveChanges)});
}

void AutoDocument::SaveAs(std::u16string_view fileName, bool replace) {
  if (fileName.empty()) platform::Raise(platform::kErrPathAccess);
  const Dispatch attached(ObjectOf(u"AttachedTemplate"));
  if (attached && SameFile(fileName, TextOf(attached.Get(u"FullName")))) {
    platform::Raise(platform::kErrPathAccess);
  }
  const std::wstring wide = ToWide(fileName);
  if (!replace && ::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) {
    platform::Raise(platform::kErrFileExists, u"File already exists");
  }
  dispatch().Call(u"SaveAs", {ScopedVariant::String(fileName)});
}

}  // namespace sendnote::com
