// Helpers of the engine's tests: raw views of zip packages and hand-made zip archives for
// damaged and hostile input (with the shared temporary folder and caught errors).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ComError.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TestFiles.h"

namespace sendnote::docx::testing {

using test_support::ErrorOf;
using test_support::ReadFile;
using test_support::TempDir;
using test_support::WriteFile;

// One entry of a zip archive as stored.
struct RawEntry {
  std::string name;
  std::string raw;  // compressed data as stored
  uint32_t crc = 0;
  int32_t method = 0;
};
std::vector<RawEntry> RawEntries(const std::string& zip);
// Returns the expanded data of an entry; fails the test when there is none.
std::string EntryText(const std::string& zip, const std::string& name);
bool HasEntry(const std::string& zip, const std::string& name);
// True when the archive uses any zip64 record or extra field.
bool UsesZip64(const std::string& zip);

// An entry of a hand-made archive: stored (not compressed), with what its headers say.
struct HandEntry {
  HandEntry(std::string n, std::string d, uint16_t f = 0, std::optional<uint32_t> size = {})
      : name(std::move(n)), data(std::move(d)), flags(f), declaredSize(size) {}
  std::string name;
  std::string data;
  uint16_t flags = 0;                    // general purpose flags (1: encrypted)
  std::optional<uint32_t> declaredSize;  // the expanded size the headers claim
};
std::string HandMadeZip(const std::vector<HandEntry>& entries);

}  // namespace sendnote::docx::testing
