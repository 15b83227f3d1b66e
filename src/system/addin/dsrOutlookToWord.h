// The add-in object the host creates: its connection to Outlook, the persistent choices
// and the bound button whose Click runs the letter command.
#pragma once

#include <functional>
#include <memory>

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

  // The Click event of the bound button.
  void cbbAddin_Click(const std::shared_ptr<platform::CommandBarButton>& ctrl,
                      platform::Flag& cancelDefault);

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

  std::shared_ptr<platform::OutlookApplication> outlook_app_;
  std::shared_ptr<clsStatic> static_data_;
  std::shared_ptr<platform::CommandBarButton> cbb_addin_;
  platform::EventConnection cbb_addin_click_;
  ClickListener click_listener_;
};

}  // namespace sendnote
