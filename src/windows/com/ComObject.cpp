#include "windows/com/ComObject.h"

#include <exception>
#include <new>

#include "platform/ComError.h"
#include "platform/Utf.h"

namespace sendnote::com {
namespace {

// Automation's "Out of memory" and "Internal error" (runtime errors 7 and 51).
constexpr int32_t kErrOutOfMemory = 7;
constexpr int32_t kErrInternal = 51;

// A runtime error number n travels as FACILITY_CONTROL n, an HRESULT as itself, as Basic
// and Office report them.
HRESULT HResultOfNumber(int32_t number) {
  if (number < 0) return static_cast<HRESULT>(number);
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number & 0xFFFF);
}

// UTF-16 text as a BSTR without a C++ allocation (this runs while memory may be short);
// null when even that fails.
BSTR Bstr(std::u16string_view text) {
  return ::SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()),
                             static_cast<UINT>(text.size()));
}

HRESULT Fill(EXCEPINFO* info, int32_t number, std::u16string_view description,
             std::u16string_view source) {
  if (!info) return DISP_E_EXCEPTION;
  *info = EXCEPINFO{};
  info->scode = HResultOfNumber(number);
  info->bstrSource = Bstr(source);
  info->bstrDescription = Bstr(description);
  return DISP_E_EXCEPTION;
}

}  // namespace

HRESULT HResultOfCurrentException() noexcept {
  try {
    throw;
  } catch (const platform::ComError& error) {
    return error.Number() == 0 ? E_FAIL : HResultOfNumber(error.Number());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT ReportCurrentException(EXCEPINFO* info, std::u16string_view source) noexcept {
  try {
    throw;
  } catch (const platform::ComError& error) {
    return Fill(info, error.Number(), error.Description(), source);
  } catch (const std::bad_alloc&) {
    return Fill(info, kErrOutOfMemory, u"Out of memory", source);
  } catch (const std::exception& error) {
    // Its text is UTF-8 (ours) or ASCII; decoding allocates, which may fail in turn.
    try {
      return Fill(info, kErrInternal, platform::FromUtf8(error.what()), source);
    } catch (...) {
      return Fill(info, kErrInternal, u"Internal error", source);
    }
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace sendnote::com
