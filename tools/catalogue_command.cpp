#include "tools/catalogue_command.h"

#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "host/core/file_helper_utils.h"
#include "host/core/unicode.h"
#include "samples/sample_templates.h"
#include "tools/catalogue_failure.h"
#include "tools/catalogue_json.h"
#include "tools/catalogue_session.h"
#include "tools/catalogue_table.h"
#include "tools/catalogue_watch.h"
#include "tools/diagnostics_collector.h"
#include "tools/exit_status.h"
#include "tools/package_file_check.h"
#include "tools/samples_command.h"
#include "tools/terminal_progress.h"

namespace capsuletool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kIndexFileName = "catalogue-index.db";

// The full path of a folder a user named, without a trailing separator, as the library compares it.
std::u16string FullFolderPath(const std::string& path) {
  std::error_code error;
  fs::path full = fs::absolute(fs::path(path), error).lexically_normal();
  std::u16string text = zorvcore::FileHelperUtils::StdPathToUTF16(full);
  while (text.size() > 1 && text.back() == u'/') text.pop_back();
  return text;
}

// The index is rebuilt in place, so a file already there must be an index (an SQLite database,
// possibly empty) and not something of the user's that happens to have the name.
bool LooksLikeAnIndex(const fs::path& file) {
  static constexpr char kDatabaseHeader[] = "SQLite format 3";
  std::ifstream stream(file, std::ios::binary);
  char header[sizeof(kDatabaseHeader)] = {};
  stream.read(header, sizeof(header));
  if (stream.gcount() == 0) return true;
  return stream.gcount() == sizeof(header) && std::memcmp(header, kDatabaseHeader, sizeof(header)) == 0;
}

// Fills `request` from the options; on failure prints the error and returns the exit status.
std::optional<int> PrepareFolders(const CatalogueOptions& options, const CatalogueWorkFolder& work,
                                  CatalogueRequest& request, std::ostream& err) {
  for (const std::string& folder : options.folders) {
    const size_t equals = folder.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == folder.size()) {
      PrintError(err, "--folder", "expected NAME=PATH, not \"" + folder + "\"");
      return kExitUsage;
    }
    const std::string path = folder.substr(equals + 1);
    if (const zorvcore::Status checked = CheckFolder(path); !checked.ok()) {
      PrintError(err, path, checked.message());
      return kExitFailed;
    }
    request.folders.emplace_back(zorvcore::UTF8ToUTF16(folder.substr(0, equals)), FullFolderPath(path));
  }
  if (options.dir) {
    if (const zorvcore::Status checked = CheckFolder(*options.dir); !checked.ok()) {
      PrintError(err, *options.dir, checked.message());
      return kExitFailed;
    }
    request.templatesFolder = FullFolderPath(*options.dir);
    return std::nullopt;
  }
  const fs::path samples = work.Path() / "samples";
  const zorvsamples::SampleSet set = zorvsamples::WriteSampleTemplates(
      zorvcore::FileHelperUtils::StdPathToUTF16(samples), kDefaultSampleCount, zorvsamples::kDefaultSampleSeed);
  if (!set.ok) {
    PrintError(err, std::string(), set.error);
    return kExitFailed;
  }
  request.templatesFolder = FullFolderPath(samples.native());
  return std::nullopt;
}

std::optional<int> PrepareIndex(const CatalogueOptions& options, const CatalogueWorkFolder& work,
                                CatalogueRequest& request, std::ostream& err) {
  if (!options.index) {
    request.indexPath = zorvcore::FileHelperUtils::StdPathToUTF16(work.Path() / kIndexFileName);
    return std::nullopt;
  }
  const fs::path file = fs::absolute(fs::path(*options.index));
  std::error_code error;
  if (fs::is_directory(file, error)) {
    PrintError(err, *options.index, "is a folder; the index needs a file name");
    return kExitFailed;
  }
  if (!fs::is_directory(file.parent_path(), error)) {
    PrintError(err, *options.index, "its folder does not exist");
    return kExitFailed;
  }
  if (fs::exists(file, error) && !LooksLikeAnIndex(file)) {
    PrintError(err, *options.index, "is not a search index; it is left as it is");
    return kExitFailed;
  }
  request.indexPath = zorvcore::FileHelperUtils::StdPathToUTF16(file);
  return std::nullopt;
}

