// RemoveAbandonedTemporaryFiles: clears away what an interrupted OutputByteStream left behind.
//
// An OutputByteStream writes to a hidden ".<name>.<random>.tmp" file and renames it over its target
// on Commit, removing it otherwise. A process that dies in between (a crash, a kill) leaves the
// temporary file for ever, and since hidden names count towards nothing, nothing else would ever
// notice it. A file so named that has not been modified for `minimumAge` cannot belong to a writer
// still at work and is removed; every other file stays.
//
// Thread safety: a plain function; any thread. Safe beside writers working in the same tree, as
// long as `minimumAge` is longer than any write takes.

#ifndef ZORVCAPSULE_HOST_CORE_ABANDONED_TEMP_FILES_H_
#define ZORVCAPSULE_HOST_CORE_ABANDONED_TEMP_FILES_H_

#include <chrono>
#include <cstddef>

#include "host/core/dir.h"

namespace zorvcore {

// True for a file name of the form OutputByteStream gives its temporary files: ".*.tmp".
bool IsByteStreamTemporaryName(const std::u16string& fileName);

// Removes the abandoned temporary files anywhere below `root`; returns how many were removed.
size_t RemoveAbandonedTemporaryFiles(const Dir& root, std::chrono::seconds minimumAge);

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_ABANDONED_TEMP_FILES_H_
