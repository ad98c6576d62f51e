// The checks `capsule validate` makes on a package's description: that its text reads the way the
// library reads it (well-formed UTF-8, an "apiVersion" the library accepts, a JSON object whose
// members have the types of the description format), and that the record it gives makes sense to
// a host (control ids unique, groups naming controls that exist, a name to show).
//
// The text goes through the library's own description reader, never a second parser: a member of
// the wrong type is named by the JSON Pointer the reader's bad-cast error carries, which is the
// first such member in the reader's order.
//
// Thread safety: pure functions; call from any thread.

#ifndef ZORVCAPSULE_TOOLS_DESCRIPTION_CHECKS_H_
#define ZORVCAPSULE_TOOLS_DESCRIPTION_CHECKS_H_

#include <memory>
#include <string_view>
#include <vector>

#include "capsule/capsule.h"
#include "tools/validation_report.h"

namespace capsuletool {

// Reads the bytes of "definition.json" as the library does, adding what is wrong with them to
// `problems`; the record, or empty when the library would not have one.
std::shared_ptr<zorvcapsule::Capsule> CheckDescriptionText(std::string_view bytes, std::vector<Problem>& problems);

// Adds what is wrong with a record that reads to `problems`.
void CheckDescriptionRecord(const zorvcapsule::Capsule& capsule, std::vector<Problem>& problems);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_DESCRIPTION_CHECKS_H_
