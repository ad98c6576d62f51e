#include "tools/diagnostics_collector.h"

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

}  // namespace capsuletool
