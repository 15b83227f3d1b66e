// The Outlook application of one run of the host model: its windows, which of them is
// active, the namespace, and the Click subscriptions of its command-bar buttons.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Outlook.h"
#include "portable/hostmodel/CommandBarClicks.h"
#include "portable/hostmodel/CommandBarCustomization.h"
#include "portable/hostmodel/CommandBarLayout.h"
#include "portable/hostmodel/CommandBarSet.h"
#include "portable/hostmodel/OutlookWindows.h"

namespace sendnote::hostmodel {

class OutlookHost;
class OutlookFolder;

inline constexpr std::u16string_view kDefaultProgId = u"COMAddInSendnote.dsrOutlookToWord";

// Returns the application while its run goes on; raises server gone once it has ended.
std::shared_ptr<OutlookApp> LiveApp(const std::weak_ptr<OutlookApp>& app);

class OutlookNameSpace : public platform::NameSpace {
 public:
  explicit OutlookNameSpace(std::weak_ptr<OutlookApp> app) : app_(std::move(app)) {}
  std::u16string TypeName() const override { return u"NameSpace"; }
  std::shared_ptr<platform::Object> Application() override;
  // 10 Contacts, 6 Inbox; other kinds raise Invalid call (5).
  std::shared_ptr<platform::MAPIFolder> GetDefaultFolder(int32_t folderKind) override;

 private:
  std::weak_ptr<OutlookApp> app_;
};

class OutlookExplorers : public platform::Explorers {
 public:
  explicit OutlookExplorers(std::weak_ptr<OutlookApp> app) : app_(std::move(app)) {}
  std::u16string TypeName() const override { return u"Explorers"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::shared_ptr<platform::Explorer> Item(int32_t index) override;
  platform::EventConnection ConnectNewExplorer(NewExplorerHandler handler) override;

 private:
  std::weak_ptr<OutlookApp> app_;
};

class OutlookInspectors : public platform::Inspectors {
 public:
  explicit OutlookInspectors(std::weak_ptr<OutlookApp> app) : app_(std::move(app)) {}
  std::u16string TypeName() const override { return u"Inspectors"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::shared_ptr<platform::Inspector> Item(int32_t index) override;
  platform::EventConnection ConnectNewInspector(NewInspectorHandler handler) override;

 private:
  std::weak_ptr<OutlookApp> app_;
};

class OutlookAddInInstance : public platform::AddInInstance {
 public:
  OutlookAddInInstance(std::weak_ptr<OutlookApp> app, std::u16string progId)
      : app_(std::move(app)), progId_(std::move(progId)) {}
  std::u16string TypeName() const override { return u"COMAddIn"; }
  std::shared_ptr<platform::Object> Application() override;
  std::u16string ProgId() override;

