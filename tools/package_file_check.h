// The check every command makes before it opens a package a user named: that the path names a
// file at all. The library would treat a missing file as a package without members; a person
// deserves to hear that the path is wrong.
//
// Thread safety: a pure function over the file system; use from any thread.

#ifndef ZORVCAPSULE_TOOLS_PACKAGE_FILE_CHECK_H_
#define ZORVCAPSULE_TOOLS_PACKAGE_FILE_CHECK_H_

#include <string>

#include "host/core/status.h"

namespace capsuletool {

// OK when `path` (UTF-8) names a file; else why not ("no such file", "is a folder, ...").
zorvcore::Status CheckPackageFile(const std::string& path);

// OK when `path` (UTF-8) names a folder; else why not.
zorvcore::Status CheckFolder(const std::string& path);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_PACKAGE_FILE_CHECK_H_
