// The custom document properties of an in-memory document. Names compare without regard
// to ASCII letter case, as Office's do. A property handle stays valid after others are
// deleted; a deleted property raises on use.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inmemory/WordContent.h"
#include "inmemory/WordNode.h"
#include "platform/Word.h"

namespace sendnote::inmemory {

class WordProperties;

class WordProperty : public platform::DocumentProperty, public WordNode {
 public:
  WordProperty(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
               WordPropertyContent content);

  // The state as stored, value taken from the link source where there is one.
  WordPropertyContent Content() const;
  bool IsDeleted() const { return deleted_; }

  // --- platform::DocumentProperty ---
  std::u16string TypeName() const override { return u"DocumentProperty"; }
  std::shared_ptr<platform::Object> Application() override;
  std::u16string Name() override;
  int32_t Type() override;
  void SetType(int32_t type) override;
  // The link source's text converted to the type, or the last value taken from it when
  // the source is gone or does not convert.
  platform::Variant Value() override;
  void SetValue(const platform::Variant& value) override;
  platform::Flag LinkToContent() override;
  void Delete() override;

 protected:
  bool Deleted() const override { return deleted_; }

 private:
  friend class WordProperties;
  platform::Variant CurrentValue() const;

  WordPropertyContent content_;
  bool deleted_ = false;
  std::weak_ptr<WordProperties> collection_;
};

class WordProperties : public platform::DocumentProperties,
                       public WordNode,
                       public std::enable_shared_from_this<WordProperties> {
 public:
  WordProperties(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document);

  // Appends a property from a template, without a call.
  void Load(const WordPropertyContent& content);
  // The properties in enumeration order.
  const std::vector<std::shared_ptr<WordProperty>>& Items() const { return items_; }
  // Returns the property of that name, or empty if there is none. Not a call.
  std::shared_ptr<WordProperty> Find(std::u16string_view name) const;

  // --- platform::DocumentProperties ---
  std::u16string TypeName() const override { return u"DocumentProperties"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::shared_ptr<platform::DocumentProperty> Item(int32_t index) override;
  std::shared_ptr<platform::DocumentProperty> Item(std::u16string_view name) override;
  std::shared_ptr<platform::DocumentProperty> Add(std::u16string_view name,
                                                  platform::Flag linkToContent, int32_t type,
                                                  const platform::Variant& value) override;

 private:
  friend class WordProperty;
  void Remove(const WordProperty* property);

  std::vector<std::shared_ptr<WordProperty>> items_;
};

}  // namespace sendnote::inmemory
