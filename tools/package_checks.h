// CheckPackage: every problem of one template package, as `capsule validate` reports it.
//
// The package is opened once, through the library's package reader (CapsuleZip), and judged from
// its zip directory first: member names that would leave an extraction folder or are stored as
// links, members that inflate suspiciously far, sizes beyond what the library reads. Only then are
// members read, and only those the library reads itself (the description and the still
// thumbnails), each after its declared size was found within the reader's limit, so a hostile
// archive costs no more than the limit allows. The project package and the video thumbnail are
// judged from the directory alone. Nothing is written anywhere.
//
// Members are looked for by the names the library asks for in any language: "thumb.png" and
// "thumb_<lang>.png", "thumb.mp4" and "thumb_<lang>.mp4", "project[_<lang>].tsgraphic" and
// "project[_<lang>].qzgraphic" (a member or a folder of members).
//
// Thread safety: one call per package at a time; calls on different packages may run at once.

#ifndef ZORVCAPSULE_TOOLS_PACKAGE_CHECKS_H_
#define ZORVCAPSULE_TOOLS_PACKAGE_CHECKS_H_

#include <string>

#include "tools/validation_report.h"

namespace capsuletool {

// Never throws: a check that fails unexpectedly becomes a "check-failed" problem.
// `shownPath` (UTF-8) is the path the report names.
PackageReport CheckPackage(const std::u16string& path, const std::string& shownPath);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_PACKAGE_CHECKS_H_
