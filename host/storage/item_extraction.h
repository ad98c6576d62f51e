// ExtractItem: writes one item of a package below a destination folder, all or nothing.
//
// An item is either a single member, written as a file named after the last component of the
// item's name, or a folder of members: every member whose name begins with the item's name and "/",
// written at the rest of its name below the destination ("project.tsgraphic/media/a.png" goes to
// "<destination>/media/a.png"). A single member of the exact name wins over a folder.
//
// The whole item is checked before anything is written. It is refused, and nothing written, when
// its name or any member's name is not a safe relative path (member_name.h), when any member is
// stored as a symbolic link, or when it is beyond the limits below. Each file is written to a hidden
// temporary file and renamed into place, so no reader ever sees half a file. A folder that already
// stands in the way as a link or a file stops the extraction: nothing is written through a link.
// When writing fails part way, the files and folders this extraction created are removed again;
// files it replaced keep their new content.
//
// Thread safety: as the ZipReader it reads from; distinct destinations may be written from
// different threads.

#ifndef ZORVCAPSULE_HOST_STORAGE_ITEM_EXTRACTION_H_
#define ZORVCAPSULE_HOST_STORAGE_ITEM_EXTRACTION_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "host/storage/zip_reader.h"

namespace zorvstorage {

struct ExtractionLimits {
  // A member that declares more bytes is refused: templates hold media, not disk images.
  uint64_t maxMemberBytes = uint64_t{4} * 1024 * 1024 * 1024;
  // The declared sizes of all of an item's members together.
  uint64_t maxItemBytes = uint64_t{16} * 1024 * 1024 * 1024;
  size_t maxItemMembers = 100000;
};

// True when the item was found and every one of its members was written.
bool ExtractItem(const ZipReader& reader, std::string_view item,
                 const std::filesystem::path& destination,
                 const ExtractionLimits& limits = ExtractionLimits());

}  // namespace zorvstorage

#endif  // ZORVCAPSULE_HOST_STORAGE_ITEM_EXTRACTION_H_
