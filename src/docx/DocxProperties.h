// The engine's custom document properties, over the package's custom properties part.
// Names compare without regard to ASCII letter case, as Office's do.
#pragma once

#include <memory>

#include "docx/CustomProperties.h"
#include "docx/DocxObject.h"
#include "platform/Word.h"

namespace sendnote::docx {

class DocxProperties : public platform::DocumentProperties, private DocxObject {
 public:
  explicit DocxProperties(std::shared_ptr<DocumentModel> model);

  std::u16string TypeName() const override { return u"DocumentProperties"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::shared_ptr<platform::DocumentProperty> Item(int32_t index) override;
  std::shared_ptr<platform::DocumentProperty> Item(std::u16string_view name) override;
  std::shared_ptr<platform::DocumentProperty> Add(std::u16string_view name,
                                                  platform::Flag linkToContent, int32_t type,
                                                  const platform::Variant& value) override;
};

class DocxProperty : public platform::DocumentProperty, private DocxObject {
 public:
  DocxProperty(std::shared_ptr<DocumentModel> model,
               std::shared_ptr<CustomProperties::Entry> entry);

  std::u16string TypeName() const override { return u"DocumentProperty"; }
  std::shared_ptr<platform::Object> Application() override;
  std::u16string Name() override;
  int32_t Type() override;
  void SetType(int32_t type) override;
  platform::Variant Value() override;
  void SetValue(const platform::Variant& value) override;
  platform::Flag LinkToContent() override;
  void Delete() override;

 private:
  CustomProperties::Entry& Live() const;

  std::shared_ptr<CustomProperties::Entry> entry_;
};

}  // namespace sendnote::docx
