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

namespace {

using FieldsVisit = std::function<void(const std::shared_ptr<platform::Fields>&)>;

void VisitShapes(const std::shared_ptr<platform::Shapes>& shapes, const FieldsVisit& visit) {
  auto& collection = platform::Must(shapes);
  const int32_t count = collection.Count();
  for (int32_t i = 1; i <= count; ++i) {
    const auto shape = collection.Item(i);
    if (auto fields = ShapeFields(shape)) {
      visit(fields);
      continue;
    }
    std::shared_ptr<platform::Shapes> items;
    try {
      items = platform::Must(shape).GroupItems();
    } catch (const ComError&) {
      continue;  // neither text nor a group: a picture, a canvas
    }
    VisitShapes(items, visit);
  }
}

}  // namespace

void ForEachTextFields(platform::Document& document, const FieldsVisit& visit) {
  visit(document.Fields());
  VisitShapes(document.Shapes(), visit);
  for (const auto& story : platform::Must(document.StoryRanges()).Items()) {
    const int32_t type = platform::Must(story).StoryType();
    // The main text is done; the text frame story holds the text boxes the shapes reached,
    // and a second visit would rename their fields twice.
    if (type == platform::kWdMainTextStory || type == platform::kWdTextFrameStory) continue;
    const bool sectionStory = platform::IsSectionStory(type);
    for (auto range = story; range; range = sectionStory ? range->NextStoryRange() : nullptr) {
      visit(range->Fields());
      // Floating shapes are anchored in the main text, headers and footers only.
      if (sectionStory) VisitShapes(range->ShapeRange(), visit);
    }
  }
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
