// The example templates' descriptions. Each field shows «name» until a letter is written;
// what the user fills in once (the sender) is marked with ○.
#include "ExampleTemplates.h"

#include <array>
#include <utility>

namespace sendnote::examples {
namespace {

using docx::TemplateAlign;
using docx::TemplateDescription;
using docx::TemplateField;
using docx::TemplateImage;
using docx::TemplateInline;
using docx::TemplateParagraph;
using docx::TemplatePicture;
using docx::TemplateTable;
using docx::TemplateText;
using docx::TemplateTextBox;

constexpr char16_t kPrefix[] = u"OUTLOOK$";

// A field showing property `name` until the letter is written: «name».
TemplateField Prop(std::u16string name, bool bold = false, int32_t sizePt = 0) {
  TemplateField f;
  f.code = u" DOCPROPERTY \"" + std::u16string(kPrefix) + name + u"\" \\* MERGEFORMAT ";
  f.result = u"«" + name + u"»";
  f.boldResult = bold;
  f.resultSizePt = sizePt;
  return f;
}

TemplateText Text(std::u16string text, bool bold = false, int32_t sizePt = 0) {
  return {std::move(text), bold, sizePt};
}

TemplateParagraph Line(std::initializer_list<TemplateInline> content,
                       TemplateAlign align = TemplateAlign::kLeft, int32_t indentTwips = 0) {
  TemplateParagraph p;
  p.content.assign(content.begin(), content.end());
  p.align = align;
  p.indentTwips = indentTwips;
  return p;
}

// Millimetres in twips (1/1440 inch), rounded.
constexpr int32_t Mm(double mm) { return static_cast<int32_t>(mm * 1440 / 25.4 + 0.5); }

// The example that shows every property: the address block in a text box, the rest in the
// body and a table.
TemplateDescription EveryProperty() {
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

// A cover letter (送付状) as Japanese offices send it: the date at the top right, the
// addressee at the left, the sender at the right, the title, 拝啓 … 敬具, then 記, the
// enclosed documents with their numbers of copies, and 以上.
TemplateDescription CoverLetter() {
  TemplateDescription d;
  const TemplateText space = Text(u"　");
  TemplateField date;
  date.code = u" DATE \\@ \"yyyy年M月d日\" ";
  date.result = u"2026年12月1日";
  d.body = {
      Line({date}, TemplateAlign::kRight),
      Line({}),
      Line({Prop(u"会社名", false, 12)}),
      Line({Prop(u"事業所"), space, Prop(u"部署")}),
      Line({Prop(u"役職"), space, Prop(u"姓", false, 12), space, Prop(u"名", false, 12), space,
            Text(u"様", false, 12)}),
      Line({}),
      Line({Text(u"株式会社○○○○")}, TemplateAlign::kRight),
      Line({Text(u"〒000-0000　○○県○○市○○町1-2-3")}, TemplateAlign::kRight),
      Line({Text(u"TEL 00-0000-0000")}, TemplateAlign::kRight),
      Line({Text(u"担当　○○ ○○")}, TemplateAlign::kRight),
      Line({}),
      Line({Text(u"送　付　状", true, 18)}, TemplateAlign::kCenter),
      Line({}),
      Line({Text(u"拝啓　時下ますますご清栄のこととお慶び申し上げます。平素は格別のお引き立てを"
                 u"賜り、厚く御礼申し上げます。")}),
      Line({Text(u"　さて、下記の書類をお送りいたしますので、ご査収のほどよろしくお願い申し上げ"
                 u"ます。")}),
      Line({Text(u"敬具")}, TemplateAlign::kRight),
      Line({}),
      Line({Text(u"記")}, TemplateAlign::kCenter),
  };
  TemplateTable enclosed;
  enclosed.columnTwips = {Mm(110), Mm(30)};
  auto row = [](std::u16string name, std::u16string copies) {
    return std::vector<std::vector<TemplateParagraph>>{
        {Line({Text(std::move(name))})}, {Line({Text(std::move(copies))}, TemplateAlign::kRight)}};
  };
  enclosed.rows = {row(u"書類名", u"部数"), row(u"御見積書", u"1部"), row(u"御請求書", u"1部"),
                   row(u"会社案内", u"1部")};
  d.body.push_back(enclosed);
  d.body.push_back(Line({Text(u"以上")}, TemplateAlign::kRight));
  return d;
}

// The seven postal-code boxes of a printed envelope, in pixels at 96 per inch (3/4 point):
// each box 21 wide and 30 high, a box every 26, and 9 more between the third and the fourth.
constexpr int32_t kBoxPitchPx = 26;
constexpr int32_t kBoxWidthPx = 21;
constexpr int32_t kBoxHeightPx = 30;
constexpr int32_t kBoxGapPx = 9;
constexpr int32_t kBoxesWidthPx = 6 * kBoxPitchPx + kBoxGapPx + kBoxWidthPx;

// The boxes in the red of printed envelopes, as a picture behind the digits.
TemplateImage PostalBoxes() {
  std::array<int32_t, 7> left{};
  for (int32_t i = 0; i < 7; ++i) left[i] = i * kBoxPitchPx + (i >= 3 ? kBoxGapPx : 0);
  auto pixel = [left](int32_t x, int32_t y) -> uint32_t {
    constexpr int32_t line = 2;
    for (const int32_t l : left) {
      if (x < l || x >= l + kBoxWidthPx) continue;
      const bool edge =
          x < l + line || x >= l + kBoxWidthPx - line || y < line || y >= kBoxHeightPx - line;
      return edge ? 0xE60012 : 0xFFFFFF;
    }
    return 0xFFFFFF;
  };
  return {docx::PixelPng(kBoxesWidthPx, kBoxHeightPx, pixel), kBoxesWidthPx, kBoxHeightPx};
}

// The font of the boxed digits, whose digits are half an em wide: IPAGothic where it is
// installed (LibreOffice on Linux), else MS Gothic (Word).
constexpr char16_t kDigitFont[] = u"IPAGothic";

// The postal code in the boxes: the two halves in one line, each digit followed by the
// spacing that carries the next into the next box (for digits half an em wide), with a narrow run
// for the gap between the halves; the picture of the boxes lies behind the line. Returns the
// paragraph and the right margin that leaves the line 3 mm to spare, so that wider digits do not
// wrap it.
std::pair<TemplateParagraph, int32_t> PostalCodeInBoxes(int32_t boxesLeftPt, int32_t sizePt,
                                                        int32_t textWidthTwips) {
  constexpr int32_t kTwipsPerPx = 15;
  const int32_t digitTwips = sizePt * 10;  // half of an em of sizePt points
  const int32_t spacing = kBoxPitchPx * kTwipsPerPx - digitTwips;
  TemplateField upper = Prop(u"郵便番号上位", false, sizePt);
  upper.resultSpacingTwips = spacing;
  upper.resultFont = kDigitFont;
  TemplateField lower = Prop(u"郵便番号下位", false, sizePt);
  lower.resultSpacingTwips = spacing;
  lower.resultFont = kDigitFont;
  TemplateText gap = Text(u" ", false, 1);
  gap.spacingTwips = kBoxGapPx * kTwipsPerPx - 5;  // less the width of a space of one point
  // The first digit stands in the middle of the first box.
  const int32_t indent = boxesLeftPt * 20 + (kBoxWidthPx * kTwipsPerPx - digitTwips) / 2;
  const int32_t lineEnd = indent + 7 * kBoxPitchPx * kTwipsPerPx + kBoxGapPx * kTwipsPerPx;
  return {Line({TemplatePicture{0, true, boxesLeftPt, -2}, upper, gap, lower}, TemplateAlign::kLeft,
               indent),
          textWidthTwips - lineEnd - Mm(3)};
}

// A 長形3号 envelope (120 × 235 mm): the postal code in the printed boxes at the top, the
// address in vertical lines from the right (prefecture and city, then the street), the
// company and department, and the name with 様 in large type. Digits are kept as typed:
// full-width ones stand upright in the vertical lines, half-width ones lie on their side.
TemplateDescription Envelope() {
  TemplateDescription d;
  d.page = {Mm(120), Mm(235), Mm(12), 0, Mm(10), Mm(10)};  // the right margin below
  d.images = {PostalBoxes()};
  d.fonts = {{kDigitFont, u"ＭＳ ゴシック"}};
  // The boxes end about 8 mm from the envelope's right edge.
  auto [postalCode, rightMargin] = PostalCodeInBoxes(150, 16, d.page.widthTwips - d.page.leftTwips);
  d.page.rightTwips = rightMargin;
  d.body.push_back(std::move(postalCode));
  d.body.push_back(Line({}));

  TemplateTable address;
  address.columnTwips = {Mm(100)};
  address.rowHeightTwips = Mm(175);
  address.borders = false;
  address.vertical = true;
  const TemplateText space = Text(u"　", false, 14);
  address.rows = {{{
      Line({Prop(u"都道府県", false, 14), Prop(u"市町村", false, 14)}, TemplateAlign::kLeft, Mm(5)),
      Line({Prop(u"番地", false, 14)}, TemplateAlign::kLeft, Mm(15)),
      Line({}),
      Line({}),
      Line({Prop(u"会社名", false, 14)}, TemplateAlign::kLeft, Mm(30)),
      Line({Prop(u"事業所", false, 14), space, Prop(u"部署", false, 14)}, TemplateAlign::kLeft,
           Mm(30)),
      Line({}),
      Line({Prop(u"役職", false, 12), Text(u"　", false, 26), Prop(u"姓", false, 26),
            Text(u"　", false, 26), Prop(u"名", false, 26), Text(u"　様", false, 26)},
           TemplateAlign::kCenter),
  }}};
  d.body.push_back(address);
  return d;
}

// An A4 sheet of twelve labels (two across, six down, each 86.4 × 42.3 mm, the sheet's
// margins 21.6 mm at the top and 18.6 mm at the sides): the first label holds the contact,
// the others stay empty (one contact a sheet).
TemplateDescription Labels() {
  TemplateDescription d;
  d.page.topTwips = Mm(21.6);
  d.page.leftTwips = d.page.rightTwips = Mm(18.6);
  d.page.bottomTwips = Mm(10);
  TemplateTable sheet;
  sheet.columnTwips = {Mm(86.4), Mm(86.4)};
  sheet.rowHeightTwips = Mm(42.3);
  sheet.borders = false;
  const int32_t indent = Mm(4);
  const TemplateText space = Text(u"　");
  const std::vector<TemplateParagraph> label = {
      Line({}),
      Line({Text(u"〒"), Prop(u"郵便番号上位"), Text(u"-"), Prop(u"郵便番号下位")},
           TemplateAlign::kLeft, indent),
      Line({Prop(u"都道府県"), Prop(u"市町村")}, TemplateAlign::kLeft, indent),
      Line({Prop(u"番地")}, TemplateAlign::kLeft, indent + Mm(4)),
      Line({Prop(u"会社名"), space, Prop(u"部署")}, TemplateAlign::kLeft, indent),
      Line({Prop(u"姓", false, 14), space, Prop(u"名", false, 14), Text(u"　様", false, 14)},
           TemplateAlign::kCenter),
  };
  sheet.rows.assign(6, {{Line({})}, {Line({})}});
  sheet.rows[0][0] = label;
  d.body.push_back(sheet);
  return d;
}

}  // namespace

std::optional<TemplateDescription> ExampleTemplate(const std::u16string& stem) {
  if (stem == u"添書票") return EveryProperty();
  if (stem == u"送付状") return CoverLetter();
  if (stem == u"長形3号") return Envelope();
  if (stem == u"宛名ラベル") return Labels();
  return std::nullopt;
}

}  // namespace sendnote::examples
