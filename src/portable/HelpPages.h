// Where the command's help pages lie, relative to the program itself.
#pragma once

#include <filesystem>

namespace sendnote::portable {

// The help folder of the program in `programFolder`: "help" beside it (the build tree),
// else "../share/sendnote/help" (installed under a prefix, the program in bin/). The
// first that holds index.html wins; with neither, the folder beside the program.
std::filesystem::path HelpFolder(const std::filesystem::path& programFolder);

}  // namespace sendnote::portable
