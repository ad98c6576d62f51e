// MakeCacheFileName: the name of a file cached for one version of one template file.
//
// The name is a GUID hashed from what identifies that version (a tag saying what is cached, the ID
// of the source that lists the template, the template's path and its modification time), so an
// unchanged template keeps its cached file across runs and a changed one gets a new file. The hash
// is stable across runs and builds (host/core/mix_hash.h); old files are only ever removed by the
// working folder's size check.
//
// Thread safety: pure; call from any thread.

#ifndef ZORVCAPSULE_PACKAGE_CACHE_FILE_NAME_H_
#define ZORVCAPSULE_PACKAGE_CACHE_FILE_NAME_H_

#include <string>
#include <string_view>

#include "host/core/date_time.h"

namespace zorvcapsule {

// Tags and extensions of the local thumbnail cache.
inline constexpr std::string_view kStillThumbCacheTag = "tmptplxpng";
inline constexpr std::string_view kVideoThumbCacheTag = "tmptplxvideomp4";
inline constexpr std::u16string_view kStillThumbCacheExtension = u".png";
inline constexpr std::u16string_view kVideoThumbCacheExtension = u".mp4";

// "<folder>/<GUID><extension>". The GUID is made from the hash of, in this order, the tag's bytes,
// the source ID's bytes, the path's UTF-16 code units and the 8 bytes of the modification time:
// Data1 = h0, Data2/Data3 = the high/low halves of h1, Data4 = h2 then the byte count, each most
// significant byte first.
std::u16string MakeCacheFileName(std::string_view tag, std::string_view sourceID,
                                 std::u16string_view templatePath, zorvcore::DateTime modified,
                                 std::u16string_view extension, std::u16string_view folder);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_PACKAGE_CACHE_FILE_NAME_H_
