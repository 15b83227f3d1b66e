// A Word document.
#pragma once

#include "platform/Word.h"
#include "windows/com/AutomationObject.h"

namespace sendnote::com {

class AutoDocument : public AutomationObject<platform::Document, Host::kWord> {
 public:
  explicit AutoDocument(ComPtr<IDispatch> object)
      : AutomationObject(std::move(object), u"Document") {}

  std::shared_ptr<platform::DocumentProperties> CustomDocumentProperties() override;
  void Activate() override;
  std::shared_ptr<platform::Fields> Fields() override;
  std::shared_ptr<platform::Shapes> Shapes() override;
  void Close(int32_t saveChanges) override;
  // Word itself replaces an existing file without asking: the refusals of an existing
  // file, of no name and of the document's own template are made here, before Word saves.
  void SaveAs(std::u16string_view fileName, bool replace) override;
};

}  // namespace sendnote::com
