#include "inmemory/InMemoryRuntime.h"

#include "platform/ComError.h"
#include "wordrules/NarrowTable.h"

namespace sendnote::inmemory {

InMemoryRuntime::InMemoryRuntime()
    : ownedUi_(std::make_unique<ScriptedUi>()), ui_(ownedUi_.get()) {}

InMemoryRuntime::InMemoryRuntime(ScriptedUi& ui) : ui_(&ui) {}

InMemoryRuntime::ClassEntry& InMemoryRuntime::Entry(std::u16string_view className) {
  auto it = classes_.find(className);
  if (it == classes_.end()) it = classes_.emplace(std::u16string(className), ClassEntry{}).first;
  return it->second;
}

void InMemoryRuntime::SetRunning(std::u16string_view className,
                                 std::shared_ptr<platform::Object> instance) {
  Entry(className).running = std::move(instance);
}

std::shared_ptr<platform::Object> InMemoryRuntime::Running(std::u16string_view className) {
  auto it = classes_.find(className);
  if (it == classes_.end()) return nullptr;
  ClassEntry& entry = it->second;
  // An instance that stopped running leaves the table, as a quit server does.
  if (entry.running && entry.alive && !entry.alive(*entry.running)) entry.running = nullptr;
  return entry.running;
}

void InMemoryRuntime::SetFactory(std::u16string_view className, Factory factory) {
  Entry(className).factory = std::move(factory);
}

void InMemoryRuntime::SetLiveness(std::u16string_view className, Liveness alive) {
  Entry(className).alive = std::move(alive);
}

int InMemoryRuntime::Created(std::u16string_view className) const {
  auto it = classes_.find(className);
  return it == classes_.end() ? 0 : it->second.created;
}

std::shared_ptr<platform::Object> InMemoryRuntime::GetObject(std::u16string_view className) {
  Enter(u"GetObject");
  std::shared_ptr<platform::Object> running = Running(className);
  if (!running) platform::Raise(platform::kErrCannotCreate);
  return running;
}

std::shared_ptr<platform::Object> InMemoryRuntime::CreateObject(std::u16string_view className) {
  Enter(u"CreateObject");
  auto it = classes_.find(className);
  if (it == classes_.end() || !it->second.factory) platform::Raise(platform::kErrCannotCreate);
  std::shared_ptr<platform::Object> instance;
  try {
    instance = it->second.factory();
  } catch (const platform::ComError&) {
    instance = nullptr;  // whatever the server's reason, the caller sees 429
  }
  if (!instance) platform::Raise(platform::kErrCannotCreate);
  ++it->second.created;
  it->second.running = instance;
  return instance;
}

std::u16string InMemoryRuntime::LibraryFolder() {
  Enter(u"LibraryFolder");
  return libraryFolder_;
}

void InMemoryRuntime::Note(std::u16string_view line) noexcept {
  try {
    notes_.emplace_back(line);
  } catch (...) {
    // Out of memory: the note is lost, as a full disk loses a log line.
  }
}

std::u16string InMemoryRuntime::Narrow(std::u16string_view text) {
  Enter(u"Narrow");
  return wordrules::NarrowWidthPortable(text);
}

}  // namespace sendnote::inmemory
