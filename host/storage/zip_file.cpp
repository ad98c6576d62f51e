#include "host/storage/zip_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "host/core/file_helper_utils.h"
#include "host/core/file_utils.h"
#include "host/core/unicode.h"
#include "host/storage/item_extraction.h"
#include "host/storage/member_name.h"
#include "host/storage/zip_directory.h"
#include "host/storage/zip_reader.h"
#include "host/storage/zip_writer.h"

namespace zorvstorage {

// The state copies share: the file, its password, and how it is read, made again after a write. The
// package file is opened once; a plain package is read through its own directory reader, anything
// else (and anything that reader declines) through the archive library, on the same open file.
class ZipFile::Package {
 public:
  Package(zorvcore::File file, std::string password)
      : file_(std::move(file)),
        nativePath_(zorvcore::FileHelperUtils::UTF16ToStdPath(file_.FullPath()).native()),
        password_(std::move(password)) {
    OpenFile();
  }
  ~Package() { CloseFile(); }

  Package(const Package&) = delete;
  Package& operator=(const Package&) = delete;

  const zorvcore::File& file() const { return file_; }
  const std::string& nativePath() const { return nativePath_; }
  std::mutex& mutex() { return mutex_; }

  // The directory reader, null when the package is not one it takes.
  // REQUIRES: mutex() is held.
  const ZipDirectory* Directory() {
    if (!opened_) OpenFile();
    return directory_.get();
  }

  // The archive library's reader, null for an unreadable package.
  // REQUIRES: mutex() is held.
  const ZipReader* Reader() {
    if (!opened_) OpenFile();
    if (!readerTried_) {
      if (fd_ >= 0) reader_ = ZipReader::OpenDescriptor(fd_, password_);
      readerTried_ = true;
    }
    return reader_.get();
  }

  // Drops the readers so that the next read opens the package as it now is.
  // REQUIRES: mutex() is held.
  void ForgetReader() { CloseFile(); }

 private:
  // Only regular files are opened, so a path naming a FIFO or a device cannot block the caller.
  void OpenFile() {
    opened_ = true;
    fd_ = ::open(nativePath_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return;
    struct stat info;
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
    if (password_.empty()) directory_ = ZipDirectory::Read(fd_, static_cast<uint64_t>(info.st_size));
  }

  void CloseFile() {
    directory_.reset();
    reader_.reset();
    readerTried_ = false;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    opened_ = false;
  }

  const zorvcore::File file_;
  const std::string nativePath_;
  const std::string password_;
  std::mutex mutex_;
  bool opened_ = false;
  int fd_ = -1;
  std::unique_ptr<ZipDirectory> directory_;
  std::unique_ptr<ZipReader> reader_;
  bool readerTried_ = false;
};

ZipFile::ZipFile(const zorvcore::File& file, const std::string& password)
    : package_(std::make_shared<Package>(file, password)) {}

ZipFile::~ZipFile() = default;

const zorvcore::File& ZipFile::GetFile() const { return package_->file(); }

namespace {

// The member UnzipItem may read: not a folder, not a link, not too large.
template <typename Entry>
bool Readable(const Entry& entry) {
  return !entry.isDirectory && !entry.isLink && entry.size <= ZipFile::kMaxUnzipItemBytes;
}

}  // namespace

std::shared_ptr<const RecycledMemory> ZipFile::UnzipItem(const std::string& name) const {
  std::lock_guard<std::mutex> lock(package_->mutex());
  if (const ZipDirectory* directory = package_->Directory()) {
    const ZipDirectory::Member* member = directory->Find(name);
    if (member == nullptr || !Readable(*member)) return nullptr;
    if (auto bytes = directory->ReadMember(*member)) return bytes;
    // Declined (an unusual or damaged member): the archive library decides.
  }
  const ZipReader* reader = package_->Reader();
  if (reader == nullptr) return nullptr;
  const std::optional<ZipReader::Entry> entry = reader->Find(name);
  if (!entry || !Readable(*entry)) return nullptr;
  return reader->Read(*entry);
}

std::optional<std::vector<ZipReader::Entry>> ZipFile::ListItems() const {
  std::lock_guard<std::mutex> lock(package_->mutex());
  if (const ZipDirectory* directory = package_->Directory()) {
    std::vector<ZipReader::Entry> items;
    items.reserve(directory->Members().size());
    uint64_t index = 0;
    for (const ZipDirectory::Member& member : directory->Members()) {
      items.push_back({index++, member.name, member.size, member.compressedSize, member.isDirectory, member.isLink});
    }
    return items;
  }
  const ZipReader* reader = package_->Reader();
  if (reader == nullptr) return std::nullopt;
  std::vector<ZipReader::Entry> items;
  const uint64_t count = reader->EntryCount();
  items.reserve(static_cast<size_t>(std::min<uint64_t>(count, 4096)));
  for (uint64_t index = 0; index < count; ++index) {
    if (auto entry = reader->EntryAt(index)) items.push_back(std::move(*entry));
  }
  return items;
}

std::optional<uint64_t> ZipFile::ItemSize(const std::string& name) const {
  std::lock_guard<std::mutex> lock(package_->mutex());
  if (const ZipDirectory* directory = package_->Directory()) {
    const ZipDirectory::Member* member = directory->Find(name);
    if (member == nullptr || !Readable(*member)) return std::nullopt;
    return member->size;
  }
  const ZipReader* reader = package_->Reader();
  if (reader == nullptr) return std::nullopt;
  const std::optional<ZipReader::Entry> entry = reader->Find(name);
  if (!entry || !Readable(*entry)) return std::nullopt;
  return entry->size;
}

bool ZipFile::UnzipItems(const std::string& name, const zorvcore::Dir& destination) const {
  std::lock_guard<std::mutex> lock(package_->mutex());
  const ZipReader* reader = package_->Reader();
  if (reader == nullptr) return false;
  return ExtractItem(*reader, name,
                     zorvcore::FileHelperUtils::UTF16ToStdPath(destination.FullPath()));
}

bool ZipFile::AddItem(const std::string& name, const zorvcore::Dir& sourceFolder,
                      bool replace) const {
  if (!MemberName::IsSafeRelativePath(name)) return false;
  const std::u16string sourcePath =
      zorvcore::FileUtils::AddTrailingSlash(sourceFolder.FullPath()) +
      zorvcore::UTF8ToUTF16(name);
  std::lock_guard<std::mutex> lock(package_->mutex());
  // Closed first, so the reader's open file does not outlive the package it described.
  package_->ForgetReader();
  return StoreFileInPackage(package_->nativePath(), name,
                            zorvcore::FileHelperUtils::UTF16ToStdPath(sourcePath).native(),
                            replace);
}

}  // namespace zorvstorage
