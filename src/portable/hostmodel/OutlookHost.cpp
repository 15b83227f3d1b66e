#include "portable/hostmodel/OutlookHost.h"

#include "platform/ComError.h"
#include "platform/Outlook.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"

namespace sendnote::hostmodel {

std::shared_ptr<OutlookHost> OutlookHost::Create() {
  std::shared_ptr<OutlookHost> host(new OutlookHost());
  host->contacts_ = std::make_shared<OutlookFolder>(host, u"連絡先", platform::kOlContactItemClass);
  host->inbox_ = std::make_shared<OutlookFolder>(host, u"受信トレイ", kOlMailItemClass);
  host->customization_ = std::make_shared<CommandBarCustomization>();
  return host;
}

std::shared_ptr<OutlookApp> OutlookHost::Start() {
  Shutdown();
  if (!keeps_customization_) customization_ = std::make_shared<CommandBarCustomization>();
  running_ = OutlookApp::Create(weak_from_this(), customization_);
  ++starts_;
  return running_;
}

void OutlookHost::Shutdown() {
  if (!running_) return;
  running_->Shutdown();
  running_ = nullptr;
}

std::shared_ptr<OutlookApp> OutlookHost::RequireRunning() const {
  if (!running_) platform::Raise(platform::kErrServerGone);
  return running_;
}

std::shared_ptr<OutlookFolder> OutlookHost::DefaultFolder(int32_t kind) const {
  if (kind == platform::kOlFolderContacts) return contacts_;
  if (kind == kOlFolderInbox) return inbox_;
  return nullptr;
}

}  // namespace sendnote::hostmodel
