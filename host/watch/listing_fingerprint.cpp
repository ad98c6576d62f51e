#include "host/watch/listing_fingerprint.h"

#include <system_error>

namespace zorvwatch {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t kUnreadable = 0x9e3779b97f4a7c15ULL;

uint64_t Fnv1a(uint64_t hash, const void* bytes, size_t size) {
  const auto* byte = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ byte[i]) * 0x100000001b3ULL;
  return hash;
}

template <typename T>
uint64_t Mixed(uint64_t hash, const T& value) {
  return Fnv1a(hash, &value, sizeof(value));
}

}  // namespace

bool NameCounts(std::string_view name, const std::vector<std::string>& suffixes) {
  if (suffixes.empty()) return true;
  for (const std::string& suffix : suffixes) {
    if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      return true;
    }
  }
  return false;
}

uint64_t ListingFingerprint(const fs::path& folder, const std::vector<std::string>& fileSuffixes) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return kUnreadable;
  // Entries come in no fixed order, so each one's hash is summed.
  uint64_t sum = 0;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) return kUnreadable;
    const std::string name = it->path().filename().native();
    const fs::file_type type = it->symlink_status(error).type();
    uint64_t hash = Fnv1a(0xcbf29ce484222325ULL, name.data(), name.size());
    if (type == fs::file_type::directory) {
      hash = Mixed(hash, 'd');
    } else if (NameCounts(name, fileSuffixes)) {
      const uintmax_t size = it->file_size(error);
      const auto modified = it->last_write_time(error).time_since_epoch().count();
      hash = Mixed(Mixed(hash, size), modified);
    } else {
      continue;
    }
    sum += hash;
  }
  return sum;
}

}  // namespace zorvwatch
