#include "tests/support/contract/WordContractTests.h"

#include "platform/ComError.h"
#include "platform/Utf.h"

namespace sendnote::testing {

using platform::ComError;
using platform::kTrue;
using platform::Variant;

namespace {

constexpr std::u16string_view kCompany = u" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT ";
constexpr std::u16string_view kName = u" DOCPROPERTY \"OUTLOOK$名\" \\* MERGEFORMAT ";

// Readable form of a value for failure messages.
std::string Show(const Variant& v) {
  static constexpr const char* kKinds[] = {"Empty", "Bool", "Int32", "Double", "Date", "String"};
  return std::string(kKinds[static_cast<int>(v.kind())]) + "(" + platform::ToUtf8(v.ToString()) +
         ")";
}

FieldOutline F(std::u16string_view code, std::u16string_view result) {
  FieldOutline field;
  field.code = code;
  field.result = result;
  return field;
}

PropertyOutline P(std::u16string_view name, int32_t type, Variant value, bool linked = false) {
  PropertyOutline property;
  property.name = name;
  property.type = type;
  property.value = std::move(value);
  property.linkedToContent = linked;
  return property;
}

PropertyOutline Text(std::u16string_view name, std::u16string_view value) {
  return P(name, platform::kPropertyString, Variant::String(std::u16string(value)));
}

// Builds a template description step by step.
struct Template {
  TemplateOutline content;
  Template& Body(std::vector<FieldOutline> fields) {
    content.bodyFields = std::move(fields);
    return *this;
  }
  Template& Table(std::vector<FieldOutline> fields) {
    content.tableFields = std::move(fields);
    return *this;
  }
  Template& Boxes(std::vector<std::vector<FieldOutline>> boxes) {
    content.textBoxes = std::move(boxes);
    return *this;
  }
  Template& Pictures(int count) {
    content.picturesWithoutText = count;
    return *this;
  }
  Template& Groups(std::vector<std::vector<TextBoxOutline>> groups) {
    content.groups = std::move(groups);
    return *this;
  }
  Template& Stories(StoriesOutline stories) {
    content.stories = std::move(stories);
    return *this;
  }
  Template& Props(std::vector<PropertyOutline> properties) {
    content.properties = std::move(properties);
    return *this;
  }
  operator const TemplateOutline&() const { return content; }
};

}  // namespace

void WordContract::SetUp() {
  fixture_ = GetParam()();
  app_ = fixture_->Application();
  ASSERT_NE(app_, nullptr);
}

void WordContract::TearDown() {
  app_.reset();
  if (fixture_) fixture_->TearDown();
}

std::shared_ptr<platform::Document> WordContract::NewDocument(const TemplateOutline& content) {
  const std::u16string name = fixture_->MakeTemplate(content);
  return app_->Documents()->Add(name, platform::kFalse, platform::kWdNewDocument, kTrue);
}

std::vector<std::u16string> WordContract::Codes(const std::shared_ptr<platform::Fields>& fields) {
  std::vector<std::u16string> codes;
  for (int32_t i = 1; i <= fields->Count(); ++i) codes.push_back(fields->Item(i)->Code()->Text());
  return codes;
}

std::vector<std::u16string> WordContract::Results(const std::shared_ptr<platform::Fields>& fields) {
  std::vector<std::u16string> results;
  for (int32_t i = 1; i <= fields->Count(); ++i) {
    results.push_back(fields->Item(i)->Result()->Text());
  }
  return results;
}

std::vector<std::u16string> WordContract::Names(
    const std::shared_ptr<platform::DocumentProperties>& properties) {
  std::vector<std::u16string> names;
  for (int32_t i = 1; i <= properties->Count(); ++i) names.push_back(properties->Item(i)->Name());
  return names;
}

// --- Documents ---

TEST_P(WordContract, AddCopiesTheTemplateContent) {
  TemplateOutline letter;
  letter.bodyFields = {F(kCompany, u"会社"), F(u" DATE ", u"2001/01/01")};
  letter.tableFields = {F(kName, u"名")};
  letter.textBoxes = {{F(kName, u"箱の名")}};
  letter.picturesWithoutText = 1;
  letter.properties = {Text(u"作成者", u"総務"),
                       P(u"部数", platform::kPropertyNumber, Variant::Int32(3))};
  const int32_t before = app_->Documents()->Count();

  auto doc = NewDocument(letter);

  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(app_->Documents()->Count(), before + 1);
  EXPECT_EQ(Codes(doc->Fields()), (std::vector<std::u16string>{std::u16string(kCompany), u" DATE ",
                                                               std::u16string(kName)}));
  EXPECT_EQ(Results(doc->Fields()), (std::vector<std::u16string>{u"会社", u"2001/01/01", u"名"}));
  EXPECT_EQ(doc->Shapes()->Count(), 2);
  EXPECT_EQ(Codes(doc->Shapes()->Item(1)->TextFrame()->TextRange()->Fields()),
            std::vector<std::u16string>{std::u16string(kName)});
  auto props = doc->CustomDocumentProperties();
  EXPECT_EQ(Names(props), (std::vector<std::u16string>{u"作成者", u"部数"}));
  EXPECT_EQ(props->Item(u"作成者")->Value(), Variant::String(u"総務"));
  EXPECT_EQ(props->Item(u"部数")->Value(), Variant::Int32(3));
}

TEST_P(WordContract, AddFromABrokenTemplateRaisesAndCreatesNothing) {
  const int32_t before = app_->Documents()->Count();
  EXPECT_THROW(app_->Documents()->Add(fixture_->BrokenTemplateName(), platform::kFalse,
                                      platform::kWdNewDocument, kTrue),
               ComError);
  EXPECT_EQ(app_->Documents()->Count(), before);
}

TEST_P(WordContract, DocumentsFromOneTemplateAreIndependentCopies) {
  TemplateOutline letter;
  letter.bodyFields = {F(kCompany, u"旧")};
  letter.properties = {Text(u"OUTLOOK$会社名", u"旧")};
  const std::u16string name = fixture_->MakeTemplate(letter);
  auto add = [&] {
    return app_->Documents()->Add(name, platform::kFalse, platform::kWdNewDocument, kTrue);
  };
  auto first = add();
  first->CustomDocumentProperties()->Item(u"OUTLOOK$会社名")->SetValue(Variant::String(u"新"));
  first->Fields()->Item(1)->Update();

  auto second = add();
  EXPECT_EQ(second->CustomDocumentProperties()->Item(u"OUTLOOK$会社名")->Value(),
            Variant::String(u"旧"));
  EXPECT_EQ(second->Fields()->Item(1)->Result()->Text(), u"旧");
  EXPECT_EQ(first->Fields()->Item(1)->Result()->Text(), u"新");
}

TEST_P(WordContract, DocumentAnswersApplicationUntilClosed) {
  auto doc = NewDocument(Template().Props({Text(u"a", u"1")}));
  auto props = doc->CustomDocumentProperties();
  auto prop = props->Item(u"a");
  auto fields = doc->Fields();
  auto word = platform::As<platform::WordApplication>(doc->Application());
  ASSERT_NE(word, nullptr);
  EXPECT_NO_THROW(word->Caption());
  const int32_t open = app_->Documents()->Count();

  doc->Close(platform::kWdDoNotSaveChanges);

  EXPECT_EQ(app_->Documents()->Count(), open - 1);
  EXPECT_THROW(doc->Application(), ComError);
  EXPECT_THROW(doc->Fields(), ComError);
  EXPECT_THROW(props->Count(), ComError);
  EXPECT_THROW(prop->Value(), ComError);
  EXPECT_THROW(fields->Count(), ComError);
  EXPECT_NO_THROW(app_->Caption());  // Word itself still answers
}

TEST_P(WordContract, QuitMakesWordAndItsDocumentsRaise) {
  auto doc = NewDocument(Template());
  auto documents = app_->Documents();
  EXPECT_NO_THROW(app_->Application());

  app_->Quit(platform::kWdDoNotSaveChanges);

  EXPECT_THROW(app_->Application(), ComError);
  EXPECT_THROW(app_->Caption(), ComError);
  EXPECT_THROW(documents->Count(), ComError);
  EXPECT_THROW(doc->Application(), ComError);
}

TEST_P(WordContract, VisibleReadsBackWhatWasSet) {
  app_->SetVisible(kTrue);
  EXPECT_EQ(app_->Visible(), kTrue);
  app_->SetVisible(platform::kFalse);
  EXPECT_EQ(app_->Visible(), platform::kFalse);
}

// --- Custom properties ---

TEST_P(WordContract, LookupByNameFindsPresentAndRaisesForAbsentNames) {
  auto props = NewDocument(Template().Props({Text(u"SENDNOTE$PREFIX", u"ABC$")}))
                   ->CustomDocumentProperties();
  EXPECT_EQ(props->Item(u"SENDNOTE$PREFIX")->Name(), u"SENDNOTE$PREFIX");
  EXPECT_EQ(props->Item(u"sendnote$prefix")->Name(), u"SENDNOTE$PREFIX");  // case-blind
  EXPECT_THROW(props->Item(u"SENDNOTE$PROPERTY"), ComError);
  EXPECT_THROW(props->Item(u"SENDNOTE$PREFI"), ComError);  // no prefix match
  EXPECT_THROW(props->Item(u""), ComError);
}

TEST_P(WordContract, AddAppendsInEnumerationOrder) {
  auto props = NewDocument(Template().Props({Text(u"b", u"1"), Text(u"a", u"2")}))
                   ->CustomDocumentProperties();
  auto added = props->Add(u"OUTLOOK$宛先", platform::kFalse, platform::kPropertyString,
                          Variant::String(u"山田 太郎 様"));
  EXPECT_EQ(added->Name(), u"OUTLOOK$宛先");
  EXPECT_EQ(added->Type(), platform::kPropertyString);
  EXPECT_EQ(added->LinkToContent(), platform::kFalse);
  EXPECT_EQ(Names(props), (std::vector<std::u16string>{u"b", u"a", u"OUTLOOK$宛先"}));
  EXPECT_EQ(props->Item(u"OUTLOOK$宛先")->Value(), Variant::String(u"山田 太郎 様"));
  EXPECT_THROW(props->Item(0), ComError);
  EXPECT_THROW(props->Item(4), ComError);
}

TEST_P(WordContract, AddOfAnExistingNameRaisesAndKeepsTheProperty) {
  auto props = NewDocument(Template().Props({Text(u"Name", u"old")}))->CustomDocumentProperties();
  EXPECT_THROW(
      props->Add(u"Name", platform::kFalse, platform::kPropertyString, Variant::String(u"new")),
      ComError);
  EXPECT_THROW(
      props->Add(u"NAME", platform::kFalse, platform::kPropertyString, Variant::String(u"new")),
      ComError);
  EXPECT_EQ(props->Count(), 1);
  EXPECT_EQ(props->Item(u"Name")->Value(), Variant::String(u"old"));
}

TEST_P(WordContract, AddConvertsTheValueToTheType) {
  auto props = NewDocument(Template())->CustomDocumentProperties();
  struct Case {
    const char16_t* name;
    int32_t type;
    Variant given;
    Variant stored;
  } cases[] = {
      {u"marker", platform::kPropertyBoolean, Variant::String(u"True"), Variant::Bool(kTrue)},
      {u"lower", platform::kPropertyBoolean, Variant::String(u"false"), Variant::Bool(0)},
      {u"flagNumber", platform::kPropertyBoolean, Variant::Int32(0), Variant::Bool(0)},
      {u"count", platform::kPropertyNumber, Variant::String(u"12"), Variant::Int32(12)},
      {u"text", platform::kPropertyString, Variant::Int32(12), Variant::String(u"12")},
      {u"yes", platform::kPropertyString, Variant::Bool(kTrue), Variant::String(u"True")},
      {u"empty", platform::kPropertyString, Variant::String(u""), Variant::String(u"")},
      {u"ratio", platform::kPropertyFloat, Variant::String(u"1.5"), Variant::Double(1.5)},
  };
  for (const auto& c : cases) {
    auto added = props->Add(c.name, platform::kFalse, c.type, c.given);
    auto read = props->Item(c.name)->Value();
    EXPECT_EQ(read, c.stored) << platform::ToUtf8(c.name) << ": " << Show(read);
    EXPECT_EQ(props->Item(c.name)->Type(), c.type) << platform::ToUtf8(c.name);
  }
}

TEST_P(WordContract, AddOfAnUnconvertibleValueRaisesAndAddsNothing) {
  auto props = NewDocument(Template())->CustomDocumentProperties();
  EXPECT_THROW(
      props->Add(u"n", platform::kFalse, platform::kPropertyNumber, Variant::String(u"十二")),
      ComError);
  EXPECT_THROW(
      props->Add(u"b", platform::kFalse, platform::kPropertyBoolean, Variant::String(u"maybe")),
      ComError);
  EXPECT_EQ(props->Count(), 0);
  EXPECT_THROW(props->Item(u"n"), ComError);
}

TEST_P(WordContract, EveryOfficeTypeKeepsItsKindOfValue) {
  auto props = NewDocument(Template().Props({
                               P(u"n", platform::kPropertyNumber, Variant::Int32(-7)),
                               P(u"b", platform::kPropertyBoolean, Variant::Bool(kTrue)),
                               P(u"d", platform::kPropertyDate, Variant::Date(36892)),
                               P(u"s", platform::kPropertyString, Variant::String(u"文字")),
                               P(u"f", platform::kPropertyFloat, Variant::Double(2.25)),
                           }))
                   ->CustomDocumentProperties();
  EXPECT_EQ(props->Item(u"n")->Value(), Variant::Int32(-7));
  EXPECT_EQ(props->Item(u"b")->Value(), Variant::Bool(kTrue));
  EXPECT_EQ(props->Item(u"d")->Value(), Variant::Date(36892));  // 2001-01-01
  EXPECT_EQ(props->Item(u"s")->Value(), Variant::String(u"文字"));
  EXPECT_EQ(props->Item(u"f")->Value(), Variant::Double(2.25));
  const int32_t types[] = {1, 2, 3, 4, 5};
  for (int32_t i = 1; i <= 5; ++i) EXPECT_EQ(props->Item(i)->Type(), types[i - 1]);
}

TEST_P(WordContract, ChangingTheTypeConvertsTheValue) {
  auto props = NewDocument(Template().Props({
                               P(u"OUTLOOK$会社名", platform::kPropertyNumber, Variant::Int32(12)),
                               Text(u"flag", u"True"),
                               Text(u"word", u"abc"),
                           }))
                   ->CustomDocumentProperties();
  auto number = props->Item(u"OUTLOOK$会社名");
  number->SetType(platform::kPropertyString);
  EXPECT_EQ(number->Type(), platform::kPropertyString);
  EXPECT_EQ(number->Value(), Variant::String(u"12"));
  number->SetValue(Variant::String(u"株式会社 例"));
  EXPECT_EQ(props->Item(u"OUTLOOK$会社名")->Value(), Variant::String(u"株式会社 例"));

  auto flag = props->Item(u"flag");
  flag->SetType(platform::kPropertyBoolean);
  EXPECT_EQ(flag->Value(), Variant::Bool(kTrue));

  auto word = props->Item(u"word");
  EXPECT_THROW(word->SetType(platform::kPropertyNumber), ComError);
  EXPECT_EQ(word->Type(), platform::kPropertyString);  // unchanged after the refusal
  EXPECT_EQ(word->Value(), Variant::String(u"abc"));
}

TEST_P(WordContract, TextValuesHoldAtMostWordsTwoHundredFiftyFiveCharacters) {
  auto props = NewDocument(Template().Props({Text(u"long", u"short")}))->CustomDocumentProperties();
  const std::u16string limit(255, u'あ');
  props->Add(u"fits", platform::kFalse, platform::kPropertyString, Variant::String(limit));
  EXPECT_EQ(props->Item(u"fits")->Value(), Variant::String(limit));
  EXPECT_THROW(props->Add(u"over", platform::kFalse, platform::kPropertyString,
                          Variant::String(limit + u"x")),
               ComError);
  EXPECT_EQ(props->Count(), 2);  // nothing added
  auto existing = props->Item(u"long");
  EXPECT_THROW(existing->SetValue(Variant::String(limit + u"x")), ComError);
  EXPECT_EQ(existing->Value(), Variant::String(u"short"));
}

TEST_P(WordContract, SettingTheValueConvertsToThePropertyType) {
  auto props =
      NewDocument(Template().Props({
                      P(u"SENDNOTE$PROPERTY", platform::kPropertyBoolean, Variant::Bool(kTrue)),
                      P(u"n", platform::kPropertyNumber, Variant::Int32(1)),
                  }))
          ->CustomDocumentProperties();
  auto marker = props->Item(u"SENDNOTE$PROPERTY");
  marker->SetValue(Variant::String(u"False"));
  EXPECT_EQ(marker->Value(), Variant::Bool(0));
  marker->SetValue(Variant::String(u"True"));
  EXPECT_EQ(marker->Value(), Variant::Bool(kTrue));

  auto n = props->Item(u"n");
  n->SetValue(Variant::String(u"42"));
  EXPECT_EQ(n->Value(), Variant::Int32(42));
  EXPECT_THROW(n->SetValue(Variant::String(u"forty-two")), ComError);
  EXPECT_EQ(n->Value(), Variant::Int32(42));
}

TEST_P(WordContract, LinkedPropertiesReportTheLinkAndTheirValue) {
  PropertyOutline linked = Text(u"OUTLOOK$名", u"リンク先の名");
  linked.linkedToContent = true;
  auto props =
      NewDocument(Template().Props({linked, Text(u"plain", u"x")}))->CustomDocumentProperties();
  EXPECT_EQ(props->Item(u"OUTLOOK$名")->LinkToContent(), kTrue);
  EXPECT_EQ(props->Item(u"OUTLOOK$名")->Value(), Variant::String(u"リンク先の名"));
  EXPECT_EQ(props->Item(u"plain")->LinkToContent(), platform::kFalse);
}

TEST_P(WordContract, DeleteRemovesThePropertyAndItsHandleRaises) {
  auto props = NewDocument(Template().Props({Text(u"a", u"1"), Text(u"b", u"2"), Text(u"c", u"3")}))
                   ->CustomDocumentProperties();
  auto b = props->Item(u"b");
  b->Delete();
  EXPECT_EQ(Names(props), (std::vector<std::u16string>{u"a", u"c"}));
  EXPECT_THROW(props->Item(u"b"), ComError);
  EXPECT_THROW(b->Name(), ComError);
  EXPECT_THROW(b->Delete(), ComError);
  // The name is free again.
  props->Add(u"b", platform::kFalse, platform::kPropertyString, Variant::String(u"new"));
  EXPECT_EQ(Names(props), (std::vector<std::u16string>{u"a", u"c", u"b"}));
}

TEST_P(WordContract, DeletingDuringEnumerationKeepsOtherHandlesValid) {
  auto props = NewDocument(Template().Props({Text(u"OUTLOOK$名", u"1"), Text(u"keep1", u"2"),
                                             Text(u"OUTLOOK$姓", u"3"),
                                             Text(u"OUTLOOK$会社名", u"4"), Text(u"keep2", u"5")}))
                   ->CustomDocumentProperties();
  // Take every handle first, then delete some while walking them.
  std::vector<std::shared_ptr<platform::DocumentProperty>> handles;
  for (int32_t i = 1; i <= props->Count(); ++i) handles.push_back(props->Item(i));
  for (const auto& p : handles) {
    if (p->Name().starts_with(u"OUTLOOK$")) p->Delete();
  }
  EXPECT_EQ(Names(props), (std::vector<std::u16string>{u"keep1", u"keep2"}));
  EXPECT_EQ(handles[1]->Value(), Variant::String(u"2"));
  EXPECT_EQ(handles[4]->Value(), Variant::String(u"5"));

  // Walking by index from the end while deleting sees every item once.
  props->Add(u"OUTLOOK$x", platform::kFalse, platform::kPropertyString, Variant::String(u""));
  props->Add(u"OUTLOOK$y", platform::kFalse, platform::kPropertyString, Variant::String(u""));
  int visited = 0;
  for (int32_t i = props->Count(); i >= 1; --i, ++visited) {
    auto p = props->Item(i);
    if (p->Name().starts_with(u"OUTLOOK$")) p->Delete();
  }
  EXPECT_EQ(visited, 4);
  EXPECT_EQ(Names(props), (std::vector<std::u16string>{u"keep1", u"keep2"}));
}

// --- Fields ---

TEST_P(WordContract, FieldsComeInDocumentOrderWithTheirTypes) {
  auto doc =
      NewDocument(Template()
                      .Body({F(u" DATE \\@ \"yyyy/MM/dd\" ", u"d"), F(kCompany, u"c")})
                      .Table({F(u" docproperty \"x\" ", u"t1"), F(u" MERGEFIELD 姓 ", u"t2")}));
  auto fields = doc->Fields();
  ASSERT_EQ(fields->Count(), 4);
  EXPECT_EQ(Results(fields), (std::vector<std::u16string>{u"d", u"c", u"t1", u"t2"}));
  EXPECT_EQ(fields->Item(1)->Type(), 31);  // DATE
  EXPECT_EQ(fields->Item(2)->Type(), platform::kWdFieldDocProperty);
  EXPECT_EQ(fields->Item(3)->Type(), platform::kWdFieldDocProperty);  // any letter case
  EXPECT_EQ(fields->Item(4)->Type(), 59);                             // MERGEFIELD
  EXPECT_THROW(fields->Item(0), ComError);
  EXPECT_THROW(fields->Item(5), ComError);
}

TEST_P(WordContract, OnlyDocPropertyCodesHaveTypeDocProperty) {
  auto doc = NewDocument(Template().Body({F(u" REF OUTLOOK$会社名 ", u""), F(u" PAGE ", u"1"),
                                          F(u" DOCVARIABLE \"OUTLOOK$会社名\" ", u""),
                                          F(u" TIME ", u""), F(u"DOCPROPERTY \"a\"", u"")}));
  auto fields = doc->Fields();
  EXPECT_EQ(fields->Item(1)->Type(), 3);
  EXPECT_EQ(fields->Item(2)->Type(), 33);
  EXPECT_NE(fields->Item(3)->Type(), platform::kWdFieldDocProperty);
  EXPECT_EQ(fields->Item(4)->Type(), 32);
  EXPECT_EQ(fields->Item(5)->Type(), platform::kWdFieldDocProperty);  // no blanks around
}

TEST_P(WordContract, CodeTextIsWrittenExactlyAndRederivesTheType) {
  auto doc = NewDocument(Template().Body({F(kCompany, u"会社")}));
  auto field = doc->Fields()->Item(1);
  const std::u16string renamed = u" DOCPROPERTY \"ABC$会社名\" \\* MERGEFORMAT ";
  field->Code()->SetText(renamed);
  EXPECT_EQ(doc->Fields()->Item(1)->Code()->Text(), renamed);
  EXPECT_EQ(field->Type(), platform::kWdFieldDocProperty);
  EXPECT_EQ(field->Result()->Text(), u"会社");  // the result waits for an update

  field->Code()->SetText(u" DATE ");
  EXPECT_EQ(field->Type(), 31);
  field->Code()->SetText(renamed);
  EXPECT_EQ(field->Type(), platform::kWdFieldDocProperty);
}

TEST_P(WordContract, UpdateShowsThePropertysCurrentValue) {
  auto doc = NewDocument(
      Template()
          .Body({F(kCompany, u"旧"), F(u" DOCPROPERTY OUTLOOK$名 ", u"旧"),
                 F(u" DOCPROPERTY \"部数\" ", u""), F(u" DOCPROPERTY \"SENDNOTE$PROPERTY\" ", u"")})
          .Props({Text(u"OUTLOOK$会社名", u"旧"), Text(u"OUTLOOK$名", u"花子"),
                  P(u"部数", platform::kPropertyNumber, Variant::Int32(12)),
                  P(u"SENDNOTE$PROPERTY", platform::kPropertyBoolean, Variant::Bool(kTrue))}));
  doc->CustomDocumentProperties()->Item(u"OUTLOOK$会社名")->SetValue(Variant::String(u"新会社"));
  auto fields = doc->Fields();
  for (int32_t i = 1; i <= fields->Count(); ++i) EXPECT_EQ(fields->Item(i)->Update(), kTrue);
  EXPECT_EQ(Results(fields), (std::vector<std::u16string>{u"新会社", u"花子", u"12", u"Y"}));

  doc->CustomDocumentProperties()->Item(u"SENDNOTE$PROPERTY")->SetValue(Variant::Bool(0));
  fields->Item(4)->Update();
  EXPECT_EQ(fields->Item(4)->Result()->Text(), u"N");
}

TEST_P(WordContract, UpdateAppliesTheCaseSwitchesToTheResult) {
  const struct {
    std::u16string switches, result;
  } cases[] = {
      {u"\\* Upper", u"ACME ÉCOLE ＡBC 山田"},
      {u"\\* upper \\* MERGEFORMAT", u"ACME ÉCOLE ＡBC 山田"},
      {u"\\*Lower", u"acme école ａbc 山田"},
      {u"\\* FirstCap", u"Acme école ａBc 山田"},
      {u"\\* Caps", u"Acme École ＡBc 山田"},
      {u"\\* MERGEFORMAT", u"acme école ａBc 山田"},
      {u"\\* CHARFORMAT", u"acme école ａBc 山田"},
      // Date and number pictures do not change a text property.
      {u"\\@ \"yyyy/MM/dd\"", u"acme école ａBc 山田"},
      {u"\\# \"#,##0\"", u"acme école ａBc 山田"},
      {u"", u"acme école ａBc 山田"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.switches));
    auto doc =
        NewDocument(Template()
                        .Body({F(u" DOCPROPERTY \"OUTLOOK$会社名\" " + c.switches + u" ", u"")})
                        .Props({Text(u"OUTLOOK$会社名", u"acme école ａBc 山田")}));
    auto field = doc->Fields()->Item(1);
    field->Update();
    EXPECT_EQ(field->Result()->Text(), c.result);
    doc->Close(platform::kWdDoNotSaveChanges);
  }
}