 private:
  std::weak_ptr<OutlookApp> app_;
  std::u16string progId_;
};

class OutlookApp : public platform::OutlookApplication,
                   public std::enable_shared_from_this<OutlookApp> {
 public:
  static std::shared_ptr<OutlookApp> Create(std::weak_ptr<OutlookHost> host,
                                            std::shared_ptr<CommandBarCustomization> custom);

  // --- platform::OutlookApplication ---
  std::u16string TypeName() const override { return u"Application"; }
  std::shared_ptr<platform::Object> Application() override;
  // The host's version text (OutlookHost::SetVersion).
  std::u16string Version() override;
  // "MAPI" (any case); anything else raises Invalid call (5).
  std::shared_ptr<platform::NameSpace> GetNamespace(std::u16string_view type) override;
  std::shared_ptr<platform::Explorer> ActiveExplorer() override;
  std::shared_ptr<platform::Inspector> ActiveInspector() override;
  std::shared_ptr<platform::OutlookWindow> ActiveWindow() override;
  std::shared_ptr<platform::Explorers> Explorers() override;
  std::shared_ptr<platform::Inspectors> Inspectors() override;

  // --- for tests: building scenarios ---
  // A displayed explorer on the folder; it becomes the active window.
  std::shared_ptr<OutlookExplorer> OpenExplorer(const std::shared_ptr<OutlookFolder>& folder);
  // A displayed inspector on the item; it becomes the active window.
  std::shared_ptr<OutlookInspector> OpenInspector(
      const std::shared_ptr<platform::OutlookItem>& item);
  // Makes a displayed window the active one; empty: no Outlook window is active.
  void SetActiveWindow(const std::shared_ptr<platform::OutlookWindow>& window);
  // The user clicks a button; returns how many Click handlers ran.
  int ClickButton(const std::shared_ptr<platform::CommandBarControl>& button);
  std::shared_ptr<OutlookAddInInstance> NewAddInInstance(
      std::u16string progId = std::u16string(kDefaultProgId));
  const std::vector<std::shared_ptr<OutlookExplorer>>& ExplorerList() const { return explorers_; }
  const std::vector<std::shared_ptr<OutlookInspector>>& InspectorList() const {
    return inspectors_;
  }
  const std::shared_ptr<CommandBarClicks>& Clicks() const { return clicks_; }
  std::shared_ptr<OutlookHost> Host() const { return host_.lock(); }
  bool IsRunning() const { return running_; }

  // --- used by the host's objects ---
  // Raises server gone once this run of the host has ended.
  void CheckRunning() const;
  std::shared_ptr<OutlookExplorer> NewExplorer(std::shared_ptr<platform::MAPIFolder> folder,
                                               bool displayed);
  // The displayed inspector showing the item, or a new one, not displayed.
  std::shared_ptr<OutlookInspector> InspectorFor(
      const std::shared_ptr<platform::OutlookItem>& item);
  // A window was activated (and displayed if it was not).
  void Activated(const std::shared_ptr<platform::OutlookWindow>& window);
  // A window closed: it leaves the collections and the window order.
  void Closed(const platform::OutlookWindow* window);
  // Closes the displayed inspectors of an item that was closed by itself.
  void CloseInspectorsOf(const platform::OutlookItem* item);
  // Ends this run: windows close, subscriptions end, objects stop answering.
  void Shutdown();
  // The NewExplorer and NewInspector subscriptions; each returns its key for removal.
  uint64_t AddNewExplorerHandler(platform::Explorers::NewExplorerHandler handler);
  uint64_t AddNewInspectorHandler(platform::Inspectors::NewInspectorHandler handler);
  void RemoveWindowHandler(uint64_t key);

 private:
  OutlookApp() = default;
  std::shared_ptr<CommandBarSet> NewBars(std::u16string kind, const CommandBarLayout& layout);

  std::weak_ptr<OutlookHost> host_;
  std::shared_ptr<CommandBarCustomization> customization_;
  std::shared_ptr<CommandBarClicks> clicks_;
  std::shared_ptr<OutlookNameSpace> namespace_;
  std::shared_ptr<OutlookExplorers> explorersObject_;
  std::shared_ptr<OutlookInspectors> inspectorsObject_;
  std::vector<std::shared_ptr<OutlookExplorer>> explorers_;    // in opening order
  std::vector<std::shared_ptr<OutlookInspector>> inspectors_;  // displayed, in opening order
  // Displayed windows from back to front; the last is the active one.
  std::vector<std::weak_ptr<platform::OutlookWindow>> zOrder_;
  // Every window's bars, hidden windows' too: they stop answering when the run ends.
  std::vector<std::weak_ptr<CommandBarSet>> barSets_;
  bool noActiveWindow_ = false;
  bool running_ = true;
  std::map<uint64_t, platform::Explorers::NewExplorerHandler> newExplorerHandlers_;
  std::map<uint64_t, platform::Inspectors::NewInspectorHandler> newInspectorHandlers_;
  uint64_t nextHandlerKey_ = 1;
};

}  // namespace sendnote::hostmodel
