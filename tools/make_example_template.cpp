// Writes the example cover-letter template (添書票) whose DOCPROPERTY fields show every
// property the add-in writes: the address block in a text box, the rest in the body and a
// table. Usage: make_example_template OUTPUT.dotx
#include <cstdio>
#include <exception>
#include <string>

#include "platform/ComError.h"
#include "platform/Utf.h"
#include "templatebuilder/TemplateBuilder.h"

namespace {

using sendnote::docx::TemplateBlock;
using sendnote::docx::TemplateDescription;
using sendnote::docx::TemplateField;
using sendnote::docx::TemplateParagraph;
using sendnote::docx::TemplateTable;
using sendnote::docx::TemplateText;
using sendnote::docx::TemplateTextBox;

constexpr char16_t kPrefix[] = u"OUTLOOK$";

// A field showing property `name` until the letter is written: «name».
TemplateField Prop(std::u16string name, bool bold = false) {
  TemplateField f;
  f.code = u" DOCPROPERTY \"" + std::u16string(kPrefix) + name + u"\" \\* MERGEFORMAT ";
  f.result = u"«" + name + u"»";
  f.boldResult = bold;
  return f;
}

TemplateText Text(std::u16string text, bool bold = false) { return {std::move(text), bold}; }

TemplateParagraph Line(std::initializer_list<sendnote::docx::TemplateInline> content) {
  TemplateParagraph p;
  p.content.assign(content.begin(), content.end());
  return p;
}

TemplateDescription CoverLetter() {
  TemplateDescription d;
  d.header = {Line({Text(u"添 書 票", true)})};

  // The address block, as a window envelope shows it.
  TemplateTextBox address;
  address.widthPt = 260;
  address.heightPt = 110;
  address.leftPt = 0;
  address.topPt = 0;
  TemplateField lower = Prop(u"郵便番号下位");
  lower.codePieces = 3;  // as Word often stores an edited field code
  address.paragraphs = {
      Line({Text(u"〒"), Prop(u"郵便番号上位"), Text(u"-"), lower}),
      Line({Prop(u"都道府県"), Prop(u"市町村"), Prop(u"番地")}),
      Line({Prop(u"私書箱")}),
      Line({Prop(u"宛先", true), Text(u" "), Prop(u"敬称")}),
  };

  d.body.push_back(Line({address}));
  d.body.push_back(Line({}));
  d.body.push_back(Line({Prop(u"会社名")}));
  d.body.push_back(Line({Prop(u"事業所"), Text(u" "), Prop(u"部署")}));
  d.body.push_back(Line({Prop(u"役職"), Text(u" "), Prop(u"肩書き")}));
  d.body.push_back(
      Line({Prop(u"姓", true), Text(u" "), Prop(u"名", true), Text(u" "), Prop(u"敬称")}));
  d.body.push_back(Line({}));
  d.body.push_back(Line({Text(u"拝啓 時下ますますご清栄のこととお慶び申し上げます。")}));
  d.body.push_back(
      Line({Text(u"下記の書類をお送りいたしますので、ご査収のほどよろしくお願い申し上げます。")}));
  d.body.push_back(Line({Text(u"敬具")}));
  d.body.push_back(Line({}));

  TemplateTable sent;
  auto cell = [](std::u16string text) {
    return std::vector<TemplateParagraph>{Line({Text(std::move(text))})};
  };
  sent.rows = {
      {cell(u"送付書類"), cell(u"部数"), cell(u"備考")},
      {cell(u"見積書"), cell(u"1"), cell(u"")},
      {cell(u"カタログ"), cell(u"2"), cell(u"")},
  };
  d.body.push_back(sent);
  d.body.push_back(Line({}));

  // The addressee's contact details, for reference: a table of the remaining fields.
  TemplateTable details;
  auto fieldCell = [](std::u16string name) {
    return std::vector<TemplateParagraph>{Line({Prop(std::move(name))})};
  };
  details.rows = {
      {cell(u"住所"), fieldCell(u"住所")},
      {cell(u"郵便番号"), fieldCell(u"郵便番号")},
      {cell(u"電話番号"), fieldCell(u"電話番号")},
      {cell(u"FAX番号"), fieldCell(u"FAX番号")},
      {cell(u"携帯電話"), fieldCell(u"携帯電話")},
      {cell(u"メールアドレス"), fieldCell(u"メールアドレス")},
  };
  d.body.push_back(details);
  d.isTemplate = true;
  d.font = u"MS Mincho";
  return d;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_example_template OUTPUT.dotx\n", stderr);
    return 2;
  }
  try {
    sendnote::docx::WriteTemplate(CoverLetter(), argv[1]);
  } catch (const sendnote::platform::ComError& e) {
    std::fprintf(stderr, "make_example_template: %s\n",
                 sendnote::platform::ToUtf8(e.Description()).c_str());
    return 1;
  }
  return 0;
}
