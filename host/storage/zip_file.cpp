#include "host/storage/zip_file.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "host/core/file_helper_utils.h"
#include "host/core/file_utils.h"
#include "host/core/unicode.h"
#include "host/storage/item_extraction.h"
#include "host/storage/member_name.h"
#include "host/storage/zip_reader.h"
#include "host/storage/zip_writer.h"

namespace zorvstorage {

// The state copies share: the file, its password, and the open reader, made again after a write.
class ZipFile::Package {
 public:
  Package(zorvcore::File file, std::string password)
      : file_(std::move(file)),
        nativePath_(zorvcore::FileHelperUtils::UTF16ToStdPath(file_.FullPath()).native()),
        password_(std::move(password)),
        reader_(ZipReader::Open(nativePath_, password_)),
        readerTried_(true) {}

  const zorvcore::File& file() const { return file_; }
  const std::string& nativePath() const { return nativePath_; }
  std::mutex& mutex() { return mutex_; }

  // The open reader, null for an unreadable package.
  // REQUIRES: mutex() is held.
  const ZipReader* Reader() {
    if (!readerTried_) {
      reader_ = ZipReader::Open(nativePath_, password_);
      readerTried_ = true;
    }
    return reader_.get();
  }

  // Drops the reader so that the next read opens the package as it now is.
  // REQUIRES: mutex() is held.
  void ForgetReader() {
    reader_.reset();
    readerTried_ = false;
  }

 private:
  const zorvcore::File file_;
  const std::string nativePath_;
  const std::string password_;
  std::mutex mutex_;
  std::unique_ptr<ZipReader> reader_;
  bool readerTried_;
};

ZipFile::ZipFile(const zorvcore::File& file, const std::string& password)
    : package_(std::make_shared<Package>(file, password)) {}

ZipFile::~ZipFile() = default;

const zorvcore::File& ZipFile::GetFile() const { return package_->file(); }

namespace {

// The member UnzipItem may read: not a folder, not a link, not too large.
std::optional<ZipReader::Entry> ReadableEntry(const ZipReader* reader, const std::string& name) {
  if (reader == nullptr) return std::nullopt;
  std::optional<ZipReader::Entry> entry = reader->Find(name);
  if (!entry || entry->isDirectory || entry->isLink || entry->size > ZipFile::kMaxUnzipItemBytes) {
    return std::nullopt;
  }
  return entry;
}

}  // namespace

std::shared_ptr<const RecycledMemory> ZipFile::UnzipItem(const std::string& name) const {
  std::lock_guard<std::mutex> lock(package_->mutex());
  const ZipReader* reader = package_->Reader();
  const std::optional<ZipReader::Entry> entry = ReadableEntry(reader, name);
  if (!entry) return nullptr;
  return reader->Read(*entry);
}

std::optional<std::vector<ZipReader::Entry>> ZipFile::ListItems() const {
  std::lock_guard<std::mutex> lock(package_->mutex());
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
  const std::optional<ZipReader::Entry> entry = ReadableEntry(package_->Reader(), name);
  if (!entry) return std::nullopt;
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
