// The walk over every text of a letter that can show a property: each story, each text
// box (in the main text, headers and groups), each once, shapes that cannot be read passed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "inmemory/WordShapes.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "system/common/modFunc.h"

namespace sendnote {
namespace {

using inmemory::GroupContent;
using inmemory::PictureContent;
using inmemory::TextBoxContent;
using inmemory::WordContent;
using inmemory::WordFieldContent;

WordFieldContent Prop(const std::u16string& name) {
  return {u" DOCPROPERTY \"A$" + name + u"\" ", u"(" + name + u")"};
}

// One field in each text: the main text, a text box, a picture, a group of two boxes, a
// header with a text box, a second section's header, a footer, footnotes and comments.
WordContent EveryText() {
  WordContent c;
  c.bodyFields = {Prop(u"本文")};
  c.shapes = {TextBoxContent({Prop(u"箱")}), PictureContent(),
              GroupContent({TextBoxContent({Prop(u"組1")}), PictureContent(),
                            GroupContent({TextBoxContent({Prop(u"組2")})})})};
  c.stories = {{platform::kWdPrimaryHeaderStory, {Prop(u"頭")}, {TextBoxContent({Prop(u"頭箱")})}},
               {platform::kWdPrimaryHeaderStory, {Prop(u"頭2")}, {}},
               {platform::kWdPrimaryFooterStory, {Prop(u"脚")}, {}},
               {platform::kWdFootnotesStory, {Prop(u"注")}, {}},
               {platform::kWdCommentsStory, {Prop(u"評")}, {}}};
  return c;
}

class TextFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    word_->AddTemplate(u"C:\\t.dot", EveryText());
    doc_ = std::static_pointer_cast<inmemory::WordDocument>(word_->Documents()->Add(
        u"C:\\t.dot", platform::kFalse, platform::kWdNewDocument, platform::kTrue));
  }

  // The results of the first field of each text visited, in order.
  std::vector<std::u16string> Visited() {
    std::vector<std::u16string> seen;
    ForEachTextFields(*doc_, [&](const std::shared_ptr<platform::Fields>& fields) {
      for (int32_t i = 1; i <= fields->Count(); ++i) {
        seen.push_back(fields->Item(i)->Result()->Text());
      }
    });
    return seen;
  }

  std::shared_ptr<inmemory::WordApp> word_ = inmemory::WordApp::Create();
  std::shared_ptr<inmemory::WordDocument> doc_;
};

TEST_F(TextFieldsTest, EveryTextIsVisitedOnce) {
  EXPECT_EQ(Visited(),
            (std::vector<std::u16string>{u"(本文)", u"(箱)", u"(組1)", u"(組2)", u"(注)", u"(評)",
                                         u"(頭)", u"(頭箱)", u"(頭2)", u"(脚)"}));
}

// Re-prefixing to a prefix that begins with the old one renames each field once: a text
// reached twice would become "A$B$B$...".
TEST_F(TextFieldsTest, RenamingToALongerPrefixRenamesEachFieldOnce) {
  ForEachTextFields(*doc_, [](const std::shared_ptr<platform::Fields>& fields) {
    PropFieldRename(fields, u"A$", u"A$B$");
  });
  const WordContent after = doc_->Snapshot();
  std::vector<std::u16string> codes{after.bodyFields[0].code, after.shapes[0].fields[0].code,
                                    after.shapes[2].groupItems[0].fields[0].code,
                                    after.shapes[2].groupItems[2].groupItems[0].fields[0].code};
  for (const auto& story : after.stories) {
    codes.push_back(story.fields[0].code);
    for (const auto& shape : story.shapes) codes.push_back(shape.fields[0].code);
  }
  ASSERT_EQ(codes.size(), 10u);
  for (const auto& code : codes) {
    EXPECT_NE(code.find(u"\"A$B$"), std::u16string::npos) << platform::ToUtf8(code);
    EXPECT_EQ(code.find(u"A$B$B$"), std::u16string::npos);
  }
}

TEST_F(TextFieldsTest, AShapeWhoseFrameOrItemsCannotBeReadIsPassed) {
  const auto& shapes = doc_->ShapesObject()->Items();
  inmemory::FaultsOf(shapes[0]).FailOn(u"TextFrame", -2147417851);  // RPC_E_SERVERFAULT
  inmemory::FaultsOf(shapes[2]).FailOn(u"GroupItems", -2147417851);
  EXPECT_EQ(Visited(), (std::vector<std::u16string>{u"(本文)", u"(注)", u"(評)", u"(頭)", u"(頭箱)",
                                                    u"(頭2)", u"(脚)"}));
}

// Failing to reach the stories is not a shape's failure: it is the click's.
TEST_F(TextFieldsTest, StoriesThatCannotBeReadFailTheWalk) {
  inmemory::FaultsOf(doc_).FailOn(u"StoryRanges", 5941);
  EXPECT_THROW(Visited(), platform::ComError);
}

}  // namespace
}  // namespace sendnote
