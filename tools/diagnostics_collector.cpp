#include "tools/diagnostics_collector.h"

#include "tools/exit_status.h"

namespace capsuletool {

DiagnosticsCollector::DiagnosticsCollector() {
  previous_ = zorvcore::debug::SetAssertReporter([this](const zorvcore::debug::AssertReport& report) {
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.push_back(report);
    return zorvcore::debug::AssertAction::kContinue;
  });
}

DiagnosticsCollector::~DiagnosticsCollector() { zorvcore::debug::SetAssertReporter(previous_); }

std::vector<zorvcore::debug::AssertReport> DiagnosticsCollector::Reports() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return reports_;
}

bool DiagnosticsCollector::TaskDied() const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& report : reports_) {
    if (report.source == "zorvcore::Executor") return true;
  }
  return false;
}

bool PrintDiagnostics(const DiagnosticsCollector& diagnostics, const std::string& subject, std::ostream& err) {
  const auto reports = diagnostics.Reports();
  for (const auto& report : reports) {
    std::string message = report.message;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    PrintError(err, subject, report.source + ": " + message);
  }
  return !reports.empty();
}

}  // namespace capsuletool
