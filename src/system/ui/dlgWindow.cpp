#include "system/ui/dlgWindow.h"

#include "system/common/ReportError.h"

namespace sendnote {

dlgWindow::dlgWindow(std::vector<std::u16string> names, int32_t active) : active_(active) {
  controls_.listLabel = u"出力する文書(&D) :";
  controls_.lstDocuments = std::move(names);
  controls_.okCaption = u"OK";
  controls_.cancelCaption = u"キャンセル";
}

void dlgWindow::Form_Load() {
  controls_.caption = AppTitle();
  const auto count = static_cast<int32_t>(controls_.lstDocuments.size());
  controls_.lstDocumentsListIndex = active_ >= 0 && active_ < count ? active_ : 0;
}

void dlgWindow::OKButton_Click() {
  const auto count = static_cast<int32_t>(controls_.lstDocuments.size());
  const int32_t index = controls_.lstDocumentsListIndex;
  // OK without a chosen entry does nothing, as the list always has one chosen.
  if (index < 0 || index >= count) return;
  chosen_ = index;
  Unload();
}

void dlgWindow::CancelButton_Click() {
  chosen_ = -1;
  Unload();
}

}  // namespace sendnote
