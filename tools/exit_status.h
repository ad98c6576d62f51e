// The exit statuses of the `capsule` command and the one-line error every failure prints.
//
// 0 the command did what was asked; 1 the operation failed (an unreadable package, a failed
// write, an incomplete catalogue); 2 the command line was wrong (unknown option, missing argument,
// bad value), before anything was done.
//
// Thread safety: PrintError writes to the given stream; call it from the command's thread.

#ifndef ZORVCAPSULE_TOOLS_EXIT_STATUS_H_
#define ZORVCAPSULE_TOOLS_EXIT_STATUS_H_

#include <ostream>
#include <string>

namespace capsuletool {

enum ExitStatus : int {
  kExitSuccess = 0,
  kExitFailed = 1,
  kExitUsage = 2,
};

// Writes "capsule: <subject>: <problem>" as one line; an empty subject is left out.
inline void PrintError(std::ostream& err, const std::string& subject, const std::string& problem) {
  err << "capsule: ";
  if (!subject.empty()) err << subject << ": ";
  err << problem << '\n';
}

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_EXIT_STATUS_H_
