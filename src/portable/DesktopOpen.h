// Opening a file with the desktop's viewer.
#pragma once

#include <string>

namespace sendnote::portable {

// Asks the desktop to open `path` (xdg-open) without waiting for the viewer; returns
// false when there is no desktop session or no opener.
bool OpenWithDesktop(const std::string& path);

}  // namespace sendnote::portable
