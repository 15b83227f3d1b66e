// The Outlook host as a long-lived process model: it keeps the mail store and the saved
// command-bar customization across its runs, and starts (or restarts) the application.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "portable/hostmodel/CommandBarCustomization.h"

namespace sendnote::hostmodel {

class OutlookApp;
class OutlookFolder;

inline constexpr int32_t kOlFolderInbox = 6;
inline constexpr int32_t kOlMailItemClass = 43;
inline constexpr int32_t kOlDistListClass = 69;

class OutlookHost : public std::enable_shared_from_this<OutlookHost> {
 public:
  static std::shared_ptr<OutlookHost> Create();

  // Starts a new application with no windows open. A running one is shut down first, so
  // this is also a restart: the store and the customization carry over.
  std::shared_ptr<OutlookApp> Start();
  // Shuts the running application down: its windows close, click subscriptions end and
  // its objects stop answering.
  void Shutdown();
  // Returns the running application, or empty.
  std::shared_ptr<OutlookApp> Running() const { return running_; }
  // The running application; raises server gone when none runs.
  std::shared_ptr<OutlookApp> RequireRunning() const;
  int Starts() const { return starts_; }

  // The version the application reports; Outlook 2000's unless set.
  const std::u16string& Version() const { return version_; }
  void SetVersion(std::u16string version) { version_ = std::move(version); }
  // Whether the saved command-bar customization survives a restart, as it did up to
  // Outlook 2007; later versions start every run with the built-in bars only.
  void SetKeepsCustomization(bool keeps) { keeps_customization_ = keeps; }

  const std::shared_ptr<OutlookFolder>& Contacts() const { return contacts_; }
  const std::shared_ptr<OutlookFolder>& Inbox() const { return inbox_; }
  // The default folder of a kind (10 Contacts, 6 Inbox), or empty.
  std::shared_ptr<OutlookFolder> DefaultFolder(int32_t kind) const;
  const std::shared_ptr<CommandBarCustomization>& Customization() const { return customization_; }

 private:
  OutlookHost() = default;

  std::shared_ptr<OutlookFolder> contacts_;
  std::shared_ptr<OutlookFolder> inbox_;
  std::shared_ptr<CommandBarCustomization> customization_;
  std::shared_ptr<OutlookApp> running_;
  int starts_ = 0;
  std::u16string version_ = u"9.0.0.3821";
  bool keeps_customization_ = true;
};

}  // namespace sendnote::hostmodel
