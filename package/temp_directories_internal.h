// Internal to the library and its tests: the once-per-process state of the working folders.
//
// Thread safety: call only while no other thread initializes a tree.

#ifndef ZORVCAPSULE_PACKAGE_TEMP_DIRECTORIES_INTERNAL_H_
#define ZORVCAPSULE_PACKAGE_TEMP_DIRECTORIES_INTERNAL_H_

namespace zorvcapsule::internal {

// Forgets that the trees were checked, so a test can watch a first InitTempDirectory again.
void ResetTempDirectoryChecksForTesting();

}  // namespace zorvcapsule::internal

#endif  // ZORVCAPSULE_PACKAGE_TEMP_DIRECTORIES_INTERNAL_H_
