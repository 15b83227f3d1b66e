#include "windows/com/AutoDocumentProperty.h"

#include "windows/com/VariantConversion.h"

namespace sendnote::com {

std::u16string AutoDocumentProperty::Name() { return TextOf(dispatch().Get(u"Name")); }

int32_t AutoDocumentProperty::Type() { return Int32Of(dispatch().Get(u"Type")); }

void AutoDocumentProperty::SetType(int32_t type) {
  dispatch().Put(u"Type", ScopedVariant::Int32(type));
}

platform::Variant AutoDocumentProperty::Value() {
  return FromComVariant(dispatch().Get(u"Value").Get());
}

void AutoDocumentProperty::SetValue(const platform::Variant& value) {
  dispatch().Put(u"Value", ToComVariant(value));
}

platform::Flag AutoDocumentProperty::LinkToContent() {
  return FlagOf(dispatch().Get(u"LinkToContent"));
}

void AutoDocumentProperty::Delete() { dispatch().Call(u"Delete"); }

}  // namespace sendnote::com
