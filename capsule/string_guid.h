// Fresh identifiers for templates and controls, as wide text.
//
// Thread safety: may be called from any thread.

#ifndef ZORVCAPSULE_CAPSULE_STRING_GUID_H_
#define ZORVCAPSULE_CAPSULE_STRING_GUID_H_

#include <string>

#include "capsule/capsule_export.h"

namespace zorvcapsule::utils {

// A new random GUID in its text form, "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".
ZORVCAPSULE_EXPORT std::u16string GenerateStringGuid();

}  // namespace zorvcapsule::utils

#endif  // ZORVCAPSULE_CAPSULE_STRING_GUID_H_
