// Reads a whole regular file of bounded size, never blocking on anything that is not one.
//
// Manifests and descriptions in a library are whatever the user or the cloud-library client left
// there: a FIFO or device under such a name would block an ordinary open or read for ever, and a
// huge file would only waste memory. ReadRegularFile opens without blocking, checks that what it
// opened is a regular file no larger than the limit, and only then reads it.
//
// Thread safety: any thread.

#ifndef ZORVCAPSULE_HOST_QVLIB_REGULAR_FILE_READER_H_
#define ZORVCAPSULE_HOST_QVLIB_REGULAR_FILE_READER_H_

#include <cstddef>
#include <optional>
#include <string>

namespace zorvqvlib {

enum class FinalLink {
  kFollow,  // a link as the last component is followed
  kRefuse,  // a link as the last component makes the read fail (for paths already resolved)
};

// The file's bytes; nullopt when it is missing, not a regular file, larger than maxBytes, or
// cannot be read whole.
std::optional<std::string> ReadRegularFile(const std::string& path, size_t maxBytes,
                                           FinalLink finalLink = FinalLink::kFollow);

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_REGULAR_FILE_READER_H_
