// ReportCapture: for tests, installs a reporter that keeps every diagnostic report, and puts the
// previous reporter back when it goes.
//
// Thread safety: reports may arrive on any thread; Reports() and Messages() may be read from any
// thread. Construct and destroy it on the test's thread, after and before the threads that report.

#ifndef ZORVCAPSULE_HOST_CORE_TEST_REPORT_CAPTURE_H_
#define ZORVCAPSULE_HOST_CORE_TEST_REPORT_CAPTURE_H_

#include <mutex>
#include <string>
#include <vector>

#include "host/core/debug.h"

namespace zorvcore {

class ReportCapture {
 public:
  ReportCapture()
      : previous_(debug::SetAssertReporter([this](const debug::AssertReport& report) {
          std::lock_guard<std::mutex> lock(mutex_);
          reports_.push_back(report);
          return debug::AssertAction::kContinue;
        })) {}
  ~ReportCapture() { debug::SetAssertReporter(previous_); }
  ReportCapture(const ReportCapture&) = delete;
  ReportCapture& operator=(const ReportCapture&) = delete;

  std::vector<debug::AssertReport> Reports() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    for (const debug::AssertReport& report : Reports()) messages.push_back(report.message);
    return messages;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<debug::AssertReport> reports_;  // guarded by mutex_
  const debug::AssertReporter previous_;
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_TEST_REPORT_CAPTURE_H_