void PrepareRequests(const CatalogueOptions& options, CatalogueRequest& request) {
  for (const std::string& word : options.search) request.searchWords.push_back(zorvcore::UTF8ToUTF16(word));
  if (options.similar) {
    request.similar = true;
    request.similarWord = zorvcore::UTF8ToUTF16(*options.similar);
  }
  request.thumbnails = options.thumbnails;
  if (options.libraries) request.librariesRoot = FullFolderPath(*options.libraries);
}

bool IsSourceFailure(const zorvcore::debug::AssertReport& report) {
  return report.source == "GraphicSourceManager" && report.message.find(" failed") != std::string::npos;
}

}  // namespace

CatalogueWorkFolder::CatalogueWorkFolder() {
  std::error_code error;
  std::string pattern = (fs::temp_directory_path(error) / "capsule-catalogue-XXXXXX").native();
  if (!error && ::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

CatalogueWorkFolder::~CatalogueWorkFolder() {
  std::error_code error;
  if (!path_.empty()) fs::remove_all(path_, error);
}

std::optional<int> PrepareCatalogueRequest(const CatalogueOptions& options, const CatalogueWorkFolder& work,
                                           CatalogueRequest& request, std::ostream& err) {
  if (const auto status = PrepareFolders(options, work, request, err)) return status;
  if (const auto status = PrepareIndex(options, work, request, err)) return status;
  PrepareRequests(options, request);
  return std::nullopt;
}

bool ReportCatalogueTrouble(const CatalogueRequest& request, const CatalogueResult& result,
                   const DiagnosticsCollector& diagnostics, std::ostream& err) {
  bool trouble = !result.complete;
  if (!result.complete) PrintError(err, "catalogue", "a request of the catalogue ended without an answer");
  for (const auto& report : diagnostics.Reports()) {
    trouble = true;
    if (!IsSourceFailure(report)) {
      PrintError(err, "catalogue", report.source + ": " + report.message);
      continue;
    }
    std::set<std::u16string> listed;
    for (const auto& entry : result.entries) listed.insert(entry->path);
    if (const auto failing = FindFailingPackage(request, listed)) {
      PrintError(err, zorvcore::UTF16ToUTF8(failing->path),
                 failing->status.message() + "; the catalogue stops before this package");
    } else {
      PrintError(err, "catalogue", "the listing stopped early: " + report.message);
    }
  }
  return trouble;
}

int RunCatalogueCommand(const CatalogueOptions& options, std::ostream& out, std::ostream& err) {
  CatalogueWorkFolder work;
  if (!work.Made()) {
    PrintError(err, "catalogue", "cannot make a temporary folder");
    return kExitFailed;
  }
  CatalogueRequest request;
  if (const auto status = PrepareCatalogueRequest(options, work, request, err)) return *status;
  if (options.watch) return RunCatalogueWatch(options, request, out, err);

  // Declared before the session so that it outlives the manager's threads, which report to it.
  DiagnosticsCollector diagnostics;
  TerminalProgress progress;
  const CatalogueResult result = RunCatalogueSession(request, diagnostics, progress);

  if (options.json) {
    WriteCatalogueJSON(out, result, options.thumbnails);
    out << '\n';
  } else {
    WriteCatalogueTable(out, request, result);
  }
  out.flush();
  const bool trouble = ReportCatalogueTrouble(request, result, diagnostics, err);
  return trouble || !out ? kExitFailed : kExitSuccess;
}

}  // namespace capsuletool
