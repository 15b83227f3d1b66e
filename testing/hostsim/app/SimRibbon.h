// The simulated Office's side of the ribbon: the markup an add-in returns for a ribbon id,
// checked as Office reads it (well-formed, the customUI namespace the generation knows,
// built-in ids that exist, every callback found by name on the add-in), and the buttons
// it puts into the window.
#pragma once

#include "windows/com/Win32.h"

#include <string>
#include <vector>

namespace sendnote::windows::test {

struct RibbonButton {
  std::wstring id;
  std::wstring label;
  std::wstring onAction;
  std::wstring getImage;
};

// Reads the markup for `ribbonId` with MSXML and checks it against `addIn`'s dispatch
// interface; every fault is a failed check. Returns the buttons it adds (empty markup adds
// none). `namespaceUri` is the customUI namespace the generation expects.
std::vector<RibbonButton> ReadRibbonMarkup(const std::wstring& ribbonId, const std::wstring& markup,
                                           const std::wstring& namespaceUri, IDispatch* addIn);

}  // namespace sendnote::windows::test
