// PropFieldUpdate and PropFieldRename: which DOCPROPERTY fields they touch, what a
// renamed code looks like, and the 16-bit count.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/modFunc.h"
#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "tests/system/WriteDocPropTestSupport.h"

namespace sendnote {
namespace {

using inmemory::WordContent;
using inmemory::WordFieldContent;
using testing::DocPropertyField;
using testing::TextProperty;

class PropFieldTest : public ::testing::Test {
 protected:
  // A document whose body holds `codes`, each field showing "old", with the properties
  // OUTLOOK$会社名 and ABC$会社名.
  void Open(const std::vector<std::u16string>& codes) {
    WordContent content;
    for (const auto& code : codes) content.bodyFields.push_back({code, u"old", false});
    content.properties.push_back(TextProperty(u"OUTLOOK$会社名", u"山田商事"));
    content.properties.push_back(TextProperty(u"ABC$会社名", u"ABC商事"));
    document_ = testing::NewDocument(*word_, content);
  }
  std::vector<WordFieldContent> Body() const { return document_->Snapshot().bodyFields; }

  std::shared_ptr<inmemory::WordApp> word_ = inmemory::WordApp::Create();
  std::shared_ptr<inmemory::WordDocument> document_;
};

const std::u16string kQuoted = u" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT ";

TEST_F(PropFieldTest, UpdateRefreshesOnlyQuotedDocPropertyFieldsOfThePrefix) {
  Open({
      kQuoted,
      u" DOCPROPERTY OUTLOOK$会社名 \\* MERGEFORMAT ",  // name without quotes
      u" DATE \\@ \"OUTLOOK$会社名\" ",                 // another field type
      u" DOCPROPERTY \"ABC$会社名\" ",                  // another prefix
      u" DOCPROPERTY \"X-OUTLOOK$会社名\" ",            // the prefix not at the start
      u" DOCPROPERTY \"outlook$会社名\" ",              // other letter case
      u" DOCPROPERTY \"\" ",                            // an empty name
      u"DOCPROPERTY  \"OUTLOOK$会社名\"",               // odd blanks, still a match
  });
  EXPECT_EQ(PropFieldUpdate(document_->Fields(), u"OUTLOOK$"), 2);
  const auto body = Body();
  EXPECT_EQ(body[0].result, u"山田商事");
  for (size_t i = 1; i < 7; ++i) EXPECT_EQ(body[i].result, u"old") << i;
  EXPECT_EQ(body[7].result, u"山田商事");
  // Updating changes no code.
  EXPECT_EQ(body[0].code, kQuoted);
}

TEST_F(PropFieldTest, UpdateWithAnEmptyPrefixTakesEveryNamedDocPropertyField) {
  Open({kQuoted, u" DOCPROPERTY \"ABC$会社名\" ", u" DOCPROPERTY \"\" "});
  EXPECT_EQ(PropFieldUpdate(document_->Fields(), u""), 2);
  EXPECT_EQ(Body()[1].result, u"ABC商事");
  EXPECT_EQ(Body()[2].result, u"old");
}

TEST_F(PropFieldTest, RenameChangesOnlyThePrefixOfTheName) {
  Open({kQuoted, u"   DOCPROPERTY   \"OUTLOOK$姓\"\\* Upper  ", u" DOCPROPERTY OUTLOOK$会社名 ",
        u" REF \"OUTLOOK$会社名\" ", u" DOCPROPERTY \"ABC$会社名\" "});
  EXPECT_EQ(PropFieldRename(document_->Fields(), u"OUTLOOK$", u"ABC$"), 2);
  const auto body = Body();
  EXPECT_EQ(body[0].code, u" DOCPROPERTY \"ABC$会社名\" \\* MERGEFORMAT ");
  EXPECT_EQ(body[1].code, u"   DOCPROPERTY   \"ABC$姓\"\\* Upper  ");
  EXPECT_EQ(body[2].code, u" DOCPROPERTY OUTLOOK$会社名 ");
  EXPECT_EQ(body[3].code, u" REF \"OUTLOOK$会社名\" ");
  EXPECT_EQ(body[4].code, u" DOCPROPERTY \"ABC$会社名\" ");
  // Renaming leaves the results for the later update.
  for (const auto& field : body) EXPECT_EQ(field.result, u"old");
}

TEST_F(PropFieldTest, RenameToALongerShorterOrEqualPrefix) {
  Open({kQuoted});
  EXPECT_EQ(PropFieldRename(document_->Fields(), u"OUTLOOK$", u"OUTLOOK$"), 1);
  EXPECT_EQ(Body()[0].code, kQuoted);
  EXPECT_EQ(PropFieldRename(document_->Fields(), u"OUTLOOK$", u"私の接頭句_"), 1);
  EXPECT_EQ(Body()[0].code, u" DOCPROPERTY \"私の接頭句_会社名\" \\* MERGEFORMAT ");
  EXPECT_EQ(PropFieldRename(document_->Fields(), u"私の接頭句_", u""), 1);
  EXPECT_EQ(Body()[0].code, u" DOCPROPERTY \"会社名\" \\* MERGEFORMAT ");
  // An empty old prefix puts the new one in front of every named field.
  EXPECT_EQ(PropFieldRename(document_->Fields(), u"", u"Z$"), 1);
  EXPECT_EQ(Body()[0].code, u" DOCPROPERTY \"Z$会社名\" \\* MERGEFORMAT ");
}

TEST_F(PropFieldTest, FailuresOfAFieldPassToTheCaller) {
  Open({u" DATE ", kQuoted, kQuoted});
  const auto fields = document_->Fields();
  inmemory::FaultsOf(fields->Item(3)).FailOn(u"Update", platform::kErrDispException);
  EXPECT_THROW(PropFieldUpdate(fields, u"OUTLOOK$"), platform::ComError);
  // The fields before the failing one have been updated.
  EXPECT_EQ(Body()[1].result, u"山田商事");
  inmemory::FaultsOf(fields->Item(2)).FailOn(u"Code", platform::kErrDispException);
  EXPECT_THROW(PropFieldRename(fields, u"OUTLOOK$", u"ABC$"), platform::ComError);
  EXPECT_THROW(PropFieldUpdate(nullptr, u"OUTLOOK$"), platform::ComError);
}

// Fields made up for the cases the in-memory Word cannot hold: a code that Word would
// not give, and more fields than a 16-bit count holds.
class TestField : public platform::Field, public std::enable_shared_from_this<TestField> {
 public:
  class CodeRange : public platform::Range {
   public:
    explicit CodeRange(TestField& field) : field_(field) {}
    std::u16string TypeName() const override { return u"Range"; }
    std::shared_ptr<platform::Object> Application() override { return nullptr; }
    std::u16string Text() override { return field_.code; }
    void SetText(std::u16string_view text) override { field_.code = text; }
    std::shared_ptr<platform::Fields> Fields() override { return nullptr; }