TEST_P(WordContract, UpdateOfAMissingPropertyShowsWordsErrorText) {
  auto doc = NewDocument(Template().Body({F(kCompany, u"会社")}));
  auto field = doc->Fields()->Item(1);
  field->Update();
  EXPECT_EQ(field->Result()->Text(), u"Error! Unknown document property name.");
  // Once the property exists the same field shows it.
  doc->CustomDocumentProperties()->Add(u"OUTLOOK$会社名", platform::kFalse,
                                       platform::kPropertyString, Variant::String(u"例"));
  field->Update();
  EXPECT_EQ(field->Result()->Text(), u"例");
}

TEST_P(WordContract, UpdateAfterRenamingTheCodeShowsTheNewProperty) {
  auto doc =
      NewDocument(Template()
                      .Body({F(kCompany, u"")})
                      .Props({Text(u"OUTLOOK$会社名", u"古い"), Text(u"ABC$会社名", u"新しい")}));
  auto field = doc->Fields()->Item(1);
  field->Code()->SetText(u" DOCPROPERTY \"ABC$会社名\" \\* MERGEFORMAT ");
  field->Update();
  EXPECT_EQ(field->Result()->Text(), u"新しい");
}

TEST_P(WordContract, UpdatingDocPropertyFieldsLeavesOtherFieldsAlone) {
  auto doc = NewDocument(Template()
                             .Body({F(u" MERGEFIELD 会社名 ", u"«会社名»"), F(kCompany, u"")})
                             .Table({F(u" REF bm ", u"参照"), F(kName, u"")})
                             .Props({Text(u"OUTLOOK$会社名", u"社"), Text(u"OUTLOOK$名", u"名")}));
  auto fields = doc->Fields();
  for (int32_t i = 1; i <= fields->Count(); ++i) {
    if (fields->Item(i)->Type() == platform::kWdFieldDocProperty) fields->Item(i)->Update();
  }
  EXPECT_EQ(Results(fields), (std::vector<std::u16string>{u"«会社名»", u"社", u"参照", u"名"}));
  EXPECT_EQ(Codes(fields)[0], u" MERGEFIELD 会社名 ");
}

