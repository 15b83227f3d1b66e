// The simulator's Office: the host model's Outlook and in-memory Words served over
// IDispatch, "Word.Application" registered as Office registers it (ProgID key, a class
// object for creation, the running instance in the ROT), and the add-in loaded as Outlook
// loads it: from the Addins key, by ProgID, through IDTExtensibility2.
#pragma once

#include "windows/com/Win32.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostsim/ClassFactory.h"
#include "hostsim/app/SimRibbon.h"
#include "inmemory/WordApp.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"
#include "portable/hostmodel/OutlookItems.h"
#include "portable/hostmodel/OutlookWindows.h"
#include "windows/com/ComPtr.h"
#include "windows/dll/Extensibility.h"

namespace sendnote::windows::test {

// Word's published class identifier, as CLSIDFromProgID("Word.Application") gives it.
inline constexpr CLSID kWordClsid = {
    0x000209FF, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The Outlook a scenario plays. 2003: add-ins with LoadBehavior 2 or 16 load at every
// start, command-bar customizations are kept between runs, no ribbon, a shutdown calls
// OnBeginShutdown and OnDisconnection. 2016: LoadBehavior as documented (3 loads, 16
// connects once and becomes 9, 8 and 9 wait for a demand), no command-bar customization
// survives a run, the ribbon asks the add-in for its markup, and a quit is a fast shutdown
// that only releases the add-in ("Shutdown changes for Outlook 2010").
enum class Generation { k2003, k2016 };

// What one connection of the add-in cost: the time OnConnection took and the calls it made
// into Outlook, each a round trip to Outlook's process in the real desktop.
struct ConnectionCost {
  double milliseconds = 0;
  uint64_t invocations = 0;
  uint64_t nameLookups = 0;
};

class SimOffice {
 public:
  explicit SimOffice(Generation generation = Generation::k2003);
  ~SimOffice();
  SimOffice(const SimOffice&) = delete;
  SimOffice& operator=(const SimOffice&) = delete;

  const std::shared_ptr<hostmodel::OutlookHost>& Host() const { return host_; }
  const std::shared_ptr<hostmodel::OutlookApp>& App() const { return app_; }

  // --- Word ---
  // Readies every Word of the run (templates, File New answers) before the add-in sees it.
  void SetWordSetup(std::function<void(inmemory::WordApp&)> setup) { setup_ = std::move(setup); }
  // Writes the ProgID keys and registers the class object; with `running`, a Word that is
  // already running is registered in the ROT.
  void RegisterWord(bool running);
  // Writes the ProgID keys only: Word is served by a process of its own, which
  // CreateObject starts and which puts its Word into the ROT (see WordServer.h); that Word
  // is busy for its first `rejectedCalls` automation calls.
  void RegisterWordServer(int rejectedCalls = 0);
  void UnregisterWord();
  const std::shared_ptr<inmemory::WordApp>& RunningWord() const { return running_; }
  // The Words the class object made.
  const std::vector<std::shared_ptr<inmemory::WordApp>>& CreatedWords() const { return created_; }

  Generation generation() const { return generation_; }

  // --- Outlook's own start and quit ---
  // Loads the add-ins the Addins key asks for at start-up, connects ours, asks it for the
  // explorer's ribbon (2016) and completes the start. Returns whether ours was loaded.
  bool StartOutlook();
  // Quits as the generation does; the store, the registry and, in 2003, the saved command
  // bars stay for the next start.
  void QuitOutlook();
  // A new run of Outlook after QuitOutlook, its windows not yet open: StartOutlook follows.
  void NewRun();
  const ConnectionCost& LastConnection() const { return cost_; }
  // The user opens a contact; the first contact inspector of a run asks the add-in for its
  // ribbon (2016).
  std::shared_ptr<hostmodel::OutlookInspector> OpenContactInspector(
      const std::shared_ptr<platform::OutlookItem>& contact);
  // The ribbon buttons the add-in put into explorers or contact inspectors in this run.
  const std::vector<RibbonButton>& RibbonButtons(bool explorer) const {
    return explorer ? explorerRibbon_ : contactRibbon_;
  }
  // The user clicks the ribbon button `id` in `window`: its onAction is called by name with
  // an IRibbonControl whose Context is the window. Returns Invoke's result.
  HRESULT ClickRibbon(const std::shared_ptr<platform::OutlookWindow>& window,
                      const std::wstring& id);

  // --- The add-in ---
  // The ProgIDs of the Addins key that Outlook would load at start-up.
  std::vector<std::wstring> AddInsToLoad() const;
  // Creates the add-in by ProgID; false (with the reason printed) when it cannot.
  bool LoadAddIn(const std::wstring& progId);
  HRESULT Connect(ext_ConnectMode mode);
  HRESULT StartupComplete();
  HRESULT BeginShutdown();
  HRESULT Disconnect(ext_DisconnectMode mode);
  // Releases the add-in; returns DllCanUnloadNow of the library afterwards.
  HRESULT ReleaseAddIn();
  // The user clicks `button` in `window`, which comes to the front first. Returns how
  // many Click handlers ran.
  int Click(const std::shared_ptr<platform::OutlookWindow>& window,
            const std::shared_ptr<platform::CommandBarControl>& button);

  // Drops every COM reference the simulator holds itself (the Outlook application, the
  // add-in instance, the class object and the ROT entry).
  void ReleaseAll();

 private:
  std::shared_ptr<inmemory::WordApp> NewWord();
  // Asks the add-in for one ribbon's markup and checks it.
  std::vector<RibbonButton> LoadRibbon(const std::wstring& ribbonId);

  Generation generation_;
  ConnectionCost cost_;
  bool loaded_ = false;
  bool contactRibbonAsked_ = false;
  std::vector<RibbonButton> explorerRibbon_;
  std::vector<RibbonButton> contactRibbon_;

  std::shared_ptr<hostmodel::OutlookHost> host_;
  std::shared_ptr<hostmodel::OutlookApp> app_;
  com::ComPtr<IDispatch> appObject_;
  com::ComPtr<IDispatch> instanceObject_;
  std::function<void(inmemory::WordApp&)> setup_;
  std::shared_ptr<inmemory::WordApp> running_;
  std::vector<std::shared_ptr<inmemory::WordApp>> created_;
  com::ComPtr<hostsim::ClassFactory> factory_;
  DWORD factoryCookie_ = 0;
  DWORD rotCookie_ = 0;
  bool wordKeys_ = false;
  com::ComPtr<IUnknown> addIn_;
  com::ComPtr<IDTExtensibility2> extensibility_;
  HMODULE library_ = nullptr;
};

}  // namespace sendnote::windows::test
