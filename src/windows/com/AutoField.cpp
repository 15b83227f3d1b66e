#include "windows/com/AutoField.h"

#include "windows/com/AutoRange.h"
#include "windows/com/VariantConversion.h"

namespace sendnote::com {

int32_t AutoField::Type() { return Int32Of(dispatch().Get(u"Type")); }

std::shared_ptr<platform::Range> AutoField::Code() { return Wrap<AutoRange>(ObjectOf(u"Code")); }

std::shared_ptr<platform::Range> AutoField::Result() {
  return Wrap<AutoRange>(ObjectOf(u"Result"));
}

platform::Flag AutoField::Update() { return FlagOf(dispatch().Call(u"Update")); }

}  // namespace sendnote::com
