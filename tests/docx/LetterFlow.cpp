#include "tests/docx/LetterFlow.h"

#include <gtest/gtest.h>

#include "inmemory/InMemoryRuntime.h"
#include "platform/UserInterface.h"
#include "system/common/clsOccation.h"
#include "system/letter/modSendnote.h"
#include "tests/support/WriteDocPropTestSupport.h"

namespace sendnote::docx::testing {
namespace {

using F = platform::ContactField;

TemplateField DocProperty(const std::u16string& name, bool bold = false, int pieces = 1,
                          bool simple = false) {
  TemplateField field;
  field.code = u" DOCPROPERTY \"OUTLOOK$" + name + u"\" \\* MERGEFORMAT ";
  field.result = u"«" + name + u"»";
  field.boldResult = bold;
  field.codePieces = pieces;
  field.simple = simple;
  return field;
}

TemplateParagraph Line(std::vector<TemplateInline> content) { return {std::move(content)}; }

}  // namespace

TemplateDescription LetterTemplate() {
  TemplateDescription d;
  d.images.push_back({SolidPng(48, 16, 0x204080), 48, 16});
  d.header.push_back(Line({TemplateText{u"添書票 "}, DocProperty(u"会社名")}));
  TemplateField date;
  date.code = u" DATE \\@ \"yyyy'年'M'月'd'日'\" ";
  date.result = u"2001年1月1日";
  TemplateField merge;
  merge.code = u" MERGEFIELD 会社名 ";
  merge.result = u"«会社名»";
  TemplateParagraph title = Line({TemplateText{u"添 書 票", true, 16}});
  title.align = TemplateAlign::kCenter;
  d.body.push_back(title);
  TemplateParagraph dated = Line({TemplatePicture{0, false}, TemplateText{u" "}, date});
  dated.align = TemplateAlign::kRight;
  d.body.push_back(dated);
  d.body.push_back(Line({TemplateText{u"〒"}, DocProperty(u"郵便番号", true, 3)}));
  d.body.push_back(Line({DocProperty(u"住所", false, 1, true)}));
  TemplateTextBox box;
  box.paragraphs.push_back(Line({DocProperty(u"宛先", true, 2), TemplateText{u" 様"}}));
  box.widthPt = 300;
  box.heightPt = 40;
  d.body.push_back(Line({box}));
  TemplateTable table;
  table.rows.push_back({{Line({TemplateText{u"会社"}})}, {Line({DocProperty(u"会社名", true)})}});
  table.rows.push_back({{Line({TemplateText{u"電話"}})}, {Line({DocProperty(u"電話番号")})}});
  d.body.push_back(table);
  d.body.push_back(Line({TemplateText{u"差込: "}, merge}));
  d.customXml.push_back(
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?><b:Sources "
      "xmlns:b=\"http://schemas.openxmlformats.org/officeDocument/2006/bibliography\" "
      "SelectedStyle=\"\"/>");
  d.properties.push_back(
      {u"部署コード", platform::kPropertyNumber, platform::Variant::Int32(42), u""});
  return d;
}

std::vector<std::pair<std::u16string, std::u16string>> ExpectedLetterValues() {
  return {{u"宛先", u"株式会社山田商事 本社 営業部 山田 部長"},
          {u"郵便番号", u"123-4567"},
          {u"住所", u"東京都千代田区丸の内1-1 山田ビル5F"},
          {u"会社名", u"株式会社山田商事"},
          {u"電話番号", u"03-1234-5678"}};
}

LetterRun WriteLetter(const std::shared_ptr<DocxDocument>& document,
                      const std::u16string& newPrefix) {
  inmemory::InMemoryRuntime runtime;
  platform::ScopedRuntime installed(runtime);
  if (newPrefix.empty()) {
    runtime.Scripted().QueueMsgBoxAnswer(platform::kVbYes);
  } else {
    runtime.Scripted().QueueMsgBoxAnswer(platform::kVbNo);
    runtime.Scripted().QueueInput(newPrefix);
  }
  auto contact = std::make_shared<sendnote::testing::TestContact>();
  contact->With(F::kCompanyName, u"株式会社山田商事").With(F::kOfficeLocation, u"本社");
  contact->With(F::kDepartment, u"営業部").With(F::kLastName, u"山田").With(F::kFirstName, u"太郎");
  contact->With(F::kTitle, u"部長")
      .With(F::kJobTitle, u"営業部長")
      .With(F::kEmail1Address, u"yamada@example.jp");
  contact->With(F::kBusinessAddress, u"東京都千代田区丸の内1-1\r\n山田ビル5F");
  contact->With(F::kBusinessAddressPostalCode, u"123-4567");
  contact->With(F::kBusinessTelephoneNumber, u"03-1234-5678");
  contact->mailing = platform::MailingAddress::kBusiness;

  clsOccation occasion;
  occasion.SetStaticData(std::make_shared<clsStatic>());
  FillLetter(document, contact, occasion);
  EXPECT_EQ(occasion.Msg()->Cancel(), platform::kFalse);
  EXPECT_EQ(occasion.Letter(), document) << "the command hands over the refreshed letter";

  LetterRun run{occasion.PropPrefix(), {}};
  for (const auto& box : runtime.Scripted().MsgBoxes()) run.messages.push_back(box.prompt);
  return run;
}

}  // namespace sendnote::docx::testing
