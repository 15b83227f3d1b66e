#include "system/common/HostBarrier.h"

#include <new>

#include "platform/Utf.h"
#include "system/common/ReportError.h"

namespace sendnote {

platform::ComError AsComError(const std::exception_ptr& failure) noexcept {
  try {
    try {
      std::rethrow_exception(failure);
    } catch (const platform::ComError& e) {
      return e;
    } catch (const std::bad_alloc&) {
      return platform::ComError(kErrOutOfMemory, u"Out of memory");
    } catch (const std::exception& e) {
      return platform::ComError(kErrInternal, platform::FromUtf8(e.what()));
    } catch (...) {
      return platform::ComError(kErrInternal, u"Internal error");
    }
  } catch (...) {
    // Building the description itself ran out of memory: report the number alone.
    return platform::ComError(kErrOutOfMemory, std::u16string());
  }
}

bool RunHostEntryPoint(std::u16string_view procedure, const std::function<void()>& body) noexcept {
  try {
    body();
    return true;
  } catch (...) {
    ReportErrorToHost(procedure, AsComError(std::current_exception()));
    return false;
  }
}

}  // namespace sendnote
