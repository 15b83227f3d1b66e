// An in-memory Outlook host for the add-in's connection tests: a host that keeps its store
// and command-bar customization across runs, a fresh add-in object per run, and the
// scripted user interface.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "inmemory/InMemoryRuntime.h"
#include "inmemory/OutlookFaults.h"
#include "platform/Runtime.h"
#include "portable/hostmodel/CallObserver.h"
#include "portable/hostmodel/CommandBarObjects.h"
#include "portable/hostmodel/CommandBarSet.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"
#include "portable/hostmodel/OutlookItems.h"
#include "portable/hostmodel/OutlookWindows.h"
#include "system/addin/dsrOutlookToWord.h"
#include "system/addin/modAddin.h"

namespace sendnote::testing {

inline constexpr int32_t kStartup = 1;     // connected at the host's start-up
inline constexpr int32_t kLater = 0;       // connected from the host's add-in list
inline constexpr int32_t kUserClosed = 1;  // removed by the user
inline constexpr int32_t kHostShutdown = 0;
inline constexpr char16_t kExplorerKind[] = u"Explorer";
inline constexpr char16_t kContactWindowKind[] = u"Inspector:40";

// Every call the host model sees while it is installed, in order, by member name.
class CallLog : public hostmodel::CallObserver {
 public:
  void OnCall(const void*, std::u16string_view member) override { members.emplace_back(member); }
  bool Saw(std::u16string_view member) const {
    for (const auto& seen : members) {
      if (seen == member) return true;
    }
    return false;
  }
  std::vector<std::u16string> members;
};

class AddinHostTest : public ::testing::Test {
 protected:
  // The members the host model sees called while `body` runs.
  template <class Body>
  CallLog CallsDuring(Body&& body) {
    CallLog log;
    hostmodel::ScopedCallObserver watch(log);
    body();
    return log;
  }
  // Restarts the host; as the real host does, a new add-in object serves the new run.
  void Restart() {
    addin.reset();
    app = host->Start();
    addin = std::make_unique<dsrOutlookToWord>();
  }
  void Connect(int32_t mode = kStartup) {
    addin->IDTExtensibility2_OnConnection(app, mode, app->NewAddInInstance());
  }
  void ShutDown() {
    addin->IDTExtensibility2_OnBeginShutdown();
    addin->IDTExtensibility2_OnDisconnection(kHostShutdown);
  }

  std::shared_ptr<hostmodel::OutlookContact> AddContact(
      std::u16string_view subject,
      platform::MailingAddress mailing = platform::MailingAddress::kBusiness) {
    return host->Contacts()->AddContact({{{platform::ContactField::kSubject, subject}}, mailing});
  }

  // The controls bearing the add-in's tag in one window, wherever they are.
  static size_t Tagged(const std::shared_ptr<hostmodel::CommandBarSet>& bars) {
    return bars->ControlsWithTag(ButtonTag).size();
  }
  // The add-in's buttons the host keeps for windows of a kind.
  size_t Kept(std::u16string_view kind) const {
    return static_cast<size_t>(host->Customization()->CountWithTag(kind, ButtonTag));
  }
  // The prompts of the message boxes shown so far.
  std::vector<std::u16string> Prompts() {
    std::vector<std::u16string> prompts;
    for (const auto& box : runtime.Scripted().MsgBoxes()) prompts.push_back(box.prompt);
    return prompts;
  }
  // The one error report shown so far names `procedure`.
  void ExpectOneReportNaming(std::u16string_view procedure) {
    const auto& boxes = runtime.Scripted().MsgBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style, platform::kVbCritical);
    EXPECT_NE(boxes[0].prompt.find(u"内部(" + std::u16string(procedure) + u")"),
              std::u16string::npos);
  }

  inmemory::OutlookFaults faults;
  inmemory::InMemoryRuntime runtime;
  platform::ScopedRuntime scope{runtime};
  std::shared_ptr<hostmodel::OutlookHost> host = hostmodel::OutlookHost::Create();
  std::shared_ptr<hostmodel::OutlookApp> app = host->Start();
  std::unique_ptr<dsrOutlookToWord> addin = std::make_unique<dsrOutlookToWord>();
};

}  // namespace sendnote::testing
