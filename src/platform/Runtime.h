// The runtime services the system's code calls freely, as it would call the automation
// runtime: the user interface, automation object lookup and creation, the library's
// folder and the narrow text conversion. The host installs one for its lifetime.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Object.h"
#include "platform/UserInterface.h"

namespace sendnote::platform {

class Runtime {
 public:
  virtual ~Runtime() = default;

  virtual UserInterface& Ui() = 0;
  // The running instance of an automation class; raises 429 when none runs.
  virtual std::shared_ptr<Object> GetObject(std::u16string_view className) = 0;
  // A new instance of an automation class; raises 429 when it cannot be created.
  virtual std::shared_ptr<Object> CreateObject(std::u16string_view className) = 0;
  // The folder the add-in was loaded from, normally without a trailing backslash.
  virtual std::u16string LibraryFolder() = 0;
  // Full-width to half-width conversion (digits, Latin letters, symbols, the ideographic
  // space, katakana); characters without a narrow form stay.
  virtual std::u16string Narrow(std::u16string_view text) = 0;
  // Keeps a line where the user can read it later (the add-in's log), showing nothing now:
  // for what is worth knowing but not worth a box during Outlook's start. Never fails.
  virtual void Note(std::u16string_view line) noexcept = 0;
};

// The installed runtime. Calling it with none installed is a programming error and
// terminates.
Runtime& CurrentRuntime();
// The installed runtime, or null when none is (for events that reinstall it later).
Runtime* InstalledRuntime();

// Installs a runtime for its scope and restores the previous one afterwards.
class ScopedRuntime {
 public:
  explicit ScopedRuntime(Runtime& runtime);
  ~ScopedRuntime();
  ScopedRuntime(const ScopedRuntime&) = delete;
  ScopedRuntime& operator=(const ScopedRuntime&) = delete;

 private:
  Runtime* previous_;
};

}  // namespace sendnote::platform
