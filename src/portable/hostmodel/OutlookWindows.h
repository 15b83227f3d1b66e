// The windows of the host model's Outlook: explorers on folders, inspectors on items, each
// with command bars of its own, and an explorer's selection.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/Outlook.h"
#include "portable/hostmodel/CommandBarSet.h"

namespace sendnote::hostmodel {

class OutlookApp;

class OutlookSelection : public platform::Selection {
 public:
  explicit OutlookSelection(std::weak_ptr<OutlookApp> app) : app_(std::move(app)) {}

  std::u16string TypeName() const override { return u"Selection"; }
  std::shared_ptr<platform::Object> Application() override;
  int32_t Count() override;
  std::shared_ptr<platform::OutlookItem> Item(int32_t index) override;

  void Reset(std::vector<std::shared_ptr<platform::OutlookItem>> items) {
    items_ = std::move(items);
  }

 private:
  std::weak_ptr<OutlookApp> app_;
  std::vector<std::shared_ptr<platform::OutlookItem>> items_;
};

class OutlookExplorer : public platform::Explorer,
                        public std::enable_shared_from_this<OutlookExplorer> {
 public:
  OutlookExplorer(std::weak_ptr<OutlookApp> app, std::shared_ptr<platform::MAPIFolder> folder,
                  std::shared_ptr<CommandBarSet> bars, bool displayed);

  // --- platform::Explorer ---
  std::u16string TypeName() const override { return u"Explorer"; }
  std::shared_ptr<platform::Object> Application() override;
  void Activate() override;
  std::shared_ptr<platform::CommandBars> CommandBars() override;
  std::shared_ptr<platform::Selection> Selection() override;
  std::shared_ptr<platform::MAPIFolder> CurrentFolder() override;
  void SetCurrentFolder(const std::shared_ptr<platform::MAPIFolder>& folder) override;
  void Close() override;

  // --- for tests and the host ---
  // Selects items in the current folder; each folder keeps its own selection.
  void Select(std::vector<std::shared_ptr<platform::OutlookItem>> items);
  // The selection object Selection hands out, for injecting failures into it.
  const std::shared_ptr<OutlookSelection>& SelectionObject() const { return selection_; }
  // The folders set through SetCurrentFolder, in order.
  const std::vector<std::shared_ptr<platform::MAPIFolder>>& FolderHistory() const {
    return folderHistory_;
  }
  const std::shared_ptr<platform::MAPIFolder>& Folder() const { return folder_; }
  const std::shared_ptr<CommandBarSet>& Bars() const { return bars_; }
  bool Displayed() const { return displayed_; }
  bool Closed() const { return closed_; }
  void MarkDisplayed() { displayed_ = true; }
  // The window is gone (closed, or its host shut down).
  void MarkClosed();

 private:
  std::shared_ptr<OutlookApp> EnterWindow(std::u16string_view member);
  std::vector<std::shared_ptr<platform::OutlookItem>>& SelectionOf(
      const std::shared_ptr<platform::MAPIFolder>& folder);

  std::weak_ptr<OutlookApp> app_;
  std::shared_ptr<platform::MAPIFolder> folder_;
  std::shared_ptr<CommandBarSet> bars_;
  std::shared_ptr<OutlookSelection> selection_;
  std::vector<std::pair<std::shared_ptr<platform::MAPIFolder>,
                        std::vector<std::shared_ptr<platform::OutlookItem>>>>
      selections_;
  std::vector<std::shared_ptr<platform::MAPIFolder>> folderHistory_;
  bool displayed_;
  bool closed_ = false;
};

class OutlookInspector : public platform::Inspector,
                         public std::enable_shared_from_this<OutlookInspector> {
 public:
  OutlookInspector(std::weak_ptr<OutlookApp> app, std::shared_ptr<platform::OutlookItem> item,
                   std::shared_ptr<CommandBarSet> bars, bool displayed);

  // --- platform::Inspector ---
  std::u16string TypeName() const override { return u"Inspector"; }
  std::shared_ptr<platform::Object> Application() override;
  void Activate() override;
  std::shared_ptr<platform::CommandBars> CommandBars() override;
  std::shared_ptr<platform::OutlookItem> CurrentItem() override;
  // Closes the window: 0 saves the item, 1 discards its changes.
  void Close(int32_t saveMode) override;

  // --- for tests and the host ---
  const std::shared_ptr<platform::OutlookItem>& Item() const { return item_; }
  const std::shared_ptr<CommandBarSet>& Bars() const { return bars_; }
  bool Displayed() const { return displayed_; }
  bool Closed() const { return closed_; }
  // The mode of the inspector's own Close, or -1 while it was not closed that way.
  int32_t CloseMode() const { return closeMode_; }
  void MarkDisplayed() { displayed_ = true; }
  void MarkClosed();

 private:
  std::shared_ptr<OutlookApp> EnterWindow(std::u16string_view member);

  std::weak_ptr<OutlookApp> app_;
  std::shared_ptr<platform::OutlookItem> item_;
  std::shared_ptr<CommandBarSet> bars_;
  bool displayed_;
  bool closed_ = false;
  int32_t closeMode_ = -1;
};

}  // namespace sendnote::hostmodel
