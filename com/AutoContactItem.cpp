#include "com/AutoContactItem.h"

#include "com/AutoInspector.h"
#include "com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoContactItem::Class() { return Int32Of(dispatch().Get(u"Class")); }

std::u16string AutoContactItem::Get(platform::ContactField field) {
  const ScopedVariant value = dispatch().Get(platform::ContactFieldName(field));
  // Basic's CStr refuses Null; a member Outlook never filled may hold it.
  if (value.Get().vt == VT_EMPTY || value.Get().vt == VT_NULL) return {};
  return TextOf(value);
}

void AutoContactItem::Set(platform::ContactField field, std::u16string_view value) {
  dispatch().Put(platform::ContactFieldName(field), ScopedVariant::String(value));
}

platform::MailingAddress AutoContactItem::SelectedMailingAddress() {
  return static_cast<platform::MailingAddress>(Int32Of(dispatch().Get(u"SelectedMailingAddress")));
}

void AutoContactItem::SetSelectedMailingAddress(platform::MailingAddress kind) {
  dispatch().Put(u"SelectedMailingAddress", ScopedVariant::Int32(static_cast<int32_t>(kind)));
}

std::shared_ptr<platform::Inspector> AutoContactItem::GetInspector() {
  return Wrap<AutoInspector>(ObjectOf(u"GetInspector"));
}

void AutoContactItem::Close(int32_t saveMode) {
  dispatch().Call(u"Close", {ScopedVariant::Int32(saveMode)});
}

}  // namespace sendnote::com
