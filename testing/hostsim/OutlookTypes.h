// The dispatch tables of the exposed Outlook objects and Office command bars, under the
// object models' member names and argument orders.
#pragma once

#include "hostsim/DispatchType.h"
#include "platform/Object.h"

namespace sendnote::hostsim {

// The table for an Outlook or command-bar object, or null for any other object.
const DispatchType* OutlookTypeOf(platform::Object& model);

}  // namespace sendnote::hostsim
