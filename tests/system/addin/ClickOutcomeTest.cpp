// What the add-in tells its host about each click: completed with the new document,
// stopped with the message shown (or none), failed with the one report shown.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "system/common/ReportError.h"
#include "tests/support/OfficeWorld.h"

namespace sendnote {
namespace {

using inmemory::DialogAction;
using testing::kLetterTemplate;
using testing::OfficeWorld;
using Kind = ClickOutcome::Kind;

constexpr int32_t kAutomation = -2147352567;

// A world whose next click completes unless a case changes it; `dialog` ends the dialog.
void ReadyToComplete(OfficeWorld& w, DialogAction dialog = DialogAction::Ok()) {
  w.ExplorerSelecting({w.AddYamada()});
  w.WordRunning();
  w.MarkedTemplate(kLetterTemplate);
  w.word->QueueFileNew(kLetterTemplate);
  w.ui().QueueDialog({dialog});
}

TEST(ClickOutcomeTest, EachEndingIsReportedOnceWithWhatTheUserSaw) {
  const struct {
    const char* what;
    std::function<void(OfficeWorld&)> change;
    Kind kind;
    std::u16string message;
    DialogAction dialog = DialogAction::Ok();
  } cases[] = {
      {"completed", [](OfficeWorld&) {}, Kind::kCompleted, u""},
      {"nothing selected", [](OfficeWorld& w) { w.explorer->Select({}); }, Kind::kStopped,
       u"連絡先アイテムが選択されていません。"},
      {"no mailing address",
       [](OfficeWorld& w) {
         w.explorer->Select({w.AddContact({{{platform::ContactField::kSubject, u"鈴木"}}})});
       },
       Kind::kStopped, u"鈴木 の連絡先アイテムに郵送先の住所がチェックされていません。"},
      {"dialog cancelled", [](OfficeWorld&) {}, Kind::kStopped, u"", DialogAction::Cancel()},
      {"report",
       [](OfficeWorld& w) {
         w.word->WordFaults().FailOn(u"CustomDocumentProperties", kAutomation, u"読めません");
       },
       Kind::kFailed, ErrorReportText(u"WriteDocProp", kAutomation, u"読めません")},
      {"exception other than the error type",
       [](OfficeWorld& w) {
         w.outlookFaults.Of(w.outlook).ThrowOn(u"ActiveWindow",
                                               std::make_exception_ptr(std::bad_alloc()), 1);
       },
       Kind::kFailed, ErrorReportText(u"cbbAddin_Click", 7, u"Out of memory")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    OfficeWorld w;
    std::vector<ClickOutcome> outcomes;
    w.addin.SetClickListener([&outcomes](const ClickOutcome& o) { outcomes.push_back(o); });
    ReadyToComplete(w, c.dialog);
    w.Connect();
    c.change(w);
    w.Click();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].kind, c.kind);
    EXPECT_EQ(outcomes[0].message, c.message);
    if (c.kind == Kind::kCompleted) {
      ASSERT_EQ(w.word->OpenDocuments().size(), 1u);
      EXPECT_EQ(outcomes[0].document, w.word->OpenDocuments()[0]);
      EXPECT_TRUE(w.boxes().empty());
    } else {
      EXPECT_EQ(outcomes[0].document, nullptr);
    }
    // A failure is the one report the user saw.
    if (c.kind == Kind::kFailed) {
      ASSERT_EQ(w.boxes().size(), 1u);
      EXPECT_EQ(w.boxes()[0].prompt, c.message);
    }
  }
}

// After a failed click the host keeps going: the next click completes and says so.
TEST(ClickOutcomeTest, AClickAfterAFailureIsJudgedOnItsOwn) {
  OfficeWorld w;
  std::optional<ClickOutcome> last;
  w.addin.SetClickListener([&last](const ClickOutcome& o) { last = o; });
  ReadyToComplete(w);
  w.Connect();
  w.outlookFaults.Of(w.outlook).ThrowOn(u"ActiveWindow",
                                        std::make_exception_ptr(std::length_error("vector")), 1);
  w.Click();
  ASSERT_TRUE(last);
  EXPECT_EQ(last->kind, Kind::kFailed);
  last.reset();
  w.Click();
  ASSERT_TRUE(last);
  EXPECT_EQ(last->kind, Kind::kCompleted);
  EXPECT_NE(last->document, nullptr);
}

}  // namespace
}  // namespace sendnote
