#include "tools/validation_report.h"

#include "host/core/json_value.h"
#include "host/core/json_write.h"
#include "tools/text_table.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;

const char* SeverityText(Severity severity) { return severity == Severity::kError ? "error" : "warning"; }

json::JSONValuePtr ProblemJSON(const Problem& problem) {
  json::JSONObject object;
  json::AddToObject(object, "severity", json::MakeJSONString(std::string(SeverityText(problem.severity))));
  json::AddToObject(object, "code", json::MakeJSONString(problem.code));
  json::AddToObject(object, "message", json::MakeJSONString(problem.message));
  if (!problem.member.empty()) json::AddToObject(object, "member", json::MakeJSONString(problem.member));
  if (!problem.pointer.empty()) json::AddToObject(object, "pointer", json::MakeJSONString(problem.pointer));
  return json::MakeJSONObject(std::move(object));
}

json::JSONValuePtr PackageJSON(const PackageReport& report) {
  json::JSONArray problems;
  problems.reserve(report.problems.size());
  for (const Problem& problem : report.problems) problems.push_back(ProblemJSON(problem));
  json::JSONObject object;
  json::AddToObject(object, "path", json::MakeJSONString(report.path));
  json::AddToObject(object, "problems", json::MakeJSONArray(std::move(problems)));
  return json::MakeJSONObject(std::move(object));
}

}  // namespace

ProblemCounts CountProblems(const std::vector<PackageReport>& reports) {
  ProblemCounts counts;
  for (const PackageReport& report : reports) {
    for (const Problem& problem : report.problems) {
      ++(problem.severity == Severity::kError ? counts.errors : counts.warnings);
    }
  }
  return counts;
}

std::string ValidationJSON(const std::vector<PackageReport>& reports) {
  json::JSONArray packages;
  packages.reserve(reports.size());
  for (const PackageReport& report : reports) packages.push_back(PackageJSON(report));
  const ProblemCounts counts = CountProblems(reports);
  json::JSONObject root;
  json::AddToObject(root, "packages", json::MakeJSONArray(std::move(packages)));
  json::AddToObject(root, "errors", json::MakeJSONUInt64(counts.errors));
  json::AddToObject(root, "warnings", json::MakeJSONUInt64(counts.warnings));
  return json::GetJSONUTF8String(json::JSONValue(std::move(root)), true);
}

void WriteValidationTable(std::ostream& out, const std::vector<PackageReport>& reports) {
  std::vector<TableRow> rows{{"PACKAGE", "SEVERITY", "CODE", "MESSAGE"}};
  for (const PackageReport& report : reports) {
    for (const Problem& problem : report.problems) {
      rows.push_back({report.path, SeverityText(problem.severity), problem.code, problem.message});
    }
  }
  if (rows.size() > 1) WriteTable(out, rows, {});
  const ProblemCounts counts = CountProblems(reports);
  out << reports.size() << " packages, " << counts.errors << " errors, " << counts.warnings << " warnings\n";
}

}  // namespace capsuletool
