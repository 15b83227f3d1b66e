#include "common/ReportWatch.h"

namespace sendnote {
namespace {

// The add-in runs on the host's one user-interface thread.
ReportWatch* innermost = nullptr;

}  // namespace

ReportWatch::ReportWatch() : outer_(innermost) { innermost = this; }

ReportWatch::~ReportWatch() { innermost = outer_; }

void ReportWatch::Note(const std::u16string& text) {
  if (innermost) innermost->reports_.push_back(text);
}

}  // namespace sendnote
