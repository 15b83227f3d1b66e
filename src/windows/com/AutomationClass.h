// GetObject and CreateObject of an automation class by its program identifier, as Basic's
// runtime makes them, the object wrapped as the system's contract for that class.
#pragma once

#include <memory>
#include <string_view>

#include "platform/Object.h"
#include "windows/com/ComPtr.h"

namespace sendnote::com {

// The running object of the class (GetObject with no path), from the running object
// table. Raises Cannot create (429) for an unknown class or when none runs; other
// failures (a running server that does not answer) keep their own number.
std::shared_ptr<platform::Object> GetActiveObjectOf(std::u16string_view className);

// A new object of the class from its local server (CreateObject). Raises 429 for an
// unknown class and for any failure to create the object.
std::shared_ptr<platform::Object> CreateLocalObjectOf(std::u16string_view className);

// The object as the contract of its class: Word's or Outlook's application for
// "Word.Application" or "Outlook.Application" (a version suffix included), a plain
// automation object otherwise.
std::shared_ptr<platform::Object> WrapClassObject(std::u16string_view className,
                                                  ComPtr<IDispatch> object);

}  // namespace sendnote::com
