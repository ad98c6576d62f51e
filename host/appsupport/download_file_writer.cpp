#include "host/appsupport/download_file_writer.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "host/core/file_helper_utils.h"

namespace zorvappsupport::http {

std::unique_ptr<DownloadFileWriter> DownloadFileWriter::Create(const zorvcore::File& target,
                                                               size_t bufferBytes,
                                                               std::string* problem) {
  const std::filesystem::path path = zorvcore::FileHelperUtils::UTF16ToStdPath(target.FullPath());
  if (path.empty() || !path.has_filename()) {
    *problem = "the target names no file";
    return nullptr;
  }
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::unique_ptr<zorvcore::OutputByteStream> stream = zorvcore::OutputByteStream::Create(target);
  if (!stream) {
    *problem = "cannot write beside " + path.string();
    return nullptr;
  }
  return std::unique_ptr<DownloadFileWriter>(new DownloadFileWriter(std::move(stream), bufferBytes));
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

bool DownloadFileWriter::Commit(int64_t announcedLength, std::string* problem) {
  if (announcedLength >= 0 && announcedLength != received_) {
    *problem = "received " + std::to_string(received_) + " of " +
               std::to_string(announcedLength) + " announced bytes";
    return false;
  }
  if (!Flush() || !stream_->Commit()) {
    *problem = "the downloaded file could not be written";
    return false;
  }
  return true;
}

}  // namespace zorvappsupport::http
