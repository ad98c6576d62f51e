// Writing template packages (".tplx") from parts: a description and named members.
//
// The package is a zip archive written with libzip. libzip writes the whole archive to a temporary
// file beside the target and renames it into place, so a failed write leaves no half-written package
// under the target's name. Every member gets the same fixed modification time, so equal parts give
// byte-identical packages.
//
// A member name is stored as given: the writer also makes packages with names a well-behaved tool
// would never write, for tests that feed the library hostile packages. A member whose name ends in
// "/" is stored as a folder entry. A name may occur once: a second member of the same name fails
// the write.
//
// Thread safety: the functions keep no state; concurrent calls must write different files.

#ifndef ZORVCAPSULE_SAMPLES_TEMPLATE_PACKAGE_WRITER_H_
#define ZORVCAPSULE_SAMPLES_TEMPLATE_PACKAGE_WRITER_H_

#include <memory>
#include <string>
#include <vector>

#include "capsule/capsule.h"

namespace zorvsamples {

struct PackageMember {
  std::string name;   // UTF-8, as stored in the archive
  std::string bytes;  // ignored for a folder entry
};

// What a write gave: ok, or the reason it failed (UTF-8, naming the file).
struct WriteResult {
  bool ok = false;
  std::string error;
};

// Writes a package at `packagePath` holding exactly `members`, in order, making missing parent
// folders. A file already there is replaced once the new package is complete and kept when the
// write fails. libzip writes no archive without members: an empty list removes the file instead.
WriteResult WritePackageMembers(const std::u16string& packagePath, const std::vector<PackageMember>& members);

// As WritePackageMembers, with "definition.json" first: the description the library's writer
// makes of `capsule`.
// REQUIRES: capsule is not empty.
WriteResult WriteTemplatePackage(const std::u16string& packagePath, const std::shared_ptr<zorvcapsule::Capsule>& capsule,
                                 const std::vector<PackageMember>& members);

}  // namespace zorvsamples

#endif  // ZORVCAPSULE_SAMPLES_TEMPLATE_PACKAGE_WRITER_H_
