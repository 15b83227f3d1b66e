// The add-in object the host creates: its connection to Outlook, the persistent choices
// and the bound button whose Click runs the letter command.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ComError.h"
#include "platform/CommandBars.h"
#include "platform/Flag.h"
#include "platform/Outlook.h"
#include "system/addin/ClickOutcome.h"
#include "system/common/clsStatic.h"

namespace sendnote {

class dsrOutlookToWord {
 public:
  dsrOutlookToWord() = default;
  dsrOutlookToWord(const dsrOutlookToWord&) = delete;
  dsrOutlookToWord& operator=(const dsrOutlookToWord&) = delete;

  // Host events and the Click. Each ends in the host barrier: any failure is reported once
  // and the host sees a normal return.
  void IDTExtensibility2_OnConnection(const std::shared_ptr<platform::Object>& application,
                                      int32_t connectMode,
                                      const std::shared_ptr<platform::AddInInstance>& addInInst);
  void IDTExtensibility2_OnDisconnection(int32_t removeMode);
  void IDTExtensibility2_OnStartupComplete();
  void IDTExtensibility2_OnAddInsUpdate();
  void IDTExtensibility2_OnBeginShutdown();

  // Windows opened after the connection, on an Outlook with menus: each gets its button.
  void colExplorers_NewExplorer(const std::shared_ptr<platform::Explorer>& explorer);
  void colInspectors_NewInspector(const std::shared_ptr<platform::Inspector>& inspector);

  // The Click event of the bound button.
  void cbbAddin_Click(const std::shared_ptr<platform::CommandBarButton>& ctrl,
                      platform::Flag& cancelDefault);

  // The ribbon's button (Outlook 2007 and later): the same click, made in `window` (the
  // control's context; empty for a shortcut menu, whose context is the selection).
  void Ribbon_OnAction(const std::shared_ptr<platform::OutlookWindow>& window);
  // The customUI markup for one ribbon id of the connected Outlook; empty for ribbons the
  // add-in leaves alone. Never fails.
  std::u16string GetCustomUI(std::u16string_view ribbonId) const noexcept;
  // The major version of the connected Outlook; 0 before the connection or when unknown.
  int OutlookMajor() const { return outlook_major_; }

  const std::shared_ptr<platform::OutlookApplication>& OutlookApp() const { return outlook_app_; }
  const std::shared_ptr<clsStatic>& StaticData() const { return static_data_; }
  const std::shared_ptr<platform::CommandBarButton>& cbbAddin() const { return cbb_addin_; }

  // Tells the host how each click ended, once the click is over. The listener is the
  // host's and must not throw.
  using ClickListener = std::function<void(const ClickOutcome&)>;
  void SetClickListener(ClickListener listener) { click_listener_ = std::move(listener); }

 private:
  // Binds `button` as cbbAddin (or unbinds with an empty one).
  void BindButton(std::shared_ptr<platform::CommandBarButton> button);
  // Puts the button into the windows that have command bars (all of them before Outlook
  // 2007, the explorers of Outlook 2007). Failures pass to the caller.
  void InstallCommandBarButtons(const std::shared_ptr<platform::AddInInstance>& addInInst);
  // Returns the button installed in one window's menu `menuId`, or empty when the window
  // has no such menu, which is noted in the add-in's log once a session. Failures pass.
  std::shared_ptr<platform::CommandBarButton> Install(
      const std::shared_ptr<platform::CommandBars>& commandBars, int16_t menuId);
  // One click of either button, reported under `procedure`.
  void RunClick(std::u16string_view procedure,
                const std::shared_ptr<platform::OutlookWindow>& window);

  // A failure of a quiet start-up, shown at the next click instead of during Outlook's
  // start.
  struct DeferredReport {
    std::u16string procedure;
    platform::ComError error;
  };

  std::shared_ptr<platform::OutlookApplication> outlook_app_;
  std::shared_ptr<clsStatic> static_data_;
  std::shared_ptr<platform::CommandBarButton> cbb_addin_;
  platform::EventConnection cbb_addin_click_;
  platform::EventConnection col_explorers_;
  platform::EventConnection col_inspectors_;
  std::u16string prog_id_;
  bool click_running_ = false;
  bool noted_explorer_menu_ = false;
  bool noted_inspector_menu_ = false;
  ClickListener click_listener_;
  int outlook_major_ = 0;
  int32_t connect_mode_ = 0;
  std::optional<DeferredReport> deferred_report_;
};

}  // namespace sendnote
