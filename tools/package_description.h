// Reading a template package's description, with the reason when it cannot be read.
//
// The library answers an unreadable description with an empty record (the version gate refused
// it: no "apiVersion", or a newer format) or an exception (a member of the wrong JSON type, a time
// with a bad scale); a person needs to know which. ReadDescription reads through the library's
// own reader and turns what that reader decided into a Status whose message says why in words.
//
// Thread safety: may be called from any thread; one call per package at a time.

#ifndef ZORVCAPSULE_TOOLS_PACKAGE_DESCRIPTION_H_
#define ZORVCAPSULE_TOOLS_PACKAGE_DESCRIPTION_H_

#include <memory>
#include <string>

#include "capsule/capsule.h"
#include "host/core/status.h"
#include "package/capsule_zip.h"

namespace capsuletool {

// Reads the description text `utf8Text` into `*capsule`. On failure `*capsule` is empty and the
// Status's message is one line for people beginning "definition.json": NotSupported when the
// version gate refused the text (the library's empty record), Corruption when the reader threw.
zorvcore::Status ReadDescription(const std::string& utf8Text, std::shared_ptr<zorvcapsule::Capsule>* capsule);

struct PackageDescription {
  std::shared_ptr<zorvcapsule::Capsule> capsule;  // empty when the description is unreadable
  zorvcore::Status status;                        // why, when capsule is empty (one-line message)
};

PackageDescription ReadPackageDescription(const zorvcapsule::CapsuleZip& package);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_PACKAGE_DESCRIPTION_H_
