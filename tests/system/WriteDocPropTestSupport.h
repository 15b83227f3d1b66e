// A contact for the property-list and writer tests: string members in a map, the
// selected mailing address, and an optional failure of every member read.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "inmemory/WordProperties.h"
#include "platform/ComError.h"
#include "platform/Outlook.h"

namespace sendnote::testing {

class TestContact : public platform::ContactItem {
 public:
  TestContact& With(platform::ContactField field, std::u16string value) {
    members_[field] = std::move(value);
    return *this;
  }
  TestContact& Mailing(int32_t kind) {
    mailing_ = kind;
    return *this;
  }
  // Makes every later member read raise this error number.
  void FailReads(int32_t number) { failReads_ = number; }
  int Reads() const { return reads_; }

  std::u16string TypeName() const override { return u"ContactItem"; }
  std::shared_ptr<platform::Object> Application() override { return nullptr; }
  int32_t Class() override { return platform::kOlContactItemClass; }
  std::u16string Get(platform::ContactField field) override {
    ++reads_;
    if (failReads_) platform::Raise(*failReads_, u"contact read failed");
    const auto it = members_.find(field);
    return it == members_.end() ? std::u16string() : it->second;
  }
  void Set(platform::ContactField field, std::u16string_view value) override {
    members_[field] = std::u16string(value);
  }
  int32_t SelectedMailingAddress() override {
    ++reads_;
    if (failReads_) platform::Raise(*failReads_, u"contact read failed");
    return mailing_;
  }
  void SetSelectedMailingAddress(int32_t kind) override { mailing_ = kind; }
  std::shared_ptr<platform::Inspector> GetInspector() override { return nullptr; }
  void Close(int32_t) override {}

 private:
  std::map<platform::ContactField, std::u16string> members_;
  int32_t mailing_ = 0;
  std::optional<int32_t> failReads_;
  int reads_ = 0;
};

inline constexpr char16_t kTemplate[] = u"C:\\Templates\\letter.dot";

// Returns a new document of a fresh template holding `content`.
inline std::shared_ptr<inmemory::WordDocument> NewDocument(inmemory::WordApp& word,
                                                           inmemory::WordContent content) {
  word.AddTemplate(kTemplate, std::move(content));
  word.Documents()->Add(kTemplate, platform::kFalse, platform::kWdNewDocument, platform::kTrue);
  return word.CreatedDocuments().back();
}

// Returns the stored state of a property, or nothing when the document has none.
inline std::optional<inmemory::WordPropertyContent> PropertyOf(
    const inmemory::WordDocument& document, std::u16string_view name) {
  for (const auto& property : document.Snapshot().properties) {
    if (property.name == name) return property;
  }
  return std::nullopt;
}

inline inmemory::WordPropertyContent TextProperty(std::u16string name, std::u16string value) {
  return {std::move(name), platform::kPropertyString, platform::Variant::String(std::move(value)),
          false, u""};
}

inline inmemory::WordFieldContent DocPropertyField(std::u16string_view name) {
  std::u16string code = u" DOCPROPERTY \"";
  code += name;
  code += u"\" \\* MERGEFORMAT ";
  return {std::move(code), u"old", false};
}

}  // namespace sendnote::testing
