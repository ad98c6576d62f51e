#include "host/appsupport/download_file_writer.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "host/core/file_helper_utils.h"

namespace zorvappsupport::http {

zorvcore::Status DownloadFileWriter::Create(const zorvcore::File& target, size_t bufferBytes,
                                            std::unique_ptr<DownloadFileWriter>* writer) {
  const std::filesystem::path path = zorvcore::FileHelperUtils::UTF16ToStdPath(target.FullPath());
  if (path.empty() || !path.has_filename()) {
    return zorvcore::Status::InvalidArgument("the target names no file");
  }
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::unique_ptr<zorvcore::OutputByteStream> stream = zorvcore::OutputByteStream::Create(target);
  if (!stream) return zorvcore::Status::IOError("cannot write beside " + path.string());
  writer->reset(new DownloadFileWriter(std::move(stream), bufferBytes));
  return zorvcore::Status::OK();
}

DownloadFileWriter::DownloadFileWriter(std::unique_ptr<zorvcore::OutputByteStream> stream,
                                       size_t bufferBytes)
    : stream_(std::move(stream)), bufferBytes_(bufferBytes) {}

bool DownloadFileWriter::Append(const uint8_t* data, size_t size) {
  received_ += static_cast<int64_t>(size);
  if (buffer_.size() + size <= bufferBytes_) {
    buffer_.insert(buffer_.end(), data, data + size);
    return true;
  }
  return Flush() && stream_->WriteBlock(data, size);
}

bool DownloadFileWriter::Flush() {
  if (buffer_.empty()) return true;
  const bool written = stream_->WriteBlock(buffer_.data(), buffer_.size());
  buffer_.clear();
  return written;
}

zorvcore::Status DownloadFileWriter::Commit(int64_t announcedLength) {
  if (announcedLength >= 0 && announcedLength != received_) {
    return zorvcore::Status::Corruption("received " + std::to_string(received_) + " of " +
                                        std::to_string(announcedLength) + " announced bytes");
  }
  if (!Flush() || !stream_->Commit()) {
    return zorvcore::Status::IOError("the downloaded file could not be written");
  }
  return zorvcore::Status::OK();
}

}  // namespace zorvappsupport::http
