#include "system/ui/modHtmlHelp.h"

#include "platform/Runtime.h"
#include "system/common/ReportError.h"
#include "system/common/modFunc.h"

namespace sendnote {

void OpenHelpFile() {
  auto& runtime = platform::CurrentRuntime();
  const std::u16string path = PathJoin(runtime.LibraryFolder(), kHelpFileName);
  if (runtime.Ui().ShowHelp(path) != 0) return;
  runtime.Ui().MsgBox(u"ヘルプが見つかりません。", platform::kVbExclamation, kAppTitle);
}

}  // namespace sendnote
