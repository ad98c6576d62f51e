// Which of the members the library looks for a template package holds: still and video
// thumbnails and project packages, plain and per language.
//
// The library asks a package for members by exact name, never lists it, so neither does this: it
// asks for every name the library would ask for in the application's language or in any of the
// `locales` given (those the description names). A project package may be one member or a folder
// of members; a folder is found by extracting it into a temporary folder, which is removed again.
//
// Thread safety: one call per package at a time; calls for different packages may run at once.

#ifndef ZORVCAPSULE_TOOLS_PACKAGE_MEMBERS_H_
#define ZORVCAPSULE_TOOLS_PACKAGE_MEMBERS_H_

#include <set>
#include <string>
#include <vector>

#include "package/capsule_zip.h"

namespace capsuletool {

struct PackageMembers {
  // Member names in the library's order of preference; a project folder reads
  // "project.qzgraphic/ (folder, 2 files)".
  std::vector<std::string> stillThumbnails;
  std::vector<std::string> videoThumbnails;
  std::vector<std::string> projects;
};

PackageMembers FindPackageMembers(const zorvcapsule::CapsuleZip& package, const std::set<std::u16string>& locales);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_PACKAGE_MEMBERS_H_
