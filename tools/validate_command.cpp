#include "tools/validate_command.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <system_error>
#include <thread>

#include "host/core/dir.h"
#include "host/core/executor.h"
#include "host/core/file.h"
#include "host/core/recursive_file_iterator.h"
#include "host/core/unicode.h"
#include "package/package_names.h"
#include "tools/exit_status.h"
#include "tools/package_checks.h"
#include "tools/terminal_progress.h"
#include "tools/validation_report.h"

namespace capsuletool {
namespace {

namespace fs = std::filesystem;

// Packages per pool task: enough to make handing out work cheap beside opening a zip, few enough
// to spread a small folder over the pool.
constexpr size_t kPackagesPerTask = 4;

// One package to check, or a PATH that names nothing.
struct Target {
  std::u16string path;
  std::string shownPath;  // UTF-8, as the report names it
  bool missing = false;
};

bool IsPackageFile(const zorvcore::File& file) { return file.GetExtension(true) == zorvcapsule::kCapsuleExtn; }

// A folder is walked as the catalogue walks the templates folder; anything else that exists is
// taken to be a package, whatever its name, since it was named.
void AddTargets(const std::string& path, std::vector<Target>& targets) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) {
    targets.push_back({zorvcore::UTF8ToUTF16(path), path, true});
    return;
  }
  if (!fs::is_directory(status)) {
    targets.push_back({zorvcore::UTF8ToUTF16(path), path, false});
    return;
  }
  for (const zorvcore::File& file : zorvcore::RecursiveFileIterator(zorvcore::Dir(zorvcore::UTF8ToUTF16(path)))) {
    if (IsPackageFile(file)) targets.push_back({file.FullPath(), zorvcore::UTF16ToUTF8(file.FullPath()), false});
  }
}

PackageReport Check(const Target& target) {
  if (target.missing) return {target.shownPath, {Problem(kNotFound, "no such file or folder")}};
  return CheckPackage(target.path, target.shownPath);
}

// Checks every target on the pool, each report in its target's place, in one go: a pause between
// batches would leave threads idle while the slowest package of each batch ends. The progress line
// is drawn by the calling thread, which takes its share of the packages too.
std::vector<PackageReport> CheckAll(const std::vector<Target>& targets, TerminalProgress& progress) {
  std::vector<PackageReport> reports(targets.size());
  std::atomic<size_t> done{0};
  const std::thread::id caller = std::this_thread::get_id();
  const size_t tasks = (targets.size() + kPackagesPerTask - 1) / kPackagesPerTask;
  zorvcore::ExecuteCPUBoundTaskOnAllProcessors(
      [&](size_t task) {
        const size_t first = task * kPackagesPerTask;
        const size_t end = std::min(targets.size(), first + kPackagesPerTask);
        for (size_t i = first; i < end; ++i) reports[i] = Check(targets[i]);
        const size_t checked = done.fetch_add(end - first, std::memory_order_relaxed) + (end - first);
        if (std::this_thread::get_id() == caller) progress.ShowCount("validating", checked, targets.size());
      },
      tasks);
  return reports;
}

}  // namespace

std::string ValidateHelpFooter() {
  std::string errors, warnings;
  for (const ProblemKind& kind : kProblemKinds) {
    std::string& list = kind.severity == Severity::kError ? errors : warnings;
    list += (list.empty() ? "" : ", ") + std::string(kind.code);
  }
  return "Every package is checked on its own, and every problem it has is reported with a fixed code.\n"
         "Errors: " + errors + ".\nWarnings: " + warnings +
         ".\n\nExit status: 0 when no error was found (warnings allowed, unless --strict), 1 otherwise, 2 for a wrong"
         " command line.";
}

int RunValidateCommand(const ValidateOptions& options, std::ostream& out, std::ostream& err) {
  TerminalProgress progress;
  std::vector<Target> targets;
  for (const std::string& path : options.paths) {
    progress.Show("finding packages in " + path);
    AddTargets(path, targets);
  }
  const std::vector<PackageReport> reports = CheckAll(targets, progress);
  progress.Clear();

  if (options.json) {
    out << ValidationJSON(reports) << '\n';
  } else {
    WriteValidationTable(out, reports);
  }
  out.flush();
  if (!out) {
    PrintError(err, "validate", "cannot write the report");
    return kExitFailed;
  }
  const ProblemCounts counts = CountProblems(reports);
  const bool failed = counts.errors > 0 || (options.strict && counts.warnings > 0);
  return failed ? kExitFailed : kExitSuccess;
}

}  // namespace capsuletool
