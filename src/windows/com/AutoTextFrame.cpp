#include "windows/com/AutoTextFrame.h"

#include "windows/com/AutoRange.h"

namespace sendnote::com {

std::shared_ptr<platform::Range> AutoTextFrame::TextRange() {
  return Wrap<AutoRange>(ObjectOf(u"TextRange"));
}

}  // namespace sendnote::com