   private:
    TestField& field_;
  };

  explicit TestField(std::u16string c) : code(std::move(c)) {}
  std::u16string TypeName() const override { return u"Field"; }
  std::shared_ptr<platform::Object> Application() override { return nullptr; }
  int32_t Type() override { return platform::kWdFieldDocProperty; }
  std::shared_ptr<platform::Range> Code() override { return std::make_shared<CodeRange>(*this); }
  std::shared_ptr<platform::Range> Result() override { return nullptr; }
  platform::Flag Update() override {
    ++updates;
    return platform::kTrue;
  }

  std::u16string code;
  int updates = 0;
};

class TestFields : public platform::Fields {
 public:
  TestFields(int32_t count, std::u16string code)
      : count_(count), field_(std::make_shared<TestField>(std::move(code))) {}
  std::u16string TypeName() const override { return u"Fields"; }
  std::shared_ptr<platform::Object> Application() override { return nullptr; }
  int32_t Count() override { return count_; }
  std::shared_ptr<platform::Field> Item(int32_t) override { return field_; }
  TestField& field() { return *field_; }

 private:
  int32_t count_;
  std::shared_ptr<TestField> field_;
};

TEST(PropFieldCountTest, MoreThan32767MatchingFieldsOverflow) {
  auto fits = std::make_shared<TestFields>(32767, u"DOCPROPERTY \"P$a\"");
  EXPECT_EQ(PropFieldUpdate(fits, u"P$"), 32767);

  auto tooMany = std::make_shared<TestFields>(32768, u"DOCPROPERTY \"P$a\"");
  try {
    PropFieldUpdate(tooMany, u"P$");
    ADD_FAILURE() << "no overflow";
  } catch (const platform::ComError& e) {
    EXPECT_EQ(e.Number(), platform::kErrOverflow);
  }
  EXPECT_EQ(tooMany->field().updates, 32768);

  // Non-matching fields do not count.
  auto others = std::make_shared<TestFields>(40000, u"DOCPROPERTY \"Q$a\"");
  EXPECT_EQ(PropFieldUpdate(others, u"P$"), 0);
}

TEST(PropFieldCountTest, RenameReplacesTheNameAtTheQuoteItWasReadFrom) {
  // A quote before the first blank is not the one that opens the name; the rename must
  // still replace the prefix of the name, not characters after that earlier quote.
  auto fields = std::make_shared<TestFields>(1, u"DOC\"X \"P$a\" \\* Upper");
  EXPECT_EQ(PropFieldRename(fields, u"P$", u"LONGER$"), 1);
  EXPECT_EQ(fields->field().code, u"DOC\"X \"LONGER$a\" \\* Upper");
}

}  // namespace
}  // namespace sendnote
