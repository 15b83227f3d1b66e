// The Word contract fixture over the in-memory Word: templates are registered with it
// directly. The automation suite reuses it behind the host simulator's exposure.
#pragma once

#include <memory>
#include <string>

#include "inmemory/WordApp.h"
#include "tests/support/contract/WordContractFixture.h"

namespace sendnote::testing {

class InMemoryWordFixture : public WordContractFixture {
 public:
  InMemoryWordFixture();

  std::shared_ptr<platform::WordApplication> Application() override { return word_; }
  std::u16string MakeTemplate(const TemplateOutline& outline) override;
  std::u16string BrokenTemplateName() override { return kBroken; }
  std::u16string MakeDocumentFile(const TemplateOutline& outline) override;
  std::u16string BrokenDocumentName() override { return kBrokenDocument; }
  void AnswerFileOpen(std::u16string_view fileName) override { word_->QueueFileOpen(fileName); }

  const std::shared_ptr<inmemory::WordApp>& Word() const { return word_; }

 private:
  static constexpr char16_t kBroken[] = u"C:\\Templates\\broken.dot";
  static constexpr char16_t kBrokenDocument[] = u"C:\\Letters\\broken.docx";
  inmemory::WordContent ToWordContent(const TemplateOutline& outline);
  std::shared_ptr<inmemory::WordApp> word_;
  int made_ = 0;
  int linked_ = 0;
};

}  // namespace sendnote::testing
