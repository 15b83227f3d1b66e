// The simulator's objects for model objects, and back: the one entry to the dispatch
// tables of the Outlook and Word types.
#pragma once

#include "windows/com/Win32.h"

#include <memory>

#include "platform/Object.h"
#include "windows/com/ComPtr.h"

namespace sendnote::hostsim {

// The live COM object of a model object (made on first use); empty for an empty one.
com::ComPtr<IDispatch> Expose(const std::shared_ptr<platform::Object>& model);
// The model object behind one of the simulator's COM objects; empty for a foreign one.
std::shared_ptr<platform::Object> ModelOf(IUnknown* object);

}  // namespace sendnote::hostsim
