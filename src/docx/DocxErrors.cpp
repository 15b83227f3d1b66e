#include "docx/DocxErrors.h"

#include <cstring>

#include "platform/ComError.h"
#include "platform/Utf.h"

namespace sendnote::docx {

void RaiseBadPackage(std::string_view reason) {
  platform::Raise(platform::kErrBadFileFormat,
                  u"The file is not a Word document package: " + platform::FromUtf8(reason));
}

void RaiseWithDetail(int32_t number, std::u16string_view text, std::string_view detail) {
  std::u16string description(text);
  if (!detail.empty()) description += u" (" + platform::FromUtf8(detail) + u")";
  platform::Raise(number, std::move(description));
}

void RaiseAccess(const std::filesystem::path& path, int error) {
  RaiseWithDetail(platform::kErrPathAccess, u"Path/File access error",
                  path.string() + ": " + std::strerror(error));
}

}  // namespace sendnote::docx
