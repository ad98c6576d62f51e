// `capsule validate PATH... [--json] [--strict]`: every problem of every template package named,
// for template authors before they ship and for keepers of large collections.
//
// Each PATH is a package or a folder; a folder is walked with all its subfolders as the catalogue
// walks it (".tplx" files only, each folder's entries in byte order of their names). Every package
// is checked on its own (tools/package_checks.h), on the worker pool, and reported in walk order; a
// broken package never stops the others. A PATH that does not exist is reported as a package with
// the problem "not-found".
//
// Output: a table of the problems and the line "N packages, E errors, W warnings", or with --json
// one object (tools/validation_report.h). Exit status: 1 when any error was found, or with
// --strict any warning; 0 otherwise. Nothing is written but to standard output (and progress on a
// terminal's standard error): no cache, no extracted files.
//
// Thread safety: run from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_VALIDATE_COMMAND_H_
#define ZORVCAPSULE_TOOLS_VALIDATE_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

namespace capsuletool {

struct ValidateOptions {
  std::vector<std::string> paths;  // UTF-8
  bool json = false;
  bool strict = false;
};

// The end of `capsule validate --help`: the problem codes with their severities and the exit statuses.
std::string ValidateHelpFooter();

// Returns the exit status.
int RunValidateCommand(const ValidateOptions& options, std::ostream& out, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_VALIDATE_COMMAND_H_
