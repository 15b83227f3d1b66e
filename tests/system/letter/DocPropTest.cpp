// DocPropExists and DocPropSet on the custom properties of an in-memory document.
#include <gtest/gtest.h>

#include "system/common/modFunc.h"
#include "tests/support/WriteDocPropTestSupport.h"

namespace sendnote {
namespace {

using platform::Variant;
using testing::Prop;

class DocPropTest : public ::testing::Test {
 protected:
  void Open(inmemory::WordContent content) {
    document_ = testing::NewDocument(*word_, std::move(content));
    props_ = document_->CustomDocumentProperties();
  }
  inmemory::WordPropertyContent Stored(std::u16string_view name) const {
    return testing::PropertyOf(*document_, name);
  }

  std::shared_ptr<inmemory::WordApp> word_ = inmemory::WordApp::Create();
  std::shared_ptr<inmemory::WordDocument> document_;
  std::shared_ptr<platform::DocumentProperties> props_;
};

TEST_F(DocPropTest, ExistsCountsAnyFailedLookUpAsAbsence) {
  inmemory::WordContent content;
  content.properties = {Prop(u"OUTLOOK$姓", u"山田")};
  Open(content);
  EXPECT_EQ(DocPropExists(props_, u"OUTLOOK$姓"), platform::kTrue);
  EXPECT_EQ(DocPropExists(props_, u"OUTLOOK$名"), platform::kFalse);
  EXPECT_EQ(DocPropExists(nullptr, u"OUTLOOK$姓"), platform::kFalse);
  inmemory::FaultsOf(props_).FailOn(u"Item", platform::kErrServerGone);
  EXPECT_EQ(DocPropExists(props_, u"OUTLOOK$姓"), platform::kFalse);
}

TEST_F(DocPropTest, SetAddsChangesTypeAndLeavesLinkedPropertiesAlone) {
  inmemory::WordContent content;
  content.properties = {Prop(u"OUTLOOK$電話番号", Variant::Int32(42)),
                        Prop(u"SENDNOTE$PROPERTY", u"yes")};
  content.bookmarks[u"Mark"] = u"linked";
  content.properties.push_back(
      {u"OUTLOOK$会社名", platform::kPropertyString, Variant::String(u"linked"), true, u"Mark"});
  Open(content);
  const auto linked = Stored(u"OUTLOOK$会社名");

  DocPropSet(props_, u"OUTLOOK$姓", platform::kPropertyString, u"山田");
  DocPropSet(props_, u"OUTLOOK$電話番号", platform::kPropertyString, u"03-1234-5678");
  // A yes/no property is handed over as text; an old value that is no yes/no value does
  // not stop the change.
  DocPropSet(props_, u"SENDNOTE$PROPERTY", platform::kPropertyBoolean, u"True");
  DocPropSet(props_, u"OUTLOOK$会社名", platform::kPropertyString, u"new");

  EXPECT_EQ(Stored(u"OUTLOOK$姓"), Prop(u"OUTLOOK$姓", u"山田"));
  EXPECT_EQ(Stored(u"OUTLOOK$電話番号"), Prop(u"OUTLOOK$電話番号", u"03-1234-5678"));
  EXPECT_EQ(Stored(u"SENDNOTE$PROPERTY"),
            Prop(u"SENDNOTE$PROPERTY", Variant::Bool(platform::kTrue)));
  EXPECT_EQ(Stored(u"OUTLOOK$会社名"), linked);
  EXPECT_EQ(document_->Snapshot().properties.size(), 4u);
}

TEST_F(DocPropTest, SetPassesFailuresToTheCaller) {
  Open({});
  inmemory::FaultsOf(props_).FailOn(u"Add", platform::kErrDispException);
  EXPECT_THROW(DocPropSet(props_, u"G", platform::kPropertyString, u"x"), platform::ComError);
}

TEST_F(DocPropTest, SetCutsLongTextsToWordsLimitKeepingPairsWhole) {
  Open({});
  const std::u16string address(300, u'東');
  DocPropSet(props_, u"OUTLOOK$住所", platform::kPropertyString, address);
  EXPECT_EQ(Stored(u"OUTLOOK$住所"), Prop(u"OUTLOOK$住所", address.substr(0, 255)));
  // Added new and set again: both cut.
  DocPropSet(props_, u"OUTLOOK$住所", platform::kPropertyString, address + u"!");
  EXPECT_EQ(Stored(u"OUTLOOK$住所").value.ToString().size(), 255u);

  // 𠮷 (U+20BB7) is a pair; one that would straddle the limit is left out whole.
  std::u16string straddling(254, u'a');
  straddling += u"\U00020BB7";
  DocPropSet(props_, u"OUTLOOK$会社名", platform::kPropertyString, straddling);
  EXPECT_EQ(Stored(u"OUTLOOK$会社名").value.ToString(), std::u16string(254, u'a'));
  std::u16string fitting(253, u'a');
  fitting += u"\U00020BB7";
  fitting += u"zz";
  DocPropSet(props_, u"OUTLOOK$部署", platform::kPropertyString, fitting);
  EXPECT_EQ(Stored(u"OUTLOOK$部署").value.ToString(), fitting.substr(0, 255));
}

}  // namespace
}  // namespace sendnote
