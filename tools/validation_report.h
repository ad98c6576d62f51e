// What `capsule validate` found: the problems of each package checked, and the two forms it prints
// them in.
//
// Every problem has a fixed code and the severity that code always carries (the k... kinds below),
// a message for a person, and, where they apply, the package member it is about and a JSON
// Pointer (RFC 6901) into that member.
//
// The JSON form is one object, the packages in the order they were checked, each with its list of
// problems ([] when clean), and the counts:
//
//   {"packages": [{"path": "a.tplx", "problems": [{"severity": "error", "code": "wrong-type",
//     "message": "...", "member": "definition.json", "pointer": "/clientControls/3/value"}]}],
//    "errors": 1, "warnings": 0}
//
// "member" and "pointer" are left out where they do not apply. The table form has one row per
// problem (package, severity, code, message) and ends in the line "N packages, E errors, W warnings".
//
// Thread safety: plain values and pure functions; the writers write to the given stream.

#ifndef ZORVCAPSULE_TOOLS_VALIDATION_REPORT_H_
#define ZORVCAPSULE_TOOLS_VALIDATION_REPORT_H_

#include <cstddef>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace capsuletool {

enum class Severity { kError, kWarning };

struct ProblemKind {
  const char* code;
  Severity severity;
};

// The package itself.
inline constexpr ProblemKind kNotFound{"not-found", Severity::kError};
inline constexpr ProblemKind kNotAPackage{"not-a-package", Severity::kError};
inline constexpr ProblemKind kUnsafeMemberName{"unsafe-member-name", Severity::kError};
inline constexpr ProblemKind kSuspiciousCompression{"suspicious-compression", Severity::kWarning};
inline constexpr ProblemKind kDamagedMember{"damaged-member", Severity::kError};
inline constexpr ProblemKind kCheckFailed{"check-failed", Severity::kError};
// The description.
inline constexpr ProblemKind kMissingDescription{"missing-description", Severity::kError};
inline constexpr ProblemKind kDescriptionTooLarge{"description-too-large", Severity::kError};
inline constexpr ProblemKind kUnreadableDescription{"unreadable-description", Severity::kError};
inline constexpr ProblemKind kNotUTF8{"not-utf8", Severity::kWarning};
inline constexpr ProblemKind kAPIVersionMissing{"api-version-missing", Severity::kError};
inline constexpr ProblemKind kAPIVersionNewer{"api-version-newer", Severity::kError};
inline constexpr ProblemKind kWrongType{"wrong-type", Severity::kError};
inline constexpr ProblemKind kBadValue{"bad-value", Severity::kError};
inline constexpr ProblemKind kDuplicateControlID{"duplicate-control-id", Severity::kError};
inline constexpr ProblemKind kUnknownGroupChild{"unknown-group-child", Severity::kError};
inline constexpr ProblemKind kNoName{"no-name", Severity::kWarning};
// The other members.
inline constexpr ProblemKind kMissingThumbnail{"missing-thumbnail", Severity::kError};
inline constexpr ProblemKind kBadThumbnail{"bad-thumbnail", Severity::kError};
inline constexpr ProblemKind kMissingVideoThumbnail{"missing-video-thumbnail", Severity::kWarning};
inline constexpr ProblemKind kMissingProjectPackage{"missing-project-package", Severity::kError};
inline constexpr ProblemKind kProjectTooLarge{"project-too-large", Severity::kError};

// Every kind above, in that order.
inline constexpr ProblemKind kProblemKinds[] = {
    kNotFound, kNotAPackage, kUnsafeMemberName, kSuspiciousCompression, kDamagedMember, kCheckFailed,
    kMissingDescription, kDescriptionTooLarge, kUnreadableDescription, kNotUTF8, kAPIVersionMissing,
    kAPIVersionNewer, kWrongType, kBadValue, kDuplicateControlID, kUnknownGroupChild, kNoName, kMissingThumbnail,
    kBadThumbnail, kMissingVideoThumbnail, kMissingProjectPackage, kProjectTooLarge};

struct Problem {
  Problem(const ProblemKind& kind, std::string message, std::string member = std::string(),
          std::string pointer = std::string())
      : severity(kind.severity),
        code(kind.code),
        message(std::move(message)),
        member(std::move(member)),
        pointer(std::move(pointer)) {}

  Severity severity;
  std::string code;
  std::string message;  // UTF-8, one line, naming the member where there is one
  std::string member;   // empty when the problem is not about one member
  std::string pointer;  // empty when there is none
};

struct PackageReport {
  std::string path;  // UTF-8, as the walk gave it
  std::vector<Problem> problems;
};

struct ProblemCounts {
  size_t errors = 0;
  size_t warnings = 0;
};

ProblemCounts CountProblems(const std::vector<PackageReport>& reports);

std::string ValidationJSON(const std::vector<PackageReport>& reports);

void WriteValidationTable(std::ostream& out, const std::vector<PackageReport>& reports);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_VALIDATION_REPORT_H_
