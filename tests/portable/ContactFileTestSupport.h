// Helpers shared by the contact file reader tests.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "platform/ComError.h"
#include "platform/Utf.h"

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

}  // namespace sendnote::contacts::testing
