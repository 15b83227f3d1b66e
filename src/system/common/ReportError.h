// The one error report: which procedure failed, with the error's number and description.
#pragma once

#include <string>
#include <string_view>

#include "platform/ComError.h"

namespace sendnote {

// The title of every message box and dialog, and the head of the error report.
inline constexpr char16_t kAppTitle[] = u"添書票COMアドイン";
inline std::u16string AppTitle() { return kAppTitle; }

// Returns the report text for a failure of `procedure`.
std::u16string ErrorReportText(std::u16string_view procedure, int32_t number,
                               std::u16string_view description);

// Shows the report in a modal box (OK, stop icon) titled AppTitle; shows nothing for
// error number 0, nor for a second report within a watched unit of work (ReportWatch). Changes no
// state beyond telling a ReportWatch; a failure of the box itself passes to the caller.
void ReportError(std::u16string_view procedure, const platform::ComError& error);

// ReportError for the host's entry points (events and the button's Click): a report
// that itself fails, in whatever way, is dropped there, since nothing above the host event
// could handle it.
void ReportErrorToHost(std::u16string_view procedure, const platform::ComError& error) noexcept;

}  // namespace sendnote
