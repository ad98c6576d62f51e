// DiagnosticsCollector: catches the reports the library hands to the host's assertion reporter
// while a command runs, so the command can tell the user what went wrong in its own words and exit
// with a failure, instead of the library's raw lines appearing in the middle of its output.
//
// Installs itself as the reporter on construction and restores the previous one on destruction.
//
// Thread safety: the library reports from its worker threads; the collector may be reported to
// from any thread at once. Reports() may be called from any thread.

#ifndef ZORVCAPSULE_TOOLS_DIAGNOSTICS_COLLECTOR_H_
#define ZORVCAPSULE_TOOLS_DIAGNOSTICS_COLLECTOR_H_

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "host/core/debug.h"

namespace capsuletool {

class DiagnosticsCollector {
 public:
  DiagnosticsCollector();
  DiagnosticsCollector(const DiagnosticsCollector&) = delete;
  DiagnosticsCollector& operator=(const DiagnosticsCollector&) = delete;
  ~DiagnosticsCollector();

  // The reports so far, in the order they arrived.
  std::vector<zorvcore::debug::AssertReport> Reports() const;
  // True once the executor has reported a task that died: a delivery that task owed never comes.
  bool TaskDied() const;

 private:
  zorvcore::debug::AssertReporter previous_;
  mutable std::mutex mutex_;
  std::vector<zorvcore::debug::AssertReport> reports_;
};

// Prints each report as one error line under `subject` ("<source>: <message>", the message's
// trailing line breaks dropped); true when there was any.
bool PrintDiagnostics(const DiagnosticsCollector& diagnostics, const std::string& subject, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_DIAGNOSTICS_COLLECTOR_H_
