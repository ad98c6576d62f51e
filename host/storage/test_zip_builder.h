// TestZipBuilder: writes a zip archive for a test with libzip, member by member, including members
// no well-behaved tool would write (hostile names, symbolic links). Test code only.
//
//   TestZipBuilder(path).Add("definition.json", "{}").AddLink("evil", "/etc").Write();
//
// Also helpers that damage an archive's bytes. Thread safety: one thread.

#ifndef ZORVCAPSULE_HOST_STORAGE_TEST_ZIP_BUILDER_H_
#define ZORVCAPSULE_HOST_STORAGE_TEST_ZIP_BUILDER_H_

#include <sys/stat.h>
#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "host/storage/recycled_memory.h"

namespace zorvstorage {

class TestZipBuilder {
 public:
  // Starts a new archive at `path`, replacing whatever file was there.
  explicit TestZipBuilder(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    int code = 0;
    archive_ = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive_ == nullptr) ADD_FAILURE() << "zip_open failed for " << path << ": " << code;
  }
  TestZipBuilder(const TestZipBuilder&) = delete;
  TestZipBuilder& operator=(const TestZipBuilder&) = delete;
  ~TestZipBuilder() {
    if (archive_ != nullptr) zip_discard(archive_);
  }

  // A file member. `stored` keeps it uncompressed, so tests can find and damage its bytes.
  TestZipBuilder& Add(const std::string& name, const std::string& content, bool stored = false) {
    const zip_int64_t index = AddBytes(name, content);
    if (index >= 0 && stored) zip_set_file_compression(archive_, index, ZIP_CM_STORE, 0);
    return *this;
  }
  // A member encrypted with `password` (traditional PKWARE encryption).
  TestZipBuilder& AddEncrypted(const std::string& name, const std::string& content, const std::string& password) {
    const zip_int64_t index = AddBytes(name, content);
    if (index >= 0 && zip_file_set_encryption(archive_, index, ZIP_EM_TRAD_PKWARE, password.c_str()) != 0) {
      ADD_FAILURE() << "cannot encrypt " << name;
    }
    return *this;
  }
  TestZipBuilder& AddDirectory(const std::string& name) {
    if (archive_ && zip_dir_add(archive_, name.c_str(), ZIP_FL_ENC_UTF_8) < 0) ADD_FAILURE() << "no folder " << name;
    return *this;
  }
  // A member stored as a symbolic link to `target`, as Unix zip tools store links.
  TestZipBuilder& AddLink(const std::string& name, const std::string& target) {
    const zip_int64_t index = AddBytes(name, target);
    if (index >= 0) zip_file_set_external_attributes(archive_, index, 0, ZIP_OPSYS_UNIX, (S_IFLNK | 0777u) << 16);
    return *this;
  }
  // The archive being built, for changes the builder has no call for (comments, extra fields).
  zip_t* Archive() const { return archive_; }

  void Write() {
    if (archive_ != nullptr && zip_close(archive_) != 0) {
      ADD_FAILURE() << "zip_close failed: " << zip_strerror(archive_);
      zip_discard(archive_);
    }
    archive_ = nullptr;
  }

 private:
  zip_int64_t AddBytes(const std::string& name, const std::string& content) {
    if (archive_ == nullptr) return -1;
    const std::string& kept = contents_.emplace_back(content);
    zip_source_t* source = zip_source_buffer(archive_, kept.data(), kept.size(), 0);
    const zip_int64_t index = source ? zip_file_add(archive_, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      if (source != nullptr) zip_source_free(source);
      ADD_FAILURE() << "zip_file_add failed for " << name;
    }
    return index;
  }

  zip_t* archive_ = nullptr;
  std::list<std::string> contents_;  // libzip reads the buffers at Write
};

// A member's bytes as read, or "<null>" when the read gave nothing.
inline std::string BlockText(const std::shared_ptr<const RecycledMemory>& block) {
  return block ? std::string(reinterpret_cast<const char*>(block->Buffer()), block->Size()) : "<null>";
}

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Flips the first byte of `needle` in the file; the needle must occur in it (a stored member).
inline void DamageBytes(const std::filesystem::path& path, const std::string& needle) {
  std::string bytes = ReadFileBytes(path);
  const size_t at = bytes.find(needle);
  ASSERT_NE(at, std::string::npos) << "no " << needle << " in " << path;
  bytes[at] = static_cast<char>(bytes[at] ^ 0x20);
  WriteFileBytes(path, bytes);
}

// Rewrites the uncompressed size the member `name` declares, in its local header and in the central
// directory, so a test can make a member that claims any size without holding that many bytes.
inline void DeclareSize(const std::filesystem::path& package, const std::string& name, uint32_t size) {
  std::string bytes = ReadFileBytes(package);
  // Each header: its signature, the name at `nameAt`, the uncompressed size at `sizeAt`.
  auto patch = [&](const std::string& signature, size_t nameAt, size_t sizeAt) {
    for (size_t at = bytes.find(signature); at != std::string::npos; at = bytes.find(signature, at + 1)) {
      if (bytes.compare(at + nameAt, name.size(), name) != 0) continue;
      for (int i = 0; i < 4; ++i) bytes[at + sizeAt + i] = static_cast<char>(size >> (8 * i));
      return;
    }
    ADD_FAILURE() << "no header of " << name << " in " << package;
  };
  patch(std::string("PK\x03\x04", 4), 30, 22);
  patch(std::string("PK\x01\x02", 4), 46, 24);
  WriteFileBytes(package, bytes);
}

// A deterministic run of bytes that does not compress.
inline std::string NoiseBytes(size_t size, uint32_t seed = 1) {
  std::string bytes(size, '\0');
  uint32_t state = seed * 2654435761u + 1;
  for (char& byte : bytes) byte = static_cast<char>((state = state * 1664525u + 1013904223u) >> 24);
  return bytes;
}

}  // namespace zorvstorage

#endif  // ZORVCAPSULE_HOST_STORAGE_TEST_ZIP_BUILDER_H_
