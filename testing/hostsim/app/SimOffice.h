// The simulator's Office: the host model's Outlook and in-memory Words served over
// IDispatch, "Word.Application" registered as Office registers it (ProgID key, a class
// object for creation, the running instance in the ROT), and the add-in loaded as Outlook
// loads it: from the Addins key, by ProgID, through IDTExtensibility2.
#pragma once

#include "windows/com/Win32.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostsim/ClassFactory.h"
#include "inmemory/WordApp.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"
#include "windows/com/ComPtr.h"
#include "windows/dll/Extensibility.h"

namespace sendnote::windows::test {

// Word's published class identifier, as CLSIDFromProgID("Word.Application") gives it.
inline constexpr CLSID kWordClsid = {
    0x000209FF, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class SimOffice {
 public:
  SimOffice();
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
  void UnregisterWord();
  const std::shared_ptr<inmemory::WordApp>& RunningWord() const { return running_; }
  // The Words the class object made.
  const std::vector<std::shared_ptr<inmemory::WordApp>>& CreatedWords() const { return created_; }

  // --- The add-in ---
  // The ProgIDs of the Addins key that Outlook would load at start-up.
  static std::vector<std::wstring> AddInsToLoad();
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
