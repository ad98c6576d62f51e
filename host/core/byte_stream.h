// Byte streams over a File.
//
// InputByteStream reads a file from its start, block by block.
//
// OutputByteStream writes a new version of a file that becomes visible only on Commit: the bytes
// go to a hidden temporary file in the target's folder (its name begins with "." so listings
// that skip hidden names never count it), which Commit flushes to disk and renames over the
// target in one step. Until then, and for ever when Commit fails or is never called, the target
// keeps its old content (or stays missing) and the temporary file is removed. Nobody can see a
// half-written target, even after a crash.
//
// A cache file needs no flush (Durability::kCache): it is renamed into place at once, so a running
// program still never sees it half-written, but after a crash of the system it may be found empty
// or short. Whoever reads such a file must check it (its size against what it should hold, say).
//
// Both hold an open file descriptor for their lifetime; copying is deleted.
//
// Thread safety: a stream is used by one thread at a time. Distinct streams, even over the same
// file, may be used from different threads; of two committed writers of one target the later
// rename wins.

#ifndef ZORVCAPSULE_HOST_CORE_BYTE_STREAM_H_
#define ZORVCAPSULE_HOST_CORE_BYTE_STREAM_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "host/core/file.h"

namespace zorvcore {

class InputByteStream {
 public:
  // Null when the file cannot be opened for reading (missing, a folder, no permission).
  static std::unique_ptr<InputByteStream> Open(const File& file);

  InputByteStream(const InputByteStream&) = delete;
  InputByteStream& operator=(const InputByteStream&) = delete;
  ~InputByteStream();

  // The file's size in bytes when it was opened.
  int64_t Length() const { return length_; }

  // Reads up to `size` bytes at the current position into `buffer` and moves past them. Sets
  // bytesRead to the count, which is less than size only at the end of the file (0 there).
  // False on a read error, with bytesRead holding what was read before it.
  bool ReadBlock(void* buffer, size_t size, size_t& bytesRead);

 private:
  InputByteStream(int fd, int64_t length);

  const int fd_;
  const int64_t length_;
};

class OutputByteStream {
 public:
  // Null when the temporary file cannot be made (a missing folder, no permission).
  static std::unique_ptr<OutputByteStream> Create(const File& target);

  OutputByteStream(const OutputByteStream&) = delete;
  OutputByteStream& operator=(const OutputByteStream&) = delete;
  // Without a successful Commit, removes the temporary file; the target is untouched.
  ~OutputByteStream();

  // Appends all `size` bytes. False when they could not all be written; the stream is then
  // failed: later writes do nothing and return false, and Commit refuses.
  bool WriteBlock(const void* data, size_t size);

  // Bytes written so far.
  int64_t Length() const { return length_; }

  enum class Durability {
    kSynced,  // flushed to disk before the rename: the target survives a crash whole
    kCache,   // not flushed: after a crash of the system the target may be empty or short
  };

  // Makes the written bytes the target's whole content. False when a write failed or the
  // target cannot be replaced (it is a folder, say); the target then keeps what it had.
  // REQUIRES: Commit has not been called before.
  bool Commit(Durability durability = Durability::kSynced);

 private:
  OutputByteStream(int fd, std::string tempPath, std::string targetPath);
  void Discard();

  int fd_;
  const std::string tempPath_;
  const std::string targetPath_;
  int64_t length_ = 0;
  bool failed_ = false;
  bool committed_ = false;
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_BYTE_STREAM_H_