TEST_P(WordContract, LinkedPropertyFieldShowsTheLinkedValue) {
  PropertyOutline linked = Text(u"OUTLOOK$名", u"リンク値");
  linked.linkedToContent = true;
  auto doc = NewDocument(Template().Body({F(kName, u"")}).Props({linked}));
  auto field = doc->Fields()->Item(1);
  field->Update();
  EXPECT_EQ(field->Result()->Text(), u"リンク値");
}

// --- Shapes ---

TEST_P(WordContract, TextBoxFieldsAreReachedThroughTheTextFrame) {
  auto doc = NewDocument(Template()
                             .Body({F(kCompany, u"")})
                             .Boxes({{F(kName, u"a")}, {F(kCompany, u"b"), F(u" PAGE ", u"1")}})
                             .Props({Text(u"OUTLOOK$会社名", u"社"), Text(u"OUTLOOK$名", u"名")}));
  auto shapes = doc->Shapes();
  ASSERT_EQ(shapes->Count(), 2);
  auto second = shapes->Item(2)->TextFrame()->TextRange()->Fields();
  EXPECT_EQ(Codes(second), (std::vector<std::u16string>{std::u16string(kCompany), u" PAGE "}));
  second->Item(1)->Update();
  EXPECT_EQ(Results(second), (std::vector<std::u16string>{u"社", u"1"}));
  // The body's fields do not include the text boxes' fields.
  EXPECT_EQ(doc->Fields()->Count(), 1);
  EXPECT_EQ(doc->Fields()->Item(1)->Result()->Text(), u"");

  auto first = shapes->Item(1)->TextFrame()->TextRange()->Fields();
  first->Item(1)->Update();
  EXPECT_EQ(first->Item(1)->Result()->Text(), u"名");
  EXPECT_THROW(shapes->Item(3), ComError);
}

