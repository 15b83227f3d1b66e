#include "system/common/modFunc.h"

#include "platform/ComError.h"
#include "platform/Runtime.h"
#include "system/common/ReportError.h"

namespace sendnote {

using platform::As;
using platform::ComError;
using platform::Flag;
using platform::kFalse;
using platform::kTrue;

std::shared_ptr<platform::WordApplication> GetWordApp(Flag& started) {
  std::shared_ptr<platform::WordApplication> app;
  int32_t error = 0;
  try {
    app = As<platform::WordApplication>(platform::CurrentRuntime().GetObject(kWordClass));
  } catch (const ComError& e) {
    error = e.Number();
  }
  if (error == 0) {
    started = kFalse;
  } else if (error == platform::kErrCannotCreate) {
    // Attaching gives 429 when no Word runs: start one.
    NewWordApp(app);
    if (app) started = kTrue;
  } else {
    // Word is there but does not answer (busy in a dialog, say): do not start another.
    app.reset();
  }
  return app;
}

std::shared_ptr<platform::WordApplication> GetRunningWordApp() {
  try {
    return As<platform::WordApplication>(platform::CurrentRuntime().GetObject(kWordClass));
  } catch (const ComError&) {
    return nullptr;
  }
}

void NewWordApp(std::shared_ptr<platform::WordApplication>& app) {
  try {
    app = As<platform::WordApplication>(platform::CurrentRuntime().CreateObject(kWordClass));
  } catch (const ComError&) {
    app.reset();
  }
}

Flag IsObjAlive(const std::shared_ptr<platform::Object>& object) {
  try {
    platform::Must(object).Application();
  } catch (const ComError&) {
    return kFalse;
  }
  return platform::ToFlag(object != nullptr);
}

Flag ShowMsg(std::u16string_view text) {
  if (text.empty()) return kFalse;
  platform::CurrentRuntime().Ui().MsgBox(text, platform::kVbExclamation, kAppTitle);
  return kTrue;
}

std::u16string PathJoin(std::u16string_view folder, std::u16string_view file) {
  std::u16string path(folder);
  if (path.empty() || path.back() != u'\\') path += u'\\';
  path += file;
  return path;
}

std::shared_ptr<platform::Fields> ShapeFields(const std::shared_ptr<platform::Shape>& shape) {
  auto& item = platform::Must(shape);
  std::shared_ptr<platform::Range> text;
  try {
    // A picture has a frame without text; a group or a canvas may have no frame to read.
    text = platform::Must(item.TextFrame()).TextRange();
  } catch (const ComError&) {
    return nullptr;
  }
  return platform::Must(text).Fields();
}

Flag IsContactItem(const std::shared_ptr<platform::Object>& item) {
  try {
    auto outlookItem = As<platform::OutlookItem>(item);
    return platform::ToFlag(platform::Must(outlookItem).Class() == platform::kOlContactItemClass);
  } catch (const ComError&) {
    return kFalse;
  }
}

}  // namespace sendnote
