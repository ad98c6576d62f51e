#include "capsule/library_version.h"

namespace zorvcapsule {

const char* LibraryVersion() { return "0.1.0"; }

}  // namespace zorvcapsule
