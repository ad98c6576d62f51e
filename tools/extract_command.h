// `capsule extract PACKAGE --into DIR --name NAME`: extracts a template's project package the way
// a host does when the template is applied (CapsuleZip::GetTPLXProjectPackage), into
// DIR/NAME.tsgraphic or DIR/NAME.qzgraphic, and prints that folder.
//
// Thread safety: run from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_EXTRACT_COMMAND_H_
#define ZORVCAPSULE_TOOLS_EXTRACT_COMMAND_H_

#include <ostream>
#include <string>

#include "host/core/status.h"

namespace capsuletool {

struct ExtractOptions {
  std::string package;  // UTF-8 paths and name
  std::string into;
  std::string name;
};

// OK when `name` is a single folder name; else InvalidArgument saying what is wrong with it.
zorvcore::Status CheckFolderName(const std::string& name);

// Returns the exit status.
int RunExtractCommand(const ExtractOptions& options, std::ostream& out, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_EXTRACT_COMMAND_H_
