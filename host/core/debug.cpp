#include "host/core/debug.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>

namespace zorvcore::debug {
namespace {

AssertAction DefaultReporter(const AssertReport& report) {
  std::string line = "[" + report.source + "] ";
  if (!report.function.empty()) line += report.function + ": ";
  if (report.condition != "false") line += "(" + report.condition + ") ";
  line += report.message;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  std::fprintf(stderr, "%s\n", line.c_str());
  return AssertAction::kContinue;
}

std::mutex& ReporterMutex() {
  static std::mutex mutex;
  return mutex;
}

AssertReporter& InstalledReporter() {
  static AssertReporter reporter;
  return reporter;
}

AssertReporter CurrentReporter() {
  std::lock_guard<std::mutex> lock(ReporterMutex());
  return InstalledReporter();
}

}  // namespace

AssertReporter SetAssertReporter(AssertReporter reporter) {
  std::lock_guard<std::mutex> lock(ReporterMutex());
  AssertReporter previous = std::move(InstalledReporter());
  InstalledReporter() = std::move(reporter);
  return previous;
}

bool BreakAfterAssertDialog(const char* condition, const char* source, const char* function,
                            const std::string& message, bool* silenced) {
  if (silenced != nullptr && *silenced) return false;
  AssertReport report{condition ? condition : "false", source ? source : "", function ? function : "",
                      message};
  // The reporter runs outside the lock, so it may take its time (a dialog) without blocking others.
  AssertReporter reporter = CurrentReporter();
  AssertAction action = reporter ? reporter(report) : DefaultReporter(report);
  if (action == AssertAction::kSilence && silenced != nullptr) *silenced = true;
  return action == AssertAction::kBreak && IsDebuggerAttached();
}

void ReportDiagnostic(const char* source, const std::string& message) {
  BreakAfterAssertDialog("false", source, "", message, nullptr);
}

bool IsDebuggerAttached() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("TracerPid:", 0) == 0) return std::stol(line.substr(10)) != 0;
  }
  return false;
}

void BreakIntoDebugger() {
  if (IsDebuggerAttached()) std::raise(SIGTRAP);
}

}  // namespace zorvcore::debug
