// The library's own version, for hosts that log what they loaded.
//
// Thread safety: may be called from any thread.

#ifndef ZORVCAPSULE_CAPSULE_LIBRARY_VERSION_H_
#define ZORVCAPSULE_CAPSULE_LIBRARY_VERSION_H_

#include "capsule/capsule_export.h"

namespace zorvcapsule {

// "major.minor.patch" of this build of the library.
ZORVCAPSULE_EXPORT const char* LibraryVersion();

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_LIBRARY_VERSION_H_
