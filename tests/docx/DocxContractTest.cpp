// The Word contract suite run against the engine, with templates written as real .dotx
// packages by the template builder.
#include <deque>
#include <optional>
#include <string>

#include "docx/DocxApplication.h"
#include "platform/Utf.h"
#include "templatebuilder/TemplateBuilder.h"
#include "tests/docx/DocxTestSupport.h"
#include "tests/support/contract/WordContractTests.h"
#include "wordrules/WordValue.h"

namespace sendnote::testing {
namespace {

using docx::TemplateDescription;
using docx::TemplateParagraph;

docx::TemplateField ToField(const FieldOutline& field) {
  docx::TemplateField f;
  f.code = field.code;
  f.result = field.result;
  f.boldResult = field.boldResult;
  return f;
}

// The neutral description as a package: each body field in a paragraph of its own, the
// table fields in the cells of one row, each text box and picture anchored in a
// paragraph after them, and linked properties reading bookmarks that hold their values.
TemplateDescription ToDescription(const TemplateOutline& outline) {
  TemplateDescription d;
  for (const auto& field : outline.bodyFields) {
    d.body.push_back(TemplateParagraph{{ToField(field)}});
  }
  if (!outline.tableFields.empty()) {
    docx::TemplateTable table;
    table.rows.emplace_back();
    for (const auto& field : outline.tableFields) {
      table.rows.back().push_back({TemplateParagraph{{ToField(field)}}});
    }
    d.body.push_back(std::move(table));
  }
  for (const auto& box : outline.textBoxes) {
    docx::TemplateTextBox textBox;
    for (const auto& field : box) textBox.paragraphs.push_back(TemplateParagraph{{ToField(field)}});
    d.body.push_back(TemplateParagraph{{textBox}});
  }
  if (outline.picturesWithoutText > 0) d.images.push_back({docx::SolidPng(4, 4, 0x3366CC), 4, 4});
  for (int i = 0; i < outline.picturesWithoutText; ++i) {
    d.body.push_back(TemplateParagraph{{docx::TemplatePicture{0, true}}});
  }
  const auto box = [](const TextBoxOutline& fields) {
    docx::TemplateTextBox textBox;
    for (const auto& field : fields)
      textBox.paragraphs.push_back(TemplateParagraph{{ToField(field)}});
    return textBox;
  };
  for (const auto& group : outline.groups) {
    docx::TemplateGroup g;
    for (const auto& fields : group) g.boxes.push_back(box(fields));
    d.body.push_back(TemplateParagraph{{g}});
  }
  const auto paragraphs = [](const std::vector<FieldOutline>& fields) {
    std::vector<TemplateParagraph> out;
    for (const auto& field : fields) out.push_back(TemplateParagraph{{ToField(field)}});
    return out;
  };
  const StoriesOutline& stories = outline.stories;
  d.header = paragraphs(stories.headerFields);
  for (const auto& fields : stories.headerTextBoxes)
    d.header.push_back(TemplateParagraph{{box(fields)}});
  d.footer = paragraphs(stories.footerFields);
  d.secondSectionHeader = paragraphs(stories.secondHeaderFields);
  for (const auto& field : stories.footnotes) d.footnotes.push_back(paragraphs({field}));
  int linked = 0;
  for (const auto& property : outline.properties) {
    docx::TemplateProperty p;
    p.name = property.name;
    p.type = property.type;
    p.value = wordrules::ConvertToPropertyType(property.value, property.type);
    if (property.linkedToContent) {
      p.linkTarget = u"Link" + std::u16string(1, static_cast<char16_t>(u'A' + linked++));
      d.body.push_back(
          TemplateParagraph{{docx::TemplateBookmark{p.linkTarget, property.value.ToString()}}});
    }
    d.properties.push_back(std::move(p));
  }
  return d;
}

class DocxWordFixture : public WordContractFixture {
 public:
  std::shared_ptr<platform::WordApplication> Application() override { return app_; }

  std::u16string MakeTemplate(const TemplateOutline& outline) override {
    const auto path = dir_.File("contract" + std::to_string(++made_) + ".dotx");
    docx::WriteTemplate(ToDescription(outline), path);
    return platform::FromUtf8(path.string());
  }

  // A document as the engine saves one: made from a template of the outline.
  std::u16string MakeDocumentFile(const TemplateOutline& outline) override {
    auto maker = docx::DocxApplication::Create();
    auto document = maker->Documents()->Add(MakeTemplate(outline), platform::kFalse,
                                            platform::kWdNewDocument, platform::kTrue);
    const auto path = dir_.File("letter" + std::to_string(++made_) + ".docx");
    document->SaveAs(platform::FromUtf8(path.string()), false);
    maker->Quit(platform::kWdDoNotSaveChanges);
    return platform::FromUtf8(path.string());
  }

  std::u16string BrokenDocumentName() override {
    const auto path = dir_.File("broken.docx");
    docx::testing::WriteFile(path, "PK\x03\x04 this is not a package either");
    return platform::FromUtf8(path.string());
  }

  void AnswerFileOpen(std::u16string_view fileName) override {
    answers_.emplace_back(fileName);
    app_->SetFileOpenPrompt([this]() -> std::optional<std::u16string> {
      if (answers_.empty()) return std::nullopt;
      std::u16string answer = std::move(answers_.front());
      answers_.pop_front();
      return answer;
    });
  }

  std::u16string BrokenTemplateName() override {
    const auto path = dir_.File("broken.dotx");
    docx::testing::WriteFile(path, "PK\x03\x04 this is not a package");
    return platform::FromUtf8(path.string());
  }

 private:
  docx::testing::TempDir dir_;
  std::shared_ptr<docx::DocxApplication> app_ = docx::DocxApplication::Create();
  int made_ = 0;
  std::deque<std::u16string> answers_;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Docx, WordContract, ::testing::Values(WordFixtureFactory([] {
                           return std::make_unique<DocxWordFixture>();
                         })),
                         [](const auto&) { return std::string("Word"); });

}  // namespace sendnote::testing
