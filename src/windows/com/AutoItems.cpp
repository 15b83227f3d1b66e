#include "windows/com/AutoItems.h"

#include "windows/com/AutoOutlookItem.h"

namespace sendnote::com {

std::shared_ptr<platform::OutlookItem> AutoItems::GetFirst() {
  return WrapItem(ObjectOf(u"GetFirst"));
}

std::shared_ptr<platform::OutlookItem> AutoItems::Add() { return WrapItem(ObjectOf(u"Add")); }

}  // namespace sendnote::com
