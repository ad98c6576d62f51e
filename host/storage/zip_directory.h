// ZipDirectory: a package's central directory, read straight from the file, and its members read
// with zlib, for the plain packages a template library is made of. It spares the catalogue's hot path
// the archive library's general machinery: a dozen small reads and seeks per package, and a
// conversion of every member's time stamp, each of which asks the system for its time zone.
//
// It takes only what it can read exactly as ZipReader (libzip) would, and declines everything else,
// which the caller then reads with ZipReader:
// - a directory: one end record ending the file (no archive comment, no zip64 records), one disk, the
//   central directory right before it and exactly as long and as many entries as the end record
//   says; every entry well-formed, without zip64 or Unicode-name extra fields, with a name of
//   printable ASCII characters that no other entry has;
// - a member: stored or deflated, not encrypted, whose local header is sound and whose declared
//   compressed bytes give exactly the declared size and checksum. Any other member, a damaged one
//   included, is left to ZipReader, which decides.
//
// Thread safety: none; ZipFile serializes the calls on one package.

#ifndef ZORVCAPSULE_HOST_STORAGE_ZIP_DIRECTORY_H_
#define ZORVCAPSULE_HOST_STORAGE_ZIP_DIRECTORY_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/storage/recycled_memory.h"

namespace zorvstorage {

class ZipDirectory {
 public:
  struct Member {
    std::string name;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint64_t compressedSize = 0;
    uint64_t size = 0;
    uint64_t localHeaderOffset = 0;
    bool isDirectory = false;
    bool isLink = false;  // stored as a symbolic link
  };

  // The directory of the package open as `fd` (a regular file of `fileSize` bytes), or null when
  // it is not one this reader takes. Reads with pread only: the descriptor's offset is not moved.
  static std::unique_ptr<ZipDirectory> Read(int fd, uint64_t fileSize);

  ZipDirectory(const ZipDirectory&) = delete;
  ZipDirectory& operator=(const ZipDirectory&) = delete;

  // Every member, in the directory's order.
  const std::vector<Member>& Members() const { return members_; }

  // The member named exactly `name`, or null.
  const Member* Find(std::string_view name) const;

  // The member's bytes, checked against its declared size and checksum; null when this reader
  // declines the member (see above).
  // REQUIRES: member came from this directory; member.size is within what the caller accepts.
  std::shared_ptr<const RecycledMemory> ReadMember(const Member& member) const;

 private:
  ZipDirectory(int fd, uint64_t fileSize) : fd_(fd), fileSize_(fileSize) {}

  const int fd_;  // not owned
  const uint64_t fileSize_;
  std::vector<Member> members_;  // directory order
  std::vector<const Member*> byName_;  // sorted by name
};

}  // namespace zorvstorage

#endif  // ZORVCAPSULE_HOST_STORAGE_ZIP_DIRECTORY_H_
