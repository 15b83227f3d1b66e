#include "system/common/ReportWatch.h"

namespace sendnote {
namespace {

// The add-in runs on the host's one user-interface thread.
ReportWatch* innermost = nullptr;

}  // namespace

ReportWatch::ReportWatch() : outer_(innermost) { innermost = this; }

ReportWatch::~ReportWatch() { innermost = outer_; }

bool ReportWatch::Note(const std::u16string& text) {
  if (!innermost) return true;
  innermost->reports_.push_back(text);
  return innermost->reports_.size() == 1;
}

}  // namespace sendnote
