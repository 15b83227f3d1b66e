#include "portable/HelpPages.h"

namespace sendnote::portable {

std::filesystem::path HelpFolder(const std::filesystem::path& programFolder) {
  const std::filesystem::path beside = programFolder / "help";
  const std::filesystem::path installed =
      programFolder.parent_path() / "share" / "sendnote" / "help";
  for (const auto& folder : {beside, installed}) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(folder / "index.html", ec)) return folder;
  }
  return beside;
}

}  // namespace sendnote::portable
