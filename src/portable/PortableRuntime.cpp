#include "portable/PortableRuntime.h"

#include <cstdio>
#include <string>

#include "platform/ComError.h"
#include "platform/Utf.h"
#include "platform/Word.h"
#include "wordrules/NarrowTable.h"

namespace sendnote::portable {
using platform::kWordClass;

PortableRuntime::PortableRuntime(platform::UserInterface& ui, WordFactory makeWord,
                                 std::u16string folder)
    : ui_(ui), makeWord_(std::move(makeWord)), folder_(std::move(folder)) {}

std::shared_ptr<platform::Object> PortableRuntime::GetObject(std::u16string_view className) {
  // No Word runs before the command starts one; a quit one no longer runs.
  if (className != kWordClass || !word_) platform::Raise(platform::kErrCannotCreate);
  try {
    word_->Caption();
  } catch (const platform::ComError&) {
    word_.reset();
    platform::Raise(platform::kErrCannotCreate);
  }
  return word_;
}

std::shared_ptr<platform::Object> PortableRuntime::CreateObject(std::u16string_view className) {
  if (className != kWordClass || !makeWord_) platform::Raise(platform::kErrCannotCreate);
  auto word = makeWord_();
  if (!word) platform::Raise(platform::kErrCannotCreate);
  word_ = word;
  return word;
}

void PortableRuntime::Note(std::u16string_view line) noexcept {
  try {
    const std::string text = "sendnote: " + platform::ToUtf8(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
  } catch (...) {
    // Nothing to report a failed note with.
  }
}

std::u16string PortableRuntime::Narrow(std::u16string_view text) {
  return wordrules::NarrowWidthPortable(text);
}

}  // namespace sendnote::portable
