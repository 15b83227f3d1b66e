// The build's version in the forms the tests expect, from the header CMake generates out
// of project(VERSION): a version bump needs no test edit.
#pragma once

#include <string>

#include "system/common/Version.h"

namespace sendnote::test_support {

// All four numbers, as --version and the uninstall entry write them: "1.12.0.525".
inline std::string FullVersion() {
  return std::to_string(SENDNOTE_VERSION_MAJOR) + "." + std::to_string(SENDNOTE_VERSION_MINOR) +
         "." + std::to_string(SENDNOTE_VERSION_BUILD) + "." +
         std::to_string(SENDNOTE_VERSION_REVISION);
}

// The version box's line: major, minor and revision, without the build number and without
// leading zeros: "バージョン 1.12.525".
inline std::u16string VersionBoxLine() {
  const std::string numbers = std::to_string(SENDNOTE_VERSION_MAJOR) + "." +
                              std::to_string(SENDNOTE_VERSION_MINOR) + "." +
                              std::to_string(SENDNOTE_VERSION_REVISION);
  return u"バージョン " + std::u16string(numbers.begin(), numbers.end());
}

}  // namespace sendnote::test_support
