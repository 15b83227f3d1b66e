// The libFuzzer entry of one target; SENDNOTE_FUZZ_TARGET names it at build time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const sendnote::fuzz::Target* target = sendnote::fuzz::FindTarget(SENDNOTE_FUZZ_TARGET);
  if (target == nullptr) std::abort();
  target->run(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
