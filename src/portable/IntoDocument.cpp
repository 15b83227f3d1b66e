#include "portable/IntoDocument.h"

#include <unistd.h>

#include <ostream>

#include "docx/DocxApplication.h"
#include "platform/ComError.h"
#include "platform/Utf.h"

namespace sendnote::portable {

namespace fs = std::filesystem;

namespace {

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// The folder a file is replaced in: the temporary file is made there.
fs::path FolderOf(const fs::path& file) {
  const fs::path folder = file.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

std::optional<fs::path> PlanIntoDocument(const CommandLine& cl, std::ostream& err) {
  const fs::path document(*cl.into);
  const fs::path output = cl.output ? fs::path(*cl.output) : document;
  const bool inPlace = WritesInPlace(cl, output);
  auto refuse = [&](std::string_view why) -> std::optional<fs::path> {
    err << "sendnote: cannot write into " << document.string() << ": " << why
        << "; it is left as it is\n";
    return std::nullopt;
  };
  std::error_code ec;
  if (!fs::is_regular_file(document, ec)) {
    return refuse(fs::exists(document, ec) ? "not a file" : "no such file");
  }
  // Renaming over a read-only file would succeed: its protection is honoured here, also
  // for a user (root) whom access() lets write anything.
  const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (inPlace && ((fs::status(document, ec).permissions() & writeBits) == fs::perms::none ||
                  ::access(document.c_str(), W_OK) != 0 ||
                  ::access(FolderOf(document).c_str(), W_OK | X_OK) != 0)) {
    return refuse("it is read-only (or its folder is)");
  }
  try {
    auto engine = docx::DocxApplication::Create();
    engine->Documents()->Open(platform::FromUtf8(fs::absolute(document, ec).string()));
    engine->Quit(0);
  } catch (const platform::ComError& e) {
    return refuse(platform::ToUtf8(e.Description()));
  }
  if (!inPlace && !cl.force && fs::exists(output, ec)) {
    err << "sendnote: " << output.string() << " exists; use --force to replace it\n";
    return std::nullopt;
  }
  return output;
}

bool WritesInPlace(const CommandLine& cl, const fs::path& output) {
  return cl.into && SameFile(output, fs::path(*cl.into));
}

std::u16string IntoFileName(const CommandLine& cl) {
  std::error_code ec;
  return platform::FromUtf8(fs::absolute(*cl.into, ec).string());
}

}  // namespace sendnote::portable
