// An in-memory Office for end-to-end clicks: Outlook with a Contacts folder and an
// explorer on it, the add-in connected, Word (running or startable) with templates, and
// the scripted user interface.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "inmemory/InMemoryRuntime.h"
#include "inmemory/OutlookFaults.h"
#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "platform/Runtime.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"
#include "portable/hostmodel/OutlookItems.h"
#include "portable/hostmodel/OutlookWindows.h"
#include "system/addin/dsrOutlookToWord.h"

namespace sendnote::testing {

inline constexpr char16_t kLetterTemplate[] = u"C:\\Templates\\添書票.dot";

class OfficeWorld {
 public:
  OfficeWorld() {
    host = hostmodel::OutlookHost::Create();
    outlook = host->Start();
    runtime.SetLiveness(inmemory::kWordClass, [](const platform::Object& o) {
      return !static_cast<const inmemory::WordApp&>(o).HasQuit();
    });
  }
  ~OfficeWorld() {
    addin.IDTExtensibility2_OnBeginShutdown();
    addin.IDTExtensibility2_OnDisconnection(0);
  }

  // Word runs before the click.
  void WordRunning() { runtime.SetRunning(inmemory::kWordClass, word); }
  // Word does not run but can be started (the click starts `word`).
  void WordStartable() {
    runtime.SetFactory(inmemory::kWordClass, [this] { return word; });
  }

  std::shared_ptr<hostmodel::OutlookContact> AddContact(const ContactRecord& record) {
    return host->Contacts()->AddContact(record);
  }
  // A contact of a business mailing address with the usual addressee fields.
  std::shared_ptr<hostmodel::OutlookContact> AddYamada() {
    using F = platform::ContactField;
    return AddContact({{{F::kSubject, u"山田 太郎"},
                        {F::kLastName, u"山田"},
                        {F::kFirstName, u"太郎"},
                        {F::kCompanyName, u"株式会社山田商事"},
                        {F::kOfficeLocation, u"本社"},
                        {F::kDepartment, u"営業部"},
                        {F::kBusinessAddressPostalCode, u"１２３－４５６７"},
                        {F::kBusinessAddressState, u"東京都"},
                        {F::kBusinessAddressCity, u"千代田区"},
                        {F::kBusinessAddressStreet, u"丸の内1-2-3"}},
                       platform::MailingAddress::kBusiness});
  }

  // An explorer on Contacts, active, with `items` selected; then the add-in connects.
  std::shared_ptr<hostmodel::OutlookExplorer> ExplorerSelecting(
      std::vector<std::shared_ptr<platform::OutlookItem>> items) {
    explorer = outlook->OpenExplorer(host->Contacts());
    explorer->Select(std::move(items));
    return explorer;
  }

  void Connect() { addin.IDTExtensibility2_OnConnection(outlook, 1, outlook->NewAddInInstance()); }

  // The user clicks the add-in's button in the active explorer; returns the handlers run.
  int Click() {
    if (!addin.OutlookApp()) Connect();
    return outlook->ClickButton(addin.cbbAddin());
  }

  // A template whose properties already carry the markers (no prefix question).
  void MarkedTemplate(std::u16string_view name, inmemory::WordContent content = {}) {
    inmemory::WordPropertyContent marker;
    marker.name = u"SENDNOTE$PROPERTY";
    marker.type = platform::kPropertyBoolean;
    marker.value = platform::Variant::Bool(platform::kTrue);
    content.properties.push_back(marker);
    marker.name = u"SENDNOTE$PREFIX";
    marker.type = platform::kPropertyString;
    marker.value = platform::Variant::String(u"OUTLOOK$");
    content.properties.push_back(marker);
    word->AddTemplate(name, std::move(content));
  }

  inmemory::ScriptedUi& ui() { return runtime.Scripted(); }
  const std::vector<inmemory::MsgBoxRecord>& boxes() { return ui().MsgBoxes(); }

  // Watches the host model's calls; declared first so that it sees them all.
  inmemory::OutlookFaults outlookFaults;
  inmemory::InMemoryRuntime runtime;
  platform::ScopedRuntime scope{runtime};
  std::shared_ptr<hostmodel::OutlookHost> host;
  std::shared_ptr<hostmodel::OutlookApp> outlook;
  std::shared_ptr<hostmodel::OutlookExplorer> explorer;
  std::shared_ptr<inmemory::WordApp> word = inmemory::WordApp::Create();
  dsrOutlookToWord addin;
};

}  // namespace sendnote::testing
