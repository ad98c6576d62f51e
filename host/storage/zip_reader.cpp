#include "host/storage/zip_reader.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cstdint>
#include <vector>

#include "host/storage/member_name.h"

namespace zorvstorage {
namespace {

constexpr size_t kStreamBlockBytes = 64 * 1024;

bool IsRegularFile(const std::string& nativePath) {
  struct stat info;
  return ::stat(nativePath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Unix zips keep the file mode in the upper half of the external attributes.
bool IsStoredLink(zip_t* archive, uint64_t index) {
  zip_uint8_t opsys = 0;
  zip_uint32_t attributes = 0;
  if (zip_file_get_external_attributes(archive, index, 0, &opsys, &attributes) != 0) return false;
  if (opsys != ZIP_OPSYS_UNIX) return false;
  return ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

// Closes a member stream on every path out of a read.
struct MemberStream {
  explicit MemberStream(zip_file_t* file) : file(file) {}
  MemberStream(const MemberStream&) = delete;
  MemberStream& operator=(const MemberStream&) = delete;
  ~MemberStream() {
    if (file != nullptr) zip_fclose(file);
  }
  zip_file_t* const file;
};

// Reads until `size` bytes are in `out` or the stream ends; -1 on a read error.
int64_t ReadUpTo(zip_file_t* file, uint8_t* out, uint64_t size) {
  uint64_t total = 0;
  while (total < size) {
    const zip_int64_t got = zip_fread(file, out + total, size - total);
    if (got < 0) return -1;
    if (got == 0) break;
    total += static_cast<uint64_t>(got);
  }
  return static_cast<int64_t>(total);
}

// libzip checks the checksum only when a read reaches the end of the data, so a reader that stops
// at the declared size asks once more: the answer must be "no more bytes".
bool AtCheckedEnd(zip_file_t* file) {
  uint8_t extra = 0;
  return zip_fread(file, &extra, 1) == 0;
}

}  // namespace

std::unique_ptr<ZipReader> ZipReader::Open(const std::string& nativePath,
                                           const std::string& password) {
  if (!IsRegularFile(nativePath)) return nullptr;
  int error = 0;
  zip_t* archive = zip_open(nativePath.c_str(), ZIP_RDONLY, &error);
  if (archive == nullptr) return nullptr;
  if (!password.empty()) zip_set_default_password(archive, password.c_str());
  return std::unique_ptr<ZipReader>(new ZipReader(archive));
}

std::unique_ptr<ZipReader> ZipReader::OpenDescriptor(int fd, const std::string& password) {
  const int copy = ::dup(fd);
  if (copy < 0) return nullptr;
  int error = 0;
  // On success the archive owns `copy` (it reads through a duplicate of its own and closes this one).
  zip_t* archive = zip_fdopen(copy, 0, &error);
  if (archive == nullptr) {
    ::close(copy);
    return nullptr;
  }
  if (!password.empty()) zip_set_default_password(archive, password.c_str());
  return std::unique_ptr<ZipReader>(new ZipReader(archive));
}

ZipReader::~ZipReader() { zip_discard(archive_); }

uint64_t ZipReader::EntryCount() const {
  const zip_int64_t count = zip_get_num_entries(archive_, 0);
  return count < 0 ? 0 : static_cast<uint64_t>(count);
}

std::optional<ZipReader::Entry> ZipReader::EntryAt(uint64_t index) const {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive_, index, 0, &stat) != 0) return std::nullopt;
  if ((stat.valid & ZIP_STAT_NAME) == 0 || (stat.valid & ZIP_STAT_SIZE) == 0) return std::nullopt;
  Entry entry;
  entry.index = index;
  entry.name = stat.name;
  entry.size = stat.size;
  if ((stat.valid & ZIP_STAT_COMP_SIZE) != 0) entry.compressedSize = stat.comp_size;
  entry.isDirectory = MemberName::IsDirectoryName(entry.name);
  entry.isLink = IsStoredLink(archive_, index);
  return entry;
}

std::optional<ZipReader::Entry> ZipReader::Find(const std::string& name) const {
  const zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
  if (index < 0) return std::nullopt;
  return EntryAt(static_cast<uint64_t>(index));
}

std::shared_ptr<const RecycledMemory> ZipReader::Read(const Entry& entry) const {
  if (entry.size > SIZE_MAX) return nullptr;
  MemberStream stream(zip_fopen_index(archive_, entry.index, 0));
  if (stream.file == nullptr) return nullptr;
  return RecycledMemory::Fill(static_cast<size_t>(entry.size), [&](uint8_t* bytes, size_t size) {
    return ReadUpTo(stream.file, bytes, size) == static_cast<int64_t>(size) &&
           AtCheckedEnd(stream.file);
  });
}

bool ZipReader::Stream(const Entry& entry, const BlockSink& sink) const {
  MemberStream stream(zip_fopen_index(archive_, entry.index, 0));
  if (stream.file == nullptr) return false;
  // On the heap: extraction may run on worker threads with small stacks.
  std::vector<uint8_t> block(kStreamBlockBytes);
  uint64_t total = 0;
  while (true) {
    const zip_int64_t got = zip_fread(stream.file, block.data(), block.size());
    if (got < 0) return false;
    if (got == 0) break;
    total += static_cast<uint64_t>(got);
    if (total > entry.size) return false;
    if (!sink(block.data(), static_cast<size_t>(got))) return false;
  }
  return total == entry.size;
}

}  // namespace zorvstorage