TEST_P(WordContract, AShapeWithoutTextRaisesAtItsTextRange) {
  auto doc = NewDocument(Template().Boxes({{F(kName, u"")}}).Pictures(1));
  auto shapes = doc->Shapes();
  ASSERT_EQ(shapes->Count(), 2);
  EXPECT_NO_THROW(shapes->Item(1)->TextFrame()->TextRange());
  auto frame = shapes->Item(2)->TextFrame();
  EXPECT_THROW(frame->TextRange(), ComError);
}

// The stories of a template with a header (a field and a text box), a footer, a second
// section's header and a footnote.
StoriesOutline EveryStory() {
  StoriesOutline stories;
  stories.headerFields = {F(kCompany, u"h")};
  stories.headerTextBoxes = {{F(kName, u"hb")}};
  stories.footerFields = {F(kCompany, u"f")};
  stories.secondHeaderFields = {F(kName, u"h2")};
  stories.footnotes = {F(kCompany, u"n")};
  return stories;
}

TEST_P(WordContract, StoriesComeMainTextFirstEachTypeOnceLaterSectionsByNextStoryRange) {
  auto doc = NewDocument(Template()
                             .Body({F(kCompany, u"b")})
                             .Boxes({{F(kName, u"box")}})
                             .Stories(EveryStory())
                             .Props({Text(u"OUTLOOK$会社名", u"社"), Text(u"OUTLOOK$名", u"名")}));
  const auto stories = doc->StoryRanges()->Items();
  std::vector<int32_t> types;
  for (const auto& story : stories) types.push_back(story->StoryType());
  // In WdStoryType order.
  ASSERT_EQ(types,
            (std::vector<int32_t>{platform::kWdMainTextStory, platform::kWdFootnotesStory,
                                  platform::kWdTextFrameStory, platform::kWdPrimaryHeaderStory,
                                  platform::kWdPrimaryFooterStory}));
  EXPECT_EQ(doc->StoryRanges()->Count(), 5);
  const auto story = [&](int32_t type) {
    for (const auto& s : stories) {
      if (s->StoryType() == type) return s;
    }
    return std::shared_ptr<platform::Range>();
  };
  EXPECT_EQ(Results(story(platform::kWdMainTextStory)->Fields()),
            std::vector<std::u16string>{u"b"});
  EXPECT_EQ(Results(story(platform::kWdTextFrameStory)->Fields()),
            std::vector<std::u16string>{u"box"});
  EXPECT_EQ(Results(story(platform::kWdFootnotesStory)->Fields()),
            std::vector<std::u16string>{u"n"});
  EXPECT_EQ(Results(story(platform::kWdPrimaryFooterStory)->Fields()),
            std::vector<std::u16string>{u"f"});
  EXPECT_EQ(story(platform::kWdFootnotesStory)->NextStoryRange(), nullptr);
  EXPECT_EQ(story(platform::kWdPrimaryFooterStory)->NextStoryRange(), nullptr);
  EXPECT_EQ(story(platform::kWdMainTextStory)->NextStoryRange(), nullptr);

  // The first section's header, its text box, then the second section's header.
  const auto header = story(platform::kWdPrimaryHeaderStory);
  EXPECT_EQ(Results(header->Fields()), std::vector<std::u16string>{u"h"});
  auto shapes = header->ShapeRange();
  ASSERT_EQ(shapes->Count(), 1);
  auto boxText = shapes->Item(1)->TextFrame()->TextRange();
  EXPECT_EQ(boxText->StoryType(), platform::kWdTextFrameStory);
  EXPECT_EQ(Results(boxText->Fields()), std::vector<std::u16string>{u"hb"});
  const auto second = header->NextStoryRange();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->StoryType(), platform::kWdPrimaryHeaderStory);
  EXPECT_EQ(Results(second->Fields()), std::vector<std::u16string>{u"h2"});
  EXPECT_EQ(second->NextStoryRange(), nullptr);
  EXPECT_EQ(story(platform::kWdPrimaryFooterStory)->ShapeRange()->Count(), 0);

  // A header's fields update as the main text's do.
  header->Fields()->Item(1)->Update();
  second->Fields()->Item(1)->Update();
  EXPECT_EQ(Results(header->Fields()), std::vector<std::u16string>{u"社"});
  EXPECT_EQ(Results(second->Fields()), std::vector<std::u16string>{u"名"});
  // The main text's shapes are not a header's.
  EXPECT_EQ(doc->Shapes()->Count(), 1);
}

