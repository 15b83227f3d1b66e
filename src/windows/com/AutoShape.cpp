#include "windows/com/AutoShape.h"

#include "windows/com/AutoTextFrame.h"

namespace sendnote::com {

std::shared_ptr<platform::TextFrame> AutoShape::TextFrame() {
  return Wrap<AutoTextFrame>(ObjectOf(u"TextFrame"));
}

}  // namespace sendnote::com
