// Input of the layer check's own test: common/ reaching up into ui/ must be refused.
#include "platform/Object.h"
#include "ui/frmAbout.h"
