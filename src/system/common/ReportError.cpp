#include "system/common/ReportError.h"

#include "platform/Runtime.h"
#include "platform/Utf.h"
#include "system/common/ReportWatch.h"

namespace sendnote {

std::u16string ErrorReportText(std::u16string_view procedure, int32_t number,
                               std::u16string_view description) {
  std::u16string text = kAppTitle;
  text += u"内部(";
  text += procedure;
  text += u")で予期しないエラーが発生しました。\r";
  text += u"エラー番号 : ";
  text += platform::FromUtf8(std::to_string(number));
  text += u"\rエラー内容 : ";
  text += description;
  return text;
}

void ReportError(std::u16string_view procedure, const platform::ComError& error) {
  if (error.Number() == 0) return;
  const std::u16string text = ErrorReportText(procedure, error.Number(), error.Description());
  // A watched unit of work (a click) shows one report: a failure its tidy-up meets again
  // (Outlook's window failing in every procedure on the way out) is not shown twice.
  if (!ReportWatch::Note(text)) return;
  platform::CurrentRuntime().Ui().MsgBox(text, platform::kVbCritical, kAppTitle);
}

void ReportErrorToHost(std::u16string_view procedure, const platform::ComError& error) noexcept {
  try {
    ReportError(procedure, error);
  } catch (...) {
  }
}

}  // namespace sendnote
