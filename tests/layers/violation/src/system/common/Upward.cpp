// Input of the layer check's own test: system/common/ reaching up into system/ui/ must be
// refused.
#include "platform/Object.h"
#include "system/ui/frmAbout.h"
