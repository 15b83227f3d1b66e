#include "system/ui/frmAbout.h"

#include <string>

#include "system/common/ReportError.h"
#include "system/common/Version.h"

namespace sendnote {
namespace {

std::u16string Decimal(int value) {
  std::u16string out;
  for (char c : std::to_string(value)) out += static_cast<char16_t>(c);
  return out;
}

}  // namespace

frmAbout::frmAbout() {
  controls_.frameCaption = u"警告";
  controls_.disclaimer =
      u"このソフトウェアは現状のまま提供されます。使用によって生じたいかなる損害についても、"
      u"作者は責任を負いません。文書の内容は印刷前に必ず確認してください。";
  controls_.okCaption = u"OK";
}

void frmAbout::Form_Load() {
  const std::u16string version = Decimal(SENDNOTE_VERSION_MAJOR) + u"." +
                                 Decimal(SENDNOTE_VERSION_MINOR) + u"." +
                                 Decimal(SENDNOTE_VERSION_REVISION);
  controls_.caption = u"バージョン情報";
  controls_.version = u"バージョン " + version;
  controls_.titleCaption = AppTitle();
}

void frmAbout::cmdOK_Click() { Unload(); }

}  // namespace sendnote
