// Diagnostics: the host's assertion reporter.
//
// The library keeps no log of its own. When something goes wrong that no caller can be told about (an
// exception caught at a task boundary, a failed index operation), it hands a report to the installed
// reporter. The default reporter writes one line to standard error; a host installs its own to show a
// dialog or log the report, and tests install one to capture reports.
//
// Thread safety: every function may be called from any thread. The reporter is called on the thread
// that reports, possibly several at once, and must not report again from inside itself.

#ifndef ZORVCAPSULE_HOST_CORE_DEBUG_H_
#define ZORVCAPSULE_HOST_CORE_DEBUG_H_

#include <functional>
#include <string>

namespace zorvcore::debug {

struct AssertReport {
  std::string condition;  // the failed condition as text, "false" for an unconditional report
  std::string source;     // the component that reports, such as "StockLicense"
  std::string function;   // the reporting function's name
  std::string message;    // what went wrong, UTF-8
};

// What the reporter wants done after a report.
enum class AssertAction {
  kContinue,  // carry on
  kBreak,     // enter the debugger when one is attached, then carry on
  kSilence,   // carry on and drop further reports from the same call site
};

using AssertReporter = std::function<AssertAction(const AssertReport&)>;

// Installs `reporter` (an empty function restores the default) and returns the one it replaces.
AssertReporter SetAssertReporter(AssertReporter reporter);

// Reports through the installed reporter. `silenced` is the call site's own flag: while it is true
// nothing is reported; a reporter's kSilence sets it. Returns true when the reporter asked to break
// and a debugger is attached; the caller then breaks (BreakIntoDebugger) where it stands.
bool BreakAfterAssertDialog(const char* condition, const char* source, const char* function,
                            const std::string& message, bool* silenced = nullptr);

// Reports a diagnostic text with no call site of its own ("false", the given source, no function).
void ReportDiagnostic(const char* source, const std::string& message);

// True when a debugger (a tracer) is attached to this process.
bool IsDebuggerAttached();

// Stops in the attached debugger; does nothing without one.
void BreakIntoDebugger();

}  // namespace zorvcore::debug

#endif  // ZORVCAPSULE_HOST_CORE_DEBUG_H_
