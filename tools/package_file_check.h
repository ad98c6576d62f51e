// The check every command makes before it opens a package a user named: that the path names a
// file at all. The library would treat a missing file as a package without members; a person
// deserves to hear that the path is wrong.
//
// Thread safety: a pure function over the file system; use from any thread.

#ifndef ZORVCAPSULE_TOOLS_PACKAGE_FILE_CHECK_H_
#define ZORVCAPSULE_TOOLS_PACKAGE_FILE_CHECK_H_

#include <string>

namespace capsuletool {

// Empty when `path` (UTF-8) names a file; else the problem ("no such file", "is a folder, ...").
std::string PackageFileProblem(const std::string& path);

// Empty when `path` (UTF-8) names a folder; else the problem.
std::string FolderProblem(const std::string& path);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_PACKAGE_FILE_CHECK_H_
