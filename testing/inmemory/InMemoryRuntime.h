// A runtime for tests and the portable build: a scripted user interface, automation
// classes whose running instance and factory are configured, and a set library folder.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inmemory/Faults.h"
#include "inmemory/ScriptedUi.h"
#include "platform/Object.h"
#include "platform/Runtime.h"
#include "platform/Word.h"

namespace sendnote::inmemory {

using platform::kWordClass;

class InMemoryRuntime : public platform::Runtime, public Faultable {
 public:
  using Factory = std::function<std::shared_ptr<platform::Object>()>;
  // Tells whether a registered running instance still runs (for example, not quit).
  using Liveness = std::function<bool(const platform::Object&)>;

  // With a user interface of its own.
  InMemoryRuntime();
  // With the caller's user interface, which must outlive the runtime.
  explicit InMemoryRuntime(ScriptedUi& ui);

  ScriptedUi& Scripted() { return *ui_; }

  // The running instance of a class, as GetObject finds it; empty: none runs.
  void SetRunning(std::u16string_view className, std::shared_ptr<platform::Object> instance);
  // Returns the registered running instance, or empty when none (or it no longer runs).
  std::shared_ptr<platform::Object> Running(std::u16string_view className);
  // How CreateObject makes an instance; empty: the class cannot be created. A factory
  // that returns empty or raises makes creation fail.
  void SetFactory(std::u16string_view className, Factory factory);
  void SetLiveness(std::u16string_view className, Liveness alive);
  // How many instances CreateObject made.
  int Created(std::u16string_view className) const;

  void SetLibraryFolder(std::u16string folder) { libraryFolder_ = std::move(folder); }

  // --- platform::Runtime ---
  platform::UserInterface& Ui() override { return *ui_; }
  std::shared_ptr<platform::Object> GetObject(std::u16string_view className) override;
  std::shared_ptr<platform::Object> CreateObject(std::u16string_view className) override;
  std::u16string LibraryFolder() override;
  std::u16string Narrow(std::u16string_view text) override;
  void Note(std::u16string_view line) noexcept override;
  // The lines noted so far.
  const std::vector<std::u16string>& Notes() const { return notes_; }

 private:
  struct ClassEntry {
    std::shared_ptr<platform::Object> running;
    Factory factory;
    Liveness alive;
    int created = 0;
  };
  ClassEntry& Entry(std::u16string_view className);

  std::unique_ptr<ScriptedUi> ownedUi_;
  ScriptedUi* ui_;  // not owning: ownedUi_ or the caller's
  std::map<std::u16string, ClassEntry, std::less<>> classes_;
  std::u16string libraryFolder_ = u"C:\\Program Files\\sendnote";
  std::vector<std::u16string> notes_;
};

}  // namespace sendnote::inmemory