TEST_P(WordContract, ADocumentWithoutOtherStoriesHasTheMainTextOnly) {
  auto doc = NewDocument(Template().Body({F(kCompany, u"b")}));
  const auto stories = doc->StoryRanges()->Items();
  ASSERT_EQ(stories.size(), 1u);
  EXPECT_EQ(stories[0]->StoryType(), platform::kWdMainTextStory);
  EXPECT_EQ(stories[0]->Fields()->Count(), 1);
  EXPECT_EQ(stories[0]->ShapeRange()->Count(), 0);
}

TEST_P(WordContract, AGroupsTextBoxesAreItsItemsAndItHasNoTextOfItsOwn) {
  auto doc =
      NewDocument(Template()
                      .Boxes({{F(kName, u"single")}})
                      .Groups({{{F(kCompany, u"g1")}, {F(kName, u"g2"), F(kCompany, u"g3")}}})
                      .Props({Text(u"OUTLOOK$会社名", u"社")}));
  auto shapes = doc->Shapes();
  ASSERT_EQ(shapes->Count(), 2);
  auto group = shapes->Item(2);
  auto error = [](auto&& call) -> int32_t {
    try {
      call();
    } catch (const ComError& e) {
      return e.Number();
    }
    return 0;
  };
  EXPECT_EQ(error([&] { group->TextFrame()->TextRange(); }), platform::kErrWordNotAvailable);
  EXPECT_EQ(error([&] { shapes->Item(1)->GroupItems(); }), platform::kErrWordNotAvailable);
  auto items = group->GroupItems();
  ASSERT_EQ(items->Count(), 2);
  EXPECT_EQ(Results(items->Item(1)->TextFrame()->TextRange()->Fields()),
            std::vector<std::u16string>{u"g1"});
  auto second = items->Item(2)->TextFrame()->TextRange()->Fields();
  EXPECT_EQ(Results(second), (std::vector<std::u16string>{u"g2", u"g3"}));
  second->Item(2)->Update();
  EXPECT_EQ(Results(items->Item(2)->TextFrame()->TextRange()->Fields()),
            (std::vector<std::u16string>{u"g2", u"社"}));
  // The text frame story goes through every text box of the main text, groups' included.
  auto frame = doc->StoryRanges()->Items().at(1);  // after the main text
  ASSERT_EQ(frame->StoryType(), platform::kWdTextFrameStory);
  std::vector<std::u16string> chain;
  for (auto range = frame; range; range = range->NextStoryRange()) {
    for (const auto& result : Results(range->Fields())) chain.push_back(result);
  }
  EXPECT_EQ(chain, (std::vector<std::u16string>{u"single", u"g1", u"g2", u"社"}));
}

}  // namespace sendnote::testing
