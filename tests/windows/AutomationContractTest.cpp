// The Word contract suite run against com's automation Word: every call crosses IDispatch
// by name, through the host simulator's exposure of an in-memory Word (in this process),
// with BSTR and VARIANT conversions both ways. Templates are prepared on the in-memory
// Word directly. After each test the simulator must hold no live object.
#include "windows/com/Win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "hostsim/Expose.h"
#include "hostsim/LiveObjects.h"
#include "tests/support/contract/WordContractTests.h"
#include "tests/testing/inmemory/InMemoryWordFixture.h"
#include "windows/com/Word.h"

namespace sendnote::testing {
namespace {

using hostsim::LiveObjects;

class AutomationWordFixture : public WordContractFixture {
 public:
  AutomationWordFixture() {
    // A previous test's leak is reported there; each test starts from its own count.
    live_before_ = LiveObjects::Count();
    app_ = std::make_shared<com::AutoWordApplication>(hostsim::Expose(word_.Word()));
  }

  std::shared_ptr<platform::WordApplication> Application() override { return app_; }
  std::u16string MakeTemplate(const TemplateOutline& outline) override {
    return word_.MakeTemplate(outline);
  }
  std::u16string BrokenTemplateName() override { return word_.BrokenTemplateName(); }
  std::u16string MakeDocumentFile(const TemplateOutline& outline) override {
    return word_.MakeDocumentFile(outline);
  }
  std::u16string BrokenDocumentName() override { return word_.BrokenDocumentName(); }
  void AnswerFileOpen(std::u16string_view fileName) override { word_.AnswerFileOpen(fileName); }

  void TearDown() override {
    app_.reset();
    EXPECT_EQ(LiveObjects::Count(), live_before_)
        << "simulator objects still referenced after the test";
  }

 private:
  InMemoryWordFixture word_;
  std::shared_ptr<com::AutoWordApplication> app_;
  long live_before_ = 0;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Automation, WordContract, ::testing::Values(WordFixtureFactory([] {
                           return std::make_unique<AutomationWordFixture>();
                         })),
                         [](const auto&) { return std::string("Word"); });

}  // namespace sendnote::testing

// The suite's own entry: an apartment for the automation calls, as Outlook's add-ins have.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  const int result = RUN_ALL_TESTS();
  const long leftOver = sendnote::hostsim::LiveObjects::Count();
  ::CoUninitialize();
  if (leftOver != 0) {
    std::fprintf(stderr, "FAILED: %ld simulator objects alive at exit\n", leftOver);
    return 1;
  }
  return result;
}
