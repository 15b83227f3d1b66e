#include "docx/DocxProperties.h"

#include <algorithm>

#include "platform/ComError.h"
#include "wordrules/PropertyRules.h"
#include "wordrules/WordValue.h"

namespace sendnote::docx {
DocxProperties::DocxProperties(std::shared_ptr<DocumentModel> model)
    : DocxObject(std::move(model)) {}

std::shared_ptr<platform::Object> DocxProperties::Application() { return Model().Application(); }

int32_t DocxProperties::Count() { return static_cast<int32_t>(Model().Properties().Count()); }

std::shared_ptr<platform::DocumentProperty> DocxProperties::Item(int32_t index) {
  CustomProperties& properties = Model().Properties();
  if (index < 1 || static_cast<size_t>(index) > properties.Count()) {
    platform::Raise(platform::kErrInvalidCall);
  }
  return std::make_shared<DocxProperty>(ModelRef(), properties.At(static_cast<size_t>(index) - 1));
}

std::shared_ptr<platform::DocumentProperty> DocxProperties::Item(std::u16string_view name) {
  auto entry = Model().Properties().Find(name);
  if (!entry) platform::Raise(platform::kErrInvalidCall);
  return std::make_shared<DocxProperty>(ModelRef(), std::move(entry));
}

std::shared_ptr<platform::DocumentProperty> DocxProperties::Add(std::u16string_view name,
                                                                platform::Flag linkToContent,
                                                                int32_t type,
                                                                const platform::Variant& value) {
  CustomProperties& properties = Model().Properties();
  wordrules::CheckNewProperty(name, linkToContent, type, properties.Find(name) != nullptr);
  const platform::Variant converted = wordrules::ConvertValueToStore(value, type);
  return std::make_shared<DocxProperty>(ModelRef(), properties.Add(name, type, converted));
}

DocxProperty::DocxProperty(std::shared_ptr<DocumentModel> model,
                           std::shared_ptr<CustomProperties::Entry> entry)
    : DocxObject(std::move(model)), entry_(std::move(entry)) {}

CustomProperties::Entry& DocxProperty::Live() const {
  Model();
  if (entry_->deleted) RaiseDeleted();
  return *entry_;
}

std::shared_ptr<platform::Object> DocxProperty::Application() {
  Live();
  return Model().Application();
}

std::u16string DocxProperty::Name() { return Live().name; }

int32_t DocxProperty::Type() { return Model().Properties().TypeOf(Live()); }

void DocxProperty::SetType(int32_t type) {
  CustomProperties::Entry& entry = Live();
  CustomProperties& properties = Model().Properties();
  if (!wordrules::IsPropertyType(type)) platform::Raise(platform::kErrInvalidCall);
  const platform::Variant converted =
      wordrules::ConvertToPropertyType(properties.ValueOf(entry), type);
  properties.Store(entry, type, converted);
}

platform::Variant DocxProperty::Value() { return Model().Properties().ValueOf(Live()); }

void DocxProperty::SetValue(const platform::Variant& value) {
  CustomProperties::Entry& entry = Live();
  CustomProperties& properties = Model().Properties();
  if (!properties.LinkTarget(entry).empty()) {
    platform::Raise(platform::kErrInvalidCall,
                    u"The property is linked to content; its value comes from the document.");
  }
  const int32_t type = properties.TypeOf(entry);
  properties.Store(entry, type, wordrules::ConvertValueToStore(value, type));
}

platform::Flag DocxProperty::LinkToContent() {
  return platform::ToFlag(!Model().Properties().LinkTarget(Live()).empty());
}

void DocxProperty::Delete() { Model().Properties().Delete(Live()); }

}  // namespace sendnote::docx
