// Helpers shared by the contact file reader tests.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ComError.h"
#include "platform/Utf.h"
#include "portable/contacts/ContactEntry.h"

namespace sendnote::contacts::testing {

// Runs fn and returns the ComError it raised; records a test failure if it raised none.
template <typename F>
platform::ComError RaisedBy(F&& fn) {
  try {
    std::forward<F>(fn)();
  } catch (const platform::ComError& error) {
    return error;
  }
  ADD_FAILURE() << "no ComError was raised";
  return platform::ComError(0, u"");
}

// Returns true if the error's description contains the text.
inline bool Mentions(const platform::ComError& error, std::u16string_view text) {
  return error.Description().find(text) != std::u16string::npos;
}

// Returns the records of entries that must all be readable; records a test failure for each
// that is not.
inline std::vector<ContactRecord> Records(const std::vector<ContactEntry>& entries) {
  std::vector<ContactRecord> records;
  for (const ContactEntry& entry : entries) {
    EXPECT_TRUE(entry.Readable()) << platform::ToUtf8(entry.problem);
    records.push_back(entry.record);
  }
  return records;
}

}  // namespace sendnote::contacts::testing
