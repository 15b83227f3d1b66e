#include "hostsim/app/SimLetters.h"

#include "platform/Word.h"

namespace sendnote::windows::test {

inmemory::WordContent LetterTemplate() {
  inmemory::WordContent content;
  content.bodyFields.push_back({u" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT ", u"(会社名)"});
  content.bodyFields.push_back({u" DOCPROPERTY \"OUTLOOK$宛先\" ", u"(宛先)"});
  inmemory::WordShapeContent box;
  box.text = u"〒";
  box.fields.push_back({u" DOCPROPERTY \"OUTLOOK$郵便番号\" ", u"(郵便番号)"});
  content.shapes.push_back(box);
  content.shapes.push_back(inmemory::PictureContent());
  // The other places a letter shows the contact: a text box in a group, the header with a
  // text box of its own, the footer and a footnote.
  const inmemory::WordFieldContent company{u" DOCPROPERTY \"OUTLOOK$会社名\" ", u"(会社名)"};
  content.shapes.push_back(inmemory::GroupContent(
      {inmemory::PictureContent(), inmemory::TextBoxContent({company}, u"御中")}));
  content.stories = {
      {platform::kWdPrimaryHeaderStory, {company}, {inmemory::TextBoxContent({company})}},
      {platform::kWdPrimaryFooterStory, {company}, {}},
      {platform::kWdFootnotesStory, {company}, {}}};
  return content;
}

inmemory::WordContent MarkedTemplate(bool marked) {
  inmemory::WordContent content = LetterTemplate();
  if (!marked) return content;
  inmemory::WordPropertyContent flag;
  flag.name = u"SENDNOTE$PROPERTY";
  flag.type = platform::kPropertyBoolean;
  flag.value = platform::Variant::Bool(platform::kTrue);
  inmemory::WordPropertyContent prefix;
  prefix.name = u"SENDNOTE$PREFIX";
  prefix.value = platform::Variant::String(u"OUTLOOK$");
  content.properties = {flag, prefix};
  return content;
}

}  // namespace sendnote::windows::test
