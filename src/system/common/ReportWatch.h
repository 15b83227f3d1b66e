// Keeps the error reports shown while it lives, so that the one who started a unit of work
// (the click) knows from the system itself whether the work failed, and with which report.
#pragma once

#include <string>
#include <vector>

namespace sendnote {

class ReportWatch {
 public:
  // Watches until destroyed; watches nest, and a report goes to the innermost one.
  ReportWatch();
  ~ReportWatch();
  ReportWatch(const ReportWatch&) = delete;
  ReportWatch& operator=(const ReportWatch&) = delete;

  // The report texts in the order shown.
  const std::vector<std::u16string>& Reports() const { return reports_; }

  // Called by the error report with its text before the box is shown. Returns whether it
  // is the first report of the watched unit of work (always so when nothing watches).
  static bool Note(const std::u16string& text);

 private:
  ReportWatch* outer_;
  std::vector<std::u16string> reports_;
};

}  // namespace sendnote
