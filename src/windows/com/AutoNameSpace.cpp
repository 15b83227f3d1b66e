#include "windows/com/AutoNameSpace.h"

#include "windows/com/AutoMAPIFolder.h"

namespace sendnote::com {

std::shared_ptr<platform::MAPIFolder> AutoNameSpace::GetDefaultFolder(int32_t folderKind) {
  return Wrap<AutoMAPIFolder>(ObjectOf(u"GetDefaultFolder", {ScopedVariant::Int32(folderKind)}));
}

}  // namespace sendnote::com
