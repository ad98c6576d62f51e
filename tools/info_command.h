// `capsule info PACKAGE [--json]`: what a template package holds, read the way a host reads it
// (CapsuleZip and the description reader).
//
// The text form lists the description and the members the library looks for; --json prints the
// description exactly as the library writes it. A package without a readable description fails
// with one line saying why.
//
// Thread safety: run from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_INFO_COMMAND_H_
#define ZORVCAPSULE_TOOLS_INFO_COMMAND_H_

#include <ostream>
#include <string>

namespace capsuletool {

struct InfoOptions {
  std::string package;  // UTF-8 path
  bool json = false;
};

// Returns the exit status.
int RunInfoCommand(const InfoOptions& options, std::ostream& out, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_INFO_COMMAND_H_
