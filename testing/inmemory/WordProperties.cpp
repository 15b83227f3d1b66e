#include "inmemory/WordProperties.h"

#include <algorithm>

#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "platform/ComError.h"
#include "wordrules/PropertyRules.h"
#include "wordrules/WordValue.h"

namespace sendnote::inmemory {

using platform::Variant;

// --- WordProperty ---

WordProperty::WordProperty(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                           WordPropertyContent content)
    : WordNode(u"DocumentProperty", std::move(session), std::move(document)),
      content_(std::move(content)) {}

Variant WordProperty::CurrentValue() const {
  if (!content_.linkToContent) return content_.value;
  auto document = DocumentOrNull();
  if (!document || !document->HasBookmark(content_.linkSource)) return content_.value;
  try {
    return wordrules::ConvertToPropertyType(
        Variant::String(document->BookmarkText(content_.linkSource)), content_.type);
  } catch (const platform::ComError&) {
    return content_.value;  // a source that does not convert leaves the last value
  }
}

WordPropertyContent WordProperty::Content() const {
  WordPropertyContent content = content_;
  content.value = CurrentValue();
  return content;
}

std::shared_ptr<platform::Object> WordProperty::Application() {
  Call(u"Application");
  return App();
}

std::u16string WordProperty::Name() {
  Call(u"Name");
  return content_.name;
}

int32_t WordProperty::Type() {
  Call(u"Type");
  return content_.type;
}

void WordProperty::SetType(int32_t type) {
  Call(u"Type");
  if (!wordrules::IsPropertyType(type)) platform::Raise(platform::kErrInvalidCall);
  Variant converted = wordrules::ConvertToPropertyType(CurrentValue(), type);
  content_.type = type;
  content_.value = std::move(converted);
}

Variant WordProperty::Value() {
  Call(u"Value");
  return CurrentValue();
}

void WordProperty::SetValue(const Variant& value) {
  Call(u"Value");
  if (content_.linkToContent) {
    platform::Raise(platform::kErrInvalidCall,
                    u"The property is linked to content; its value comes from the document.");
  }
  content_.value = wordrules::ConvertValueToStore(value, content_.type);
}

platform::Flag WordProperty::LinkToContent() {
  Call(u"LinkToContent");
  return platform::ToFlag(content_.linkToContent);
}

void WordProperty::Delete() {
  Call(u"Delete");
  deleted_ = true;
  if (auto collection = collection_.lock()) collection->Remove(this);
}

// --- WordProperties ---

WordProperties::WordProperties(std::weak_ptr<WordSession> session,
                               std::weak_ptr<WordDocument> document)
    : WordNode(u"DocumentProperties", std::move(session), std::move(document)) {}

void WordProperties::Load(const WordPropertyContent& content) {
  auto property = std::make_shared<WordProperty>(SessionRef(), DocumentRef(), content);
  property->collection_ = weak_from_this();
  items_.push_back(std::move(property));
}

std::shared_ptr<WordProperty> WordProperties::Find(std::u16string_view name) const {
  for (const auto& property : items_) {
    if (wordrules::SamePropertyName(property->content_.name, name)) return property;
  }
  return nullptr;
}

void WordProperties::Remove(const WordProperty* property) {
  std::erase_if(items_, [&](const auto& item) { return item.get() == property; });
}

std::shared_ptr<platform::Object> WordProperties::Application() {
  Call(u"Application");
  return App();
}

int32_t WordProperties::Count() {
  Call(u"Count");
  return static_cast<int32_t>(items_.size());
}

std::shared_ptr<platform::DocumentProperty> WordProperties::Item(int32_t index) {
  Call(u"Item");
  if (index < 1 || static_cast<size_t>(index) > items_.size()) {
    platform::Raise(platform::kErrInvalidCall);
  }
  return items_[static_cast<size_t>(index) - 1];
}

std::shared_ptr<platform::DocumentProperty> WordProperties::Item(std::u16string_view name) {
  Call(u"Item");
  auto property = Find(name);
  if (!property) platform::Raise(platform::kErrInvalidCall);
  return property;
}

std::shared_ptr<platform::DocumentProperty> WordProperties::Add(std::u16string_view name,
                                                                platform::Flag linkToContent,
                                                                int32_t type,
                                                                const Variant& value) {
  Call(u"Add");
  wordrules::CheckNewProperty(name, linkToContent, type, Find(name) != nullptr);
  WordPropertyContent content;
  content.name = std::u16string(name);
  content.type = type;
  content.value = wordrules::ConvertValueToStore(value, type);
  Load(content);
  return items_.back();
}

}  // namespace sendnote::inmemory
