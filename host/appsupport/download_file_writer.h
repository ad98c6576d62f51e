// DownloadFileWriter: lands one download's body in a temporary file beside its target, and makes
// it the target only when the body is complete.
//
// Bytes are gathered in memory up to the buffer size and then written to a hidden temporary file in
// the target's folder (see OutputByteStream). Commit checks the body against the length the server
// announced and, when they agree (or none was announced), renames the temporary file over the
// target in one step. A writer destroyed without a successful Commit removes its temporary file,
// so a failed, cancelled or interrupted download never leaves a partial file at the target and
// never disturbs a file that was there.
//
// Thread safety: none; one download's writer is used by one thread at a time.

#ifndef ZORVCAPSULE_HOST_APPSUPPORT_DOWNLOAD_FILE_WRITER_H_
#define ZORVCAPSULE_HOST_APPSUPPORT_DOWNLOAD_FILE_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/core/byte_stream.h"
#include "host/core/file.h"
#include "host/core/status.h"

namespace zorvappsupport::http {

class DownloadFileWriter {
 public:
  // Makes the target's folder when it is missing and sets `*writer`. InvalidArgument when the
  // target names no file, IOError when the temporary file cannot be made beside it.
  static zorvcore::Status Create(const zorvcore::File& target, size_t bufferBytes,
                                 std::unique_ptr<DownloadFileWriter>* writer);
  DownloadFileWriter(const DownloadFileWriter&) = delete;
  DownloadFileWriter& operator=(const DownloadFileWriter&) = delete;

  // Takes the next bytes of the body. False when they cannot be written (a full disk, say).
  bool Append(const uint8_t* data, size_t size);

  // REQUIRES: Commit has not been called before.
  // Makes the body the target's content when it is complete: `announcedLength` is the length the
  // server announced, or -1 for none. Corruption when the body is short or long, IOError when the
  // file cannot be written or renamed; the target is then untouched.
  zorvcore::Status Commit(int64_t announcedLength);

  int64_t BytesReceived() const { return received_; }

 private:
  DownloadFileWriter(std::unique_ptr<zorvcore::OutputByteStream> stream, size_t bufferBytes);
  bool Flush();

  std::unique_ptr<zorvcore::OutputByteStream> stream_;
  std::vector<uint8_t> buffer_;
  const size_t bufferBytes_;
  int64_t received_ = 0;
};

}  // namespace zorvappsupport::http

#endif  // ZORVCAPSULE_HOST_APPSUPPORT_DOWNLOAD_FILE_WRITER_H_
