#include "host/storage/zip_directory.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "host/storage/member_name.h"

namespace zorvstorage {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50;         // "PK\5\6"
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;  // "PK\6\7"
constexpr uint32_t kEntrySignature = 0x02014b50;       // "PK\1\2"
constexpr uint32_t kLocalSignature = 0x04034b50;       // "PK\3\4"
constexpr size_t kEndRecordBytes = 22;
constexpr size_t kZip64LocatorBytes = 20;
constexpr size_t kEntryBytes = 46;
constexpr size_t kLocalHeaderBytes = 30;
constexpr uint16_t kZip64ExtraField = 0x0001;
constexpr uint16_t kUnicodePathExtraField = 0x7075;
constexpr uint16_t kEncryptedFlag = 0x0001;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;
constexpr uint8_t kUnixHost = 3;
// A directory larger than this is left to the archive library (a template package has a handful).
constexpr uint64_t kMaxDirectoryBytes = 16 << 20;

uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// All `size` bytes at `offset`, or false.
bool ReadAt(int fd, uint64_t offset, unsigned char* out, size_t size) {
  while (size > 0) {
    const ssize_t got = ::pread(fd, out, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    offset += static_cast<uint64_t>(got);
    size -= static_cast<size_t>(got);
  }
  return true;
}

// Names the archive library reads the same whatever encoding it guesses.
bool IsPrintableASCII(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
}

// Well-formed extra fields without the ones that change a member's name or sizes.
bool ExtraFieldsArePlain(const unsigned char* p, size_t size) {
  while (size > 0) {
    if (size < 4) return false;
    const uint16_t id = U16(p);
    const size_t length = U16(p + 2);
    if (length > size - 4 || id == kZip64ExtraField || id == kUnicodePathExtraField) return false;
    p += 4 + length;
    size -= 4 + length;
  }
  return true;
}

// Inflates exactly `input` into exactly `out`: true only when the deflate stream ends right at the
// end of both.
bool InflateExactly(const std::vector<unsigned char>& input, uint8_t* out, size_t size) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  stream.next_in = const_cast<unsigned char*>(input.data());
  stream.avail_in = static_cast<uInt>(input.size());
  stream.next_out = out;
  stream.avail_out = static_cast<uInt>(size);
  const int result = inflate(&stream, Z_FINISH);
  const bool whole = result == Z_STREAM_END && stream.avail_in == 0 && stream.total_out == size;
  inflateEnd(&stream);
  return whole;
}

}  // namespace

