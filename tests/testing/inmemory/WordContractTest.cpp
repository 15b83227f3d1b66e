// The Word contract suite run against the in-memory Word.
#include <string>

#include "tests/support/contract/WordContractTests.h"
#include "tests/testing/inmemory/InMemoryWordFixture.h"

namespace sendnote::testing {

INSTANTIATE_TEST_SUITE_P(InMemory, WordContract, ::testing::Values(WordFixtureFactory([] {
                           return std::make_unique<InMemoryWordFixture>();
                         })),
                         [](const auto&) { return std::string("Word"); });

}  // namespace sendnote::testing
