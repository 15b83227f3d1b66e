// A contact inspector borrowed for installing or removing the button while no window of
// Outlook is open on an item, with a placeholder contact when the Contacts folder is empty.
#pragma once

#include <functional>
#include <memory>

#include "platform/CommandBars.h"
#include "platform/Outlook.h"

namespace sendnote {

// What is done with the borrowed inspector's command bars.
using ButtonOperation = std::function<void(const std::shared_ptr<platform::CommandBars>&)>;

// The placeholder's e-mail address, on a domain reserved for examples.
inline constexpr char16_t kPlaceholderEmail[] = u"kashima.hanako@example.com";

// Opens (without showing) the inspector of the folder's first item, runs `operation` on its
// command bars and closes it discarding changes. An empty folder first gets a placeholder
// contact, which is saved and stays. Failures pass to the caller.
void BorrowContactInspector(const std::shared_ptr<platform::MAPIFolder>& contactsFolder,
                            const ButtonOperation& operation);

}  // namespace sendnote
