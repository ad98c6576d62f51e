// ZipReader: one read-only libzip handle on a package file, and the members it lists.
//
// An archive that cannot be opened (missing, not a regular file, not a zip, truncated so that its
// central directory is lost) gives no reader at all; a member whose data is damaged (a failed
// checksum, a short or over-long stream, an unsupported method, an encrypted member without the
// right password) fails to read. Neither ever throws or crashes.
//
// Only regular files are opened, so a path naming a FIFO or a device cannot block the caller.
//
// Thread safety: a libzip handle is not thread-safe; a reader is used by one thread at a time.
// Copying is deleted: the reader owns its handle.

#ifndef ZORVCAPSULE_HOST_STORAGE_ZIP_READER_H_
#define ZORVCAPSULE_HOST_STORAGE_ZIP_READER_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/storage/recycled_memory.h"

struct zip;

namespace zorvstorage {

class ZipReader {
 public:
  // One member as the archive's central directory describes it.
  struct Entry {
    uint64_t index = 0;
    std::string name;  // UTF-8; directory members end in "/"
    uint64_t size = 0;  // uncompressed, as declared
    uint64_t compressedSize = 0;  // as stored in the archive
    bool isDirectory = false;
    bool isLink = false;  // stored as a symbolic link
  };

  // Receives the next block of a member's bytes; returns false to stop with a failure.
  using BlockSink = std::function<bool(const uint8_t* bytes, size_t size)>;

  // Null when `nativePath` is not a regular file holding a readable zip archive. A non-empty
  // password decrypts encrypted members.
  static std::unique_ptr<ZipReader> Open(const std::string& nativePath, const std::string& password);
  // The same for the regular file open as `fd`, which stays the caller's: the reader reads through
  // a duplicate of it, so both see the same file.
  static std::unique_ptr<ZipReader> OpenDescriptor(int fd, const std::string& password);

  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;
  ~ZipReader();

  uint64_t EntryCount() const;
  // Nullopt when the index is out of range or the entry cannot be described.
  std::optional<Entry> EntryAt(uint64_t index) const;
  // The member named exactly `name` (case counts); nullopt when there is none.
  std::optional<Entry> Find(const std::string& name) const;

  // All of the member's bytes, checked against its declared size and checksum; null when they
  // cannot be read whole.
  // REQUIRES: entry came from this reader.
  std::shared_ptr<const RecycledMemory> Read(const Entry& entry) const;

  // Hands the member's bytes to `sink` block by block and checks them as Read does. False when
  // reading fails, the data disagrees with the declared size or checksum, or the sink says stop;
  // blocks handed on before a failure are not taken back.
  // REQUIRES: entry came from this reader.
  bool Stream(const Entry& entry, const BlockSink& sink) const;

 private:
  explicit ZipReader(struct zip* archive) : archive_(archive) {}

  struct zip* const archive_;
};

}  // namespace zorvstorage

#endif  // ZORVCAPSULE_HOST_STORAGE_ZIP_READER_H_
