// The dispatch tables of the exposed Word objects, under Word's member names and argument
// orders (Documents.Add(Template, NewTemplate, DocumentType, Visible), ...).
#pragma once

#include "hostsim/DispatchType.h"
#include "platform/Object.h"

namespace sendnote::hostsim {

// The table for a Word object, or null for any other object.
const DispatchType* WordTypeOf(platform::Object& model);

}  // namespace sendnote::hostsim
