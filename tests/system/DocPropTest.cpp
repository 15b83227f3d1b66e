// DocPropExists and DocPropSet on the custom properties of an in-memory document.
#include <gtest/gtest.h>

#include <memory>

#include "common/modFunc.h"
#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "tests/system/WriteDocPropTestSupport.h"

namespace sendnote {
namespace {

using inmemory::WordContent;
using inmemory::WordPropertyContent;
using platform::Variant;
using testing::PropertyOf;
using testing::TextProperty;

class DocPropTest : public ::testing::Test {
 protected:
  void Open(WordContent content) {
    document_ = testing::NewDocument(*word_, std::move(content));
    props_ = document_->CustomDocumentProperties();
  }

  std::shared_ptr<inmemory::WordApp> word_ = inmemory::WordApp::Create();
  std::shared_ptr<inmemory::WordDocument> document_;
  std::shared_ptr<platform::DocumentProperties> props_;
};

TEST_F(DocPropTest, ExistsAnswersByLookUpAndNeverRaises) {
  WordContent content;
  content.properties.push_back(TextProperty(u"OUTLOOK$姓", u"山田"));
  Open(content);
  EXPECT_EQ(DocPropExists(props_, u"OUTLOOK$姓"), platform::kTrue);
  EXPECT_EQ(DocPropExists(props_, u"OUTLOOK$名"), platform::kFalse);
  EXPECT_EQ(DocPropExists(props_, u""), platform::kFalse);
  EXPECT_EQ(DocPropExists(nullptr, u"OUTLOOK$姓"), platform::kFalse);

  // Any failure of the look-up counts as absence, even for a property that is there.
  inmemory::FaultsOf(props_).FailOn(u"Item", platform::kErrServerGone);
  EXPECT_EQ(DocPropExists(props_, u"OUTLOOK$姓"), platform::kFalse);
  inmemory::FaultsOf(props_).ClearAll();
  document_->Close(platform::kWdDoNotSaveChanges);
  EXPECT_EQ(DocPropExists(props_, u"OUTLOOK$姓"), platform::kFalse);
}

TEST_F(DocPropTest, SetAddsAMissingPropertyUnlinked) {
  Open({});
  DocPropSet(props_, u"OUTLOOK$会社名", platform::kPropertyString, u"株式会社山田商事");
  const auto added = PropertyOf(*document_, u"OUTLOOK$会社名");
  ASSERT_TRUE(added);
  EXPECT_EQ(added->type, platform::kPropertyString);
  EXPECT_EQ(added->value, Variant::String(u"株式会社山田商事"));
  EXPECT_FALSE(added->linkToContent);
  // An empty text is still a property.
  DocPropSet(props_, u"OUTLOOK$役職", platform::kPropertyString, u"");
  ASSERT_TRUE(PropertyOf(*document_, u"OUTLOOK$役職"));
  EXPECT_EQ(PropertyOf(*document_, u"OUTLOOK$役職")->value, Variant::String(u""));
}

TEST_F(DocPropTest, SetTurnsANumberPropertyIntoText) {
  WordContent content;
  content.properties.push_back(
      {u"OUTLOOK$電話番号", platform::kPropertyNumber, Variant::Int32(42), false, u""});
  Open(content);
  DocPropSet(props_, u"OUTLOOK$電話番号", platform::kPropertyString, u"03-1234-5678");
  const auto changed = PropertyOf(*document_, u"OUTLOOK$電話番号");
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->type, platform::kPropertyString);
  EXPECT_EQ(changed->value, Variant::String(u"03-1234-5678"));
  EXPECT_EQ(document_->Snapshot().properties.size(), 1u);
}

TEST_F(DocPropTest, SetStoresAYesNoPropertyFromItsTextForm) {
  WordContent content;
  // An old text value that is no yes/no value must not stop the change.
  content.properties.push_back(TextProperty(u"SENDNOTE$PROPERTY", u"anything"));
  Open(content);
  DocPropSet(props_, u"SENDNOTE$PROPERTY", platform::kPropertyBoolean,
             Variant::Bool(platform::kTrue).ToString());
  DocPropSet(props_, u"NEW$FLAG", platform::kPropertyBoolean, u"True");
  for (const auto* name : {u"SENDNOTE$PROPERTY", u"NEW$FLAG"}) {
    const auto flag = PropertyOf(*document_, name);
    ASSERT_TRUE(flag);
    EXPECT_EQ(flag->type, platform::kPropertyBoolean);
    EXPECT_EQ(flag->value, Variant::Bool(platform::kTrue));
  }
  // A yes/no value that does not convert is the caller's failure.
  EXPECT_THROW(DocPropSet(props_, u"NEW$FLAG", platform::kPropertyBoolean, u"maybe"),
               platform::ComError);
}

TEST_F(DocPropTest, SetLeavesALinkedPropertyUntouched) {
  WordContent content;
  content.bookmarks[u"CompanyMark"] = u"リンク先の会社";
  content.properties.push_back({u"OUTLOOK$会社名", platform::kPropertyString,
                                Variant::String(u"リンク先の会社"), true, u"CompanyMark"});
  Open(content);
  const auto before = PropertyOf(*document_, u"OUTLOOK$会社名");
  DocPropSet(props_, u"OUTLOOK$会社名", platform::kPropertyNumber, u"12");
  EXPECT_EQ(PropertyOf(*document_, u"OUTLOOK$会社名"), before);
  EXPECT_EQ(document_->Snapshot().properties.size(), 1u);
}

TEST_F(DocPropTest, SetPassesFailuresToTheCaller) {
  Open({});
  inmemory::FaultsOf(props_).FailOn(u"Add", platform::kErrDispException, u"disk full");
  try {
    DocPropSet(props_, u"OUTLOOK$姓", platform::kPropertyString, u"山田");
    ADD_FAILURE() << "no error";
  } catch (const platform::ComError& e) {
    EXPECT_EQ(e.Number(), platform::kErrDispException);
  }
  EXPECT_FALSE(PropertyOf(*document_, u"OUTLOOK$姓"));
}

}  // namespace
}  // namespace sendnote
