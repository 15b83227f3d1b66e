// Shared by the property tests: a contact with string members in a map, and documents
// of the in-memory Word.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "platform/ComError.h"
#include "platform/Outlook.h"

namespace sendnote::testing {

class TestContact : public platform::ContactItem {
 public:
  TestContact& With(platform::ContactField field, std::u16string value) {
    members_[field] = std::move(value);
    return *this;
  }
  int32_t failReads = 0;  // non-zero: every read raises this error number
  int reads = 0;
  platform::MailingAddress mailing = platform::MailingAddress::kNone;

  std::u16string TypeName() const override { return u"ContactItem"; }
  std::shared_ptr<platform::Object> Application() override { return nullptr; }
  int32_t Class() override { return platform::kOlContactItemClass; }
  std::u16string Get(platform::ContactField field) override {
    Read();
    return members_.contains(field) ? members_[field] : std::u16string();
  }
  void Set(platform::ContactField field, std::u16string_view value) override {
    members_[field] = value;
  }
  platform::MailingAddress SelectedMailingAddress() override { return Read(), mailing; }
  void SetSelectedMailingAddress(platform::MailingAddress kind) override { mailing = kind; }
  std::shared_ptr<platform::Inspector> GetInspector() override { return nullptr; }
  void Close(int32_t) override {}

 private:
  void Read() {
    ++reads;
    if (failReads != 0) platform::Raise(failReads, u"contact read failed");
  }
  std::map<platform::ContactField, std::u16string> members_;
};

// Returns a new document of a template holding `content`.
inline std::shared_ptr<inmemory::WordDocument> NewDocument(inmemory::WordApp& word,
                                                           inmemory::WordContent content) {
  word.AddTemplate(u"C:\\letter.dot", std::move(content));
  word.Documents()->Add(u"C:\\letter.dot", platform::kFalse, platform::kWdNewDocument,
                        platform::kTrue);
  return word.CreatedDocuments().back();
}

// Returns the stored state of a property; its name is empty when there is none.
inline inmemory::WordPropertyContent PropertyOf(const inmemory::WordDocument& document,
                                                std::u16string_view name) {
  for (const auto& property : document.Snapshot().properties) {
    if (property.name == name) return property;
  }
  return {};
}

inline inmemory::WordPropertyContent Prop(std::u16string name, platform::Variant value) {
  const int32_t type = value.kind() == platform::Variant::Kind::kBool ? platform::kPropertyBoolean
                       : value.kind() == platform::Variant::Kind::kInt32
                           ? platform::kPropertyNumber
                           : platform::kPropertyString;
  return {std::move(name), type, std::move(value), false, u""};
}
inline inmemory::WordPropertyContent Prop(std::u16string name, std::u16string text) {
  return Prop(std::move(name), platform::Variant::String(std::move(text)));
}

// A DOCPROPERTY field naming `name` in quotes, with a format switch.
inline inmemory::WordFieldContent DocPropertyField(std::u16string_view name) {
  return {u" DOCPROPERTY \"" + std::u16string(name) + u"\" \\* MERGEFORMAT ", u"old", false};
}

}  // namespace sendnote::testing
