#include "windows/com/HResultError.h"

#include <winerror.h>

#include <cwchar>

#include "windows/com/ScopedBstr.h"
#include "windows/com/WideText.h"

namespace sendnote::com {
namespace {

// The system's message for an HRESULT, without its trailing line break; empty if none.
std::u16string SystemMessage(HRESULT hr) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  if (!buffer) return {};
  std::u16string text = FromWide(std::wstring_view(buffer, n));
  ::LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
    text.pop_back();
  }
  return text;
}

std::u16string HexOf(HRESULT hr) {
  wchar_t buffer[16];
  std::swprintf(buffer, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  return FromWide(buffer);
}

}  // namespace

int32_t ErrorNumberOf(HRESULT hr) {
  switch (hr) {
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND:
      return platform::kErrNotSupported;
    case DISP_E_TYPEMISMATCH:
    case E_NOINTERFACE:
      return platform::kErrTypeMismatch;
    case DISP_E_BADINDEX:
      return platform::kErrSubscript;
    case DISP_E_OVERFLOW:
      return platform::kErrOverflow;
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_PARAMNOTOPTIONAL:
    case E_INVALIDARG:
      return platform::kErrInvalidCall;
    case E_OUTOFMEMORY:
      return 7;
    default:
      break;
  }
  if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
  return static_cast<int32_t>(hr);
}

platform::ComError ErrorOf(HRESULT hr, EXCEPINFO* info, std::u16string_view member) {
  int32_t number = ErrorNumberOf(hr);
  std::u16string description;
  if (hr == DISP_E_EXCEPTION && info) {
    if (info->pfnDeferredFillIn) info->pfnDeferredFillIn(info);
    if (info->scode != 0) {
      number = ErrorNumberOf(info->scode);
    } else if (info->wCode != 0) {
      number = info->wCode;
    }
    description = ScopedBstr::Text(info->bstrDescription);
  }
  if (description.empty()) description = platform::StandardDescription(number);
  if (description.empty()) description = SystemMessage(hr);
  if (description.empty()) {
    description = u"Automation error ";
    description += HexOf(hr);
  }
  if (!member.empty()) {
    description += u" (";
    description += member;
    description += u")";
  }
  return platform::ComError(number, std::move(description));
}

void Check(HRESULT hr, std::u16string_view member) {
  if (FAILED(hr)) throw ErrorOf(hr, nullptr, member);
}

}  // namespace sendnote::com
