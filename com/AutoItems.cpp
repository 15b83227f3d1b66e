#include "com/AutoItems.h"

#include "com/AutoOutlookItem.h"

namespace sendnote::com {

std::shared_ptr<platform::OutlookItem> AutoItems::GetFirst() {
  return WrapItem(ObjectOf(u"GetFirst"));
}

// Add's optional item type is left out, so the folder's default kind is made.
std::shared_ptr<platform::OutlookItem> AutoItems::Add() { return WrapItem(ObjectOf(u"Add")); }

}  // namespace sendnote::com
