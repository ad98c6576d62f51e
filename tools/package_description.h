// Reading a template package's description, with the reason when it cannot be read.
//
// The library answers an unreadable description with an empty record (no "apiVersion", a newer
// format) or the bad-cast error (a member of the wrong JSON type); a person needs to know which.
// ReadPackageDescription goes through the library's own reader and, when that fails, looks at the
// text once more to say why in words.
//
// Thread safety: may be called from any thread; one call per package at a time.

#ifndef ZORVCAPSULE_TOOLS_PACKAGE_DESCRIPTION_H_
#define ZORVCAPSULE_TOOLS_PACKAGE_DESCRIPTION_H_

#include <memory>
#include <string>

#include "capsule/capsule.h"
#include "package/capsule_zip.h"

namespace capsuletool {

struct PackageDescription {
  std::shared_ptr<zorvcapsule::Capsule> capsule;  // empty when the description is unreadable
  std::string problem;                            // why, when capsule is empty (UTF-8, one line)
};

PackageDescription ReadPackageDescription(const zorvcapsule::CapsuleZip& package);

// The reason a description text the library refused is unreadable, or empty when it reads.
std::string DescriptionProblem(const std::string& utf8Text);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_PACKAGE_DESCRIPTION_H_
