// The Word contract suite: what the system relies on of any Word implementation, checked
// through the platform interfaces only. Instantiate it with a fixture factory:
//   INSTANTIATE_TEST_SUITE_P(Name, WordContract, ::testing::Values(WordFixtureFactory(...)));
// Where implementations differ: a document's Fields are its main text only, as in Word's
// object model; the in-memory Word models no headers, footers or notes, while the .docx
// engine refreshes the prefixed DOCPROPERTY fields of those stories when it saves a letter
// (Word does it when it lays the letter out). That is tested with the engine itself.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Word.h"
#include "tests/support/contract/WordContractFixture.h"

namespace sendnote::testing {

class WordContract : public ::testing::TestWithParam<WordFixtureFactory> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new document from a template made of `content`.
  std::shared_ptr<platform::Document> NewDocument(const TemplateOutline& content);
  // The codes and results of a fields collection, in its order.
  static std::vector<std::u16string> Codes(const std::shared_ptr<platform::Fields>& fields);
  static std::vector<std::u16string> Results(const std::shared_ptr<platform::Fields>& fields);
  // The names of a property collection, in its order.
  static std::vector<std::u16string> Names(
      const std::shared_ptr<platform::DocumentProperties>& properties);

  std::unique_ptr<WordContractFixture> fixture_;
  std::shared_ptr<platform::WordApplication> app_;
};

}  // namespace sendnote::testing
