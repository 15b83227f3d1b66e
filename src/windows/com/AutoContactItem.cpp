#include "windows/com/AutoContactItem.h"

#include "windows/com/AutoItemWindow.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoContactItem::Class() { return Int32Of(dispatch().Get(u"Class")); }

std::u16string AutoContactItem::Get(platform::ContactField field) {
  return TextOf(dispatch().Get(platform::ContactFieldName(field)));
}

void AutoContactItem::Set(platform::ContactField field, std::u16string_view value) {
  dispatch().Put(platform::ContactFieldName(field), ScopedVariant::String(value));
}

platform::MailingAddress AutoContactItem::SelectedMailingAddress() {
  // Outlook's value is passed on as read, even beyond its numbering: callers check it.
  return static_cast<platform::MailingAddress>(Int32Of(dispatch().Get(u"SelectedMailingAddress")));
}

void AutoContactItem::SetSelectedMailingAddress(platform::MailingAddress kind) {
  const auto value = static_cast<int32_t>(kind);
  if (!platform::IsMailingAddress(value)) platform::Raise(platform::kErrInvalidCall);
  dispatch().Put(u"SelectedMailingAddress", ScopedVariant::Int32(value));
}

std::shared_ptr<platform::Inspector> AutoContactItem::GetInspector() {
  return Wrap<AutoInspector>(ObjectOf(u"GetInspector"));
}

void AutoContactItem::Close(int32_t saveMode) {
  dispatch().Call(u"Close", {ScopedVariant::Int32(saveMode)});
}

}  // namespace sendnote::com
