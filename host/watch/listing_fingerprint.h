// ListingFingerprint: a number that changes when a folder's own listing changes: an entry added,
// removed or renamed, a file's size or modification time changed. The rescan that stands in for
// events where a folder cannot be watched compares these numbers.
//
// Only files whose names end with one of `fileSuffixes` count (all files when it is empty);
// subfolders always count, by name. A folder that cannot be read has a fingerprint of its own.
//
// Thread safety: a pure function of the disk; use from any thread.

#ifndef ZORVCAPSULE_HOST_WATCH_LISTING_FINGERPRINT_H_
#define ZORVCAPSULE_HOST_WATCH_LISTING_FINGERPRINT_H_

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zorvwatch {

// True when `name` (a file name, UTF-8) ends with one of the suffixes, or there are none.
bool NameCounts(std::string_view name, const std::vector<std::string>& suffixes);

uint64_t ListingFingerprint(const std::filesystem::path& folder, const std::vector<std::string>& fileSuffixes);

}  // namespace zorvwatch

#endif  // ZORVCAPSULE_HOST_WATCH_LISTING_FINGERPRINT_H_
