// ZipFile: the host's zip archive, opened on one package file.
//
// It reads members into memory (UnzipItem), extracts a member or a folder of members to disk
// (UnzipItems) and stores a file as a member (AddItem). A package is untrusted input:
//
// - A package that cannot be read (missing, not a zip, truncated, damaged) never makes the
//   constructor fail; it behaves as a package whose members are all missing.
// - UnzipItem treats a member as missing when it declares more than kMaxUnzipItemBytes (256 MiB),
//   when it is stored as a symbolic link, or when its bytes fail their size or checksum check.
// - UnzipItems never writes outside its destination: it refuses, before writing anything, an item
//   with a member whose name is absolute, has a drive letter, a backslash, a "." or ".." component,
//   or is stored as a symbolic link, and an item beyond the extraction limits (a member of more than
//   4 GiB, 16 GiB in all, more than 100,000 members). See item_extraction.h.
// - AddItem writes the whole new package beside the old one and renames it into place, so a crash
//   or a full disk leaves the old package intact. See zip_writer.h.
//
// Copies share one open package: what one copy adds, the others read. The package closes when its
// last sharer goes. Moving is copying (the source keeps its share).
//
// Thread safety: calls on one package, through any of its copies, are serialized by a mutex the
// copies share, so copies may be used from different threads. Independent ZipFiles on the same
// file may be used at the same time; a reader keeps seeing the package as it was when it was
// opened until its own sharers add an item.

#ifndef ZORVCAPSULE_HOST_STORAGE_ZIP_FILE_H_
#define ZORVCAPSULE_HOST_STORAGE_ZIP_FILE_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/core/dir.h"
#include "host/core/file.h"
#include "host/storage/recycled_memory.h"
#include "host/storage/zip_reader.h"

namespace zorvstorage {

class ZipFile {
 public:
  static constexpr uint64_t kMaxUnzipItemBytes = uint64_t{256} * 1024 * 1024;

  // Opens the package `file` names. A non-empty `password` decrypts encrypted members.
  ZipFile(const zorvcore::File& file, const std::string& password);
  virtual ~ZipFile();

  ZipFile(const ZipFile&) = default;
  ZipFile& operator=(const ZipFile&) = default;

  const zorvcore::File& GetFile() const;

  // The bytes of the member named exactly `name` (UTF-8); null when it is missing or unreadable
  // (see above). A member of zero bytes gives an empty buffer.
  std::shared_ptr<const RecycledMemory> UnzipItem(const std::string& name) const;

  // Every member as the package's directory describes it (names, declared sizes, links), in the
  // directory's order, without reading any member's data; nullopt when the package cannot be read.
  // A member the directory cannot describe is left out.
  std::optional<std::vector<ZipReader::Entry>> ListItems() const;

  // The size the archive's directory declares for the member named exactly `name`, without reading
  // it; nullopt when UnzipItem would refuse it unread (missing, a folder, a link, too large). The
  // bytes themselves may still fail their check when read.
  std::optional<uint64_t> ItemSize(const std::string& name) const;

  // Extracts the item `name` (UTF-8): a member, written as a file of its last name component, or
  // a folder of members ("name/..."), written below the destination at the rest of their names.
  // Creates the destination when it is missing. False when the item is missing or refused, or a
  // file cannot be written; files and folders made by a failed call are removed again.
  bool UnzipItems(const std::string& name, const zorvcore::Dir& destination) const;

  // Stores the file `name` of `sourceFolder` in the package as the member `name`, replacing a
  // member of that name when `replace` is true (a present member is a failure otherwise). Creates
  // the package when it is missing. False, and the package unchanged, when the name is not a safe
  // relative file name, the source file is missing, or the package cannot be written.
  bool AddItem(const std::string& name, const zorvcore::Dir& sourceFolder, bool replace) const;

 private:
  class Package;
  std::shared_ptr<Package> package_;
};

}  // namespace zorvstorage

#endif  // ZORVCAPSULE_HOST_STORAGE_ZIP_FILE_H_