std::unique_ptr<ZipDirectory> ZipDirectory::Read(int fd, uint64_t fileSize) {
  unsigned char end[kZip64LocatorBytes + kEndRecordBytes];
  if (fileSize < sizeof end || !ReadAt(fd, fileSize - sizeof end, end, sizeof end)) return nullptr;
  const unsigned char* record = end + kZip64LocatorBytes;
  if (U32(record) != kEndSignature || U32(end) == kZip64LocatorSignature) return nullptr;
  const uint16_t disk = U16(record + 4), directoryDisk = U16(record + 6);
  const uint16_t entriesHere = U16(record + 8), entries = U16(record + 10);
  const uint64_t directorySize = U32(record + 12), directoryOffset = U32(record + 16);
  const uint16_t commentLength = U16(record + 20);
  const uint64_t endOffset = fileSize - kEndRecordBytes;
  if (disk != 0 || directoryDisk != 0 || entriesHere != entries || commentLength != 0 ||
      directorySize > kMaxDirectoryBytes || directoryOffset + directorySize != endOffset ||
      entries == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF) {
    return nullptr;
  }
  std::vector<unsigned char> bytes(static_cast<size_t>(directorySize));
  if (!ReadAt(fd, directoryOffset, bytes.data(), bytes.size())) return nullptr;

  std::unique_ptr<ZipDirectory> directory(new ZipDirectory(fd, fileSize));
  directory->members_.reserve(entries);
  size_t at = 0;
  for (uint16_t i = 0; i < entries; ++i) {
    if (bytes.size() - at < kEntryBytes) return nullptr;
    const unsigned char* p = bytes.data() + at;
    const size_t nameLength = U16(p + 28), extraLength = U16(p + 30), commentBytes = U16(p + 32);
    const size_t entryBytes = kEntryBytes + nameLength + extraLength + commentBytes;
    if (U32(p) != kEntrySignature || bytes.size() - at < entryBytes || U16(p + 34) != 0) return nullptr;
    Member member;
    member.name.assign(reinterpret_cast<const char*>(p + kEntryBytes), nameLength);
    member.flags = U16(p + 8);
    member.method = U16(p + 10);
    member.crc = U32(p + 16);
    member.compressedSize = U32(p + 20);
    member.size = U32(p + 24);
    member.localHeaderOffset = U32(p + 42);
    const uint8_t host = p[5];
    const uint32_t attributes = U32(p + 38);
    if (!IsPrintableASCII(member.name) || member.compressedSize == 0xFFFFFFFF || member.size == 0xFFFFFFFF ||
        member.localHeaderOffset == 0xFFFFFFFF ||
        !ExtraFieldsArePlain(p + kEntryBytes + nameLength, extraLength)) {
      return nullptr;
    }
    member.isDirectory = MemberName::IsDirectoryName(member.name);
    member.isLink = host == kUnixHost && ((attributes >> 16) & S_IFMT) == S_IFLNK;
    directory->members_.push_back(std::move(member));
    at += entryBytes;
  }
  if (at != bytes.size()) return nullptr;

  for (const Member& member : directory->members_) directory->byName_.push_back(&member);
  std::sort(directory->byName_.begin(), directory->byName_.end(),
            [](const Member* a, const Member* b) { return a->name < b->name; });
  const auto repeated = std::adjacent_find(directory->byName_.begin(), directory->byName_.end(),
                                           [](const Member* a, const Member* b) { return a->name == b->name; });
  if (repeated != directory->byName_.end()) return nullptr;
  return directory;
}

const ZipDirectory::Member* ZipDirectory::Find(std::string_view name) const {
  const auto found = std::lower_bound(byName_.begin(), byName_.end(), name,
                                      [](const Member* member, std::string_view key) { return member->name < key; });
  return found != byName_.end() && (*found)->name == name ? *found : nullptr;
}

std::shared_ptr<const RecycledMemory> ZipDirectory::ReadMember(const Member& member) const {
  if ((member.flags & kEncryptedFlag) != 0 || (member.method != kStored && member.method != kDeflated)) return nullptr;
  if (member.method == kStored && member.compressedSize != member.size) return nullptr;
  // Deflate never grows data by more than a few bytes a block; more input than that is not a
  // member this reader vouches for.
  if (member.compressedSize > member.size + member.size / 8 + 1024) return nullptr;
  unsigned char local[kLocalHeaderBytes];
  if (member.localHeaderOffset > fileSize_ || !ReadAt(fd_, member.localHeaderOffset, local, sizeof local) ||
      U32(local) != kLocalSignature) {
    return nullptr;
  }
  const uint64_t dataOffset = member.localHeaderOffset + kLocalHeaderBytes + U16(local + 26) + U16(local + 28);
  if (dataOffset > fileSize_ || member.compressedSize > fileSize_ - dataOffset) return nullptr;
  const size_t size = static_cast<size_t>(member.size);
  return RecycledMemory::Fill(size, [&](uint8_t* out, size_t) {
    if (member.method == kStored) {
      if (!ReadAt(fd_, dataOffset, out, size)) return false;
    } else {
      std::vector<unsigned char> input(static_cast<size_t>(member.compressedSize));
      if (!ReadAt(fd_, dataOffset, input.data(), input.size()) || !InflateExactly(input, out, size)) return false;
    }
    return crc32(0L, out, static_cast<uInt>(size)) == member.crc;
  });
}

}  // namespace zorvstorage
