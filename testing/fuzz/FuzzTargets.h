// Fuzz targets: each reads one input the way the program reads a user's file. A target
// returns normally when the input is read or refused with the one error type; anything
// else (another exception, a crash, a sanitizer report) is a fault.
#pragma once

#include <span>
#include <string_view>

namespace sendnote::fuzz {

struct Target {
  std::string_view name;
  void (*run)(std::string_view input);
};

// Every target, by name: vcard, csv, charset, zip, package, story, fieldcode, letter.
std::span<const Target> Targets();

// Returns the target of that name, or nullptr.
const Target* FindTarget(std::string_view name);

}  // namespace sendnote::fuzz
