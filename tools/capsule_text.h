// The text form of `capsule info`: a template's description and package contents laid out for a
// person, one labelled field a line, lists continuing under their label.
//
// Thread safety: writes to the given stream; the record must not change meanwhile.

#ifndef ZORVCAPSULE_TOOLS_CAPSULE_TEXT_H_
#define ZORVCAPSULE_TOOLS_CAPSULE_TEXT_H_

#include <ostream>
#include <set>
#include <string>

#include "capsule/capsule.h"
#include "tools/package_members.h"

namespace capsuletool {

// Every locale the description has a name, a source info or fonts for.
std::set<std::u16string> LocalesOf(const zorvcapsule::Capsule& capsule);

void WriteCapsuleText(std::ostream& out, const std::string& packagePath, const zorvcapsule::Capsule& capsule,
                      const PackageMembers& members);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_CAPSULE_TEXT_H_
