// PropFieldUpdate and PropFieldRename: which DOCPROPERTY fields they touch, what a
// renamed code looks like, and the 16-bit count.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "system/common/modFunc.h"
#include "tests/support/WriteDocPropTestSupport.h"

namespace sendnote {
namespace {

const std::u16string kQuoted = u" DOCPROPERTY \"OUTLOOK$会社名\" \\* MERGEFORMAT ";

class PropFieldTest : public ::testing::Test {
 protected:
  // A document whose body holds fields of these codes, each showing "old".
  void Open(const std::vector<std::u16string>& codes) {
    inmemory::WordContent content;
    content.properties = {testing::Prop(u"OUTLOOK$会社名", u"山田商事"),
                          testing::Prop(u"ABC$会社名", u"ABC商事")};
    for (const auto& code : codes) content.bodyFields.push_back({code, u"old", false});
    document_ = testing::NewDocument(*word_, content);
  }
  std::vector<std::u16string> Body(bool results) const {
    std::vector<std::u16string> out;
    for (const auto& f : document_->Snapshot().bodyFields)
      out.push_back(results ? f.result : f.code);
    return out;
  }

  std::shared_ptr<inmemory::WordApp> word_ = inmemory::WordApp::Create();
  std::shared_ptr<inmemory::WordDocument> document_;
};

// Fields that must never be touched for the prefix OUTLOOK$.
const std::vector<std::u16string> kOthers = {
    u" DOCPROPERTY OUTLOOK$会社名 \\* MERGEFORMAT ",  // name without quotes
    u" REF \"OUTLOOK$会社名\" ",                      // another field type
    u" DOCPROPERTY \"ABC$会社名\" ",                  // another prefix
    u" DOCPROPERTY \"X-OUTLOOK$会社名\" ",            // the prefix not at the start
    u" DOCPROPERTY \"outlook$会社名\" ",              // other letter case
    u" DOCPROPERTY \"\" "};

TEST_F(PropFieldTest, UpdateRefreshesOnlyQuotedDocPropertyFieldsOfThePrefix) {
  std::vector<std::u16string> codes = kOthers;
  codes.insert(codes.begin(), kQuoted);
  codes.push_back(u"DOCPROPERTY  \"OUTLOOK$会社名\"");
  Open(codes);
  EXPECT_EQ(PropFieldUpdate(document_->Fields(), u"OUTLOOK$"), 2);
  std::vector<std::u16string> expected(codes.size(), u"old");
  expected.front() = expected.back() = u"山田商事";
  EXPECT_EQ(Body(true), expected);
  EXPECT_EQ(Body(false), codes);
}

TEST_F(PropFieldTest, RenameChangesOnlyThePrefixOfTheName) {
  std::vector<std::u16string> codes = kOthers;
  codes.insert(codes.begin(), {kQuoted, u"   DOCPROPERTY   \"OUTLOOK$姓\"\\* Upper  "});
  Open(codes);
  EXPECT_EQ(PropFieldRename(document_->Fields(), u"OUTLOOK$", u"私の$"), 2);
  codes[0] = u" DOCPROPERTY \"私の$会社名\" \\* MERGEFORMAT ";
  codes[1] = u"   DOCPROPERTY   \"私の$姓\"\\* Upper  ";
  EXPECT_EQ(Body(false), codes);
  EXPECT_EQ(Body(true), std::vector<std::u16string>(codes.size(), u"old"));
  // Equal prefixes write the code back unchanged; a shorter one shortens the name.
  EXPECT_EQ(PropFieldRename(document_->Fields(), u"私の$", u"私の$"), 2);
  EXPECT_EQ(PropFieldRename(document_->Fields(), u"私の$", u""), 2);
  EXPECT_EQ(Body(false)[0], u" DOCPROPERTY \"会社名\" \\* MERGEFORMAT ");
}

// One DOCPROPERTY field seen `count` times: more fields than a 16-bit count holds, and
// codes Word itself would not give.
class RepeatedField : public platform::Fields, public platform::Field, public platform::Range {
 public:
  RepeatedField(int32_t count, std::u16string code) : count_(count), code_(std::move(code)) {}
  std::u16string TypeName() const override { return u"Field"; }
  std::shared_ptr<platform::Object> Application() override { return nullptr; }
  int32_t Count() override { return count_; }
  std::shared_ptr<platform::Field> Item(int32_t) override { return Self(); }
  int32_t Type() override { return platform::kWdFieldDocProperty; }
  std::shared_ptr<platform::Range> Code() override { return Self(); }
  std::shared_ptr<platform::Range> Result() override { return nullptr; }
  platform::Flag Update() override { return platform::kTrue; }
  std::u16string Text() override { return code_; }
  void SetText(std::u16string_view text) override { code_ = text; }
  std::shared_ptr<platform::Fields> Fields() override { return nullptr; }
  int32_t StoryType() override { return platform::kWdMainTextStory; }
  std::shared_ptr<platform::Range> NextStoryRange() override { return nullptr; }
  std::shared_ptr<platform::Shapes> ShapeRange() override { return nullptr; }

  // A reference that does not own: the test keeps the object.
  std::shared_ptr<RepeatedField> Self() { return {std::shared_ptr<void>(), this}; }

 private:
  int32_t count_;
  std::u16string code_;
};

TEST(PropFieldCountTest, MoreThan32767MatchingFieldsOverflow) {
  RepeatedField fits(32767, u"DOCPROPERTY \"P$a\"");
  EXPECT_EQ(PropFieldUpdate(fits.Self(), u"P$"), 32767);
  RepeatedField tooMany(32768, u"DOCPROPERTY \"P$a\"");
  try {
    PropFieldRename(tooMany.Self(), u"P$", u"P$");
    ADD_FAILURE() << "no overflow";
  } catch (const platform::ComError& e) {
    EXPECT_EQ(e.Number(), platform::kErrOverflow);
  }
  RepeatedField others(40000, u"DOCPROPERTY \"Q$a\"");
  EXPECT_EQ(PropFieldUpdate(others.Self(), u"P$"), 0);
}

TEST(PropFieldCountTest, RenameReplacesThePrefixAfterTheQuoteTheNameWasReadFrom) {
  // The first quote of this code comes before the field word ends; replacing after it
  // would cut "X " out of the code.
  RepeatedField field(1, u"DOC\"X \"P$a\" \\* Upper");
  EXPECT_EQ(PropFieldRename(field.Self(), u"P$", u"LONGER$"), 1);
  EXPECT_EQ(field.Text(), u"DOC\"X \"LONGER$a\" \\* Upper");
}

}  // namespace
}  // namespace sendnote
