#include "host/storage/item_extraction.h"

#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "host/core/byte_stream.h"
#include "host/core/file.h"
#include "host/core/file_helper_utils.h"
#include "host/storage/member_name.h"

namespace zorvstorage {
namespace {

namespace fs = std::filesystem;

struct PlannedMember {
  ZipReader::Entry entry;
  std::string relativePath;  // below the destination, without a trailing "/"
};

struct Plan {
  bool found = false;
  bool refused = false;
  std::vector<PlannedMember> members;
};

// Removes, deepest first, what an extraction created, unless the extraction succeeded. Folders go
// only when empty, so nothing that was there before is ever removed.
class CreatedPaths {
 public:
  CreatedPaths() = default;
  CreatedPaths(const CreatedPaths&) = delete;
  CreatedPaths& operator=(const CreatedPaths&) = delete;
  ~CreatedPaths() {
    if (keep_) return;
    for (auto it = paths_.rbegin(); it != paths_.rend(); ++it) {
      std::error_code error;
      fs::remove(*it, error);
    }
  }
  void Add(fs::path path) { paths_.push_back(std::move(path)); }
  void Keep() { keep_ = true; }

 private:
  std::vector<fs::path> paths_;
  bool keep_ = false;
};

std::string_view LastComponent(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t slash = path.find('/'); slash != std::string_view::npos;
       start = slash + 1, slash = path.find('/', start)) {
    parts.push_back(path.substr(start, slash - start));
  }
  parts.push_back(path.substr(start));
  return parts;
}

// Adds one member to the plan, or marks the plan refused.
void AddToPlan(Plan& plan, ZipReader::Entry entry, std::string_view relativePath,
               uint64_t& totalBytes, const ExtractionLimits& limits) {
  const bool safe = MemberName::IsSafeRelativePath(MemberName::DirectoryMemberPath(entry.name)) &&
                    MemberName::IsSafeRelativePath(relativePath);
  totalBytes += entry.size;
  if (!safe || entry.isLink || entry.size > limits.maxMemberBytes ||
      totalBytes > limits.maxItemBytes || plan.members.size() >= limits.maxItemMembers) {
    plan.refused = true;
    return;
  }
  plan.members.push_back(PlannedMember{std::move(entry), std::string(relativePath)});
}

Plan PlanFolder(const ZipReader& reader, std::string_view item, const ExtractionLimits& limits) {
  Plan plan;
  const std::string prefix = std::string(item) + "/";
  uint64_t totalBytes = 0;
  const uint64_t count = reader.EntryCount();
  for (uint64_t index = 0; index < count && !plan.refused; ++index) {
    std::optional<ZipReader::Entry> entry = reader.EntryAt(index);
    if (!entry) {
      // A member we cannot even describe might be one of the item's; extracting the rest would
      // hand out an incomplete folder as if whole.
      plan.refused = true;
      break;
    }
    if (entry->name.compare(0, prefix.size(), prefix) != 0) continue;
    plan.found = true;
    const std::string relative(MemberName::DirectoryMemberPath(entry->name.substr(prefix.size())));
    if (relative.empty()) continue;  // the folder's own directory member
    AddToPlan(plan, std::move(*entry), relative, totalBytes, limits);
  }
  return plan;
}

Plan PlanItem(const ZipReader& reader, std::string_view item, const ExtractionLimits& limits) {
  if (!MemberName::IsSafeRelativePath(item)) return Plan{true, true, {}};
  std::optional<ZipReader::Entry> single = reader.Find(std::string(item));
  if (single && !single->isDirectory) {
    Plan plan;
    plan.found = true;
    uint64_t totalBytes = 0;
    AddToPlan(plan, std::move(*single), LastComponent(item), totalBytes, limits);
    return plan;
  }
  return PlanFolder(reader, item, limits);
}

// Makes the destination a folder, remembering every folder made on the way.
bool PrepareDestination(const fs::path& destination, CreatedPaths& created) {
  std::error_code error;
  if (fs::is_directory(destination, error)) return true;
  std::vector<fs::path> missing;
  for (fs::path path = destination; !path.empty() && path != path.root_path();
       path = path.parent_path()) {
    if (fs::exists(fs::symlink_status(path, error))) break;
    missing.push_back(path);
  }
  fs::create_directories(destination, error);
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) created.Add(*it);
  return !error && fs::is_directory(destination, error);
}

// Walks `components` down from `folder`, making missing folders. A component that stands there
// as anything but a real folder (a link, a file) stops the walk.
bool MakeFolders(fs::path& folder, const std::vector<std::string_view>& components,
                 CreatedPaths& created) {
  for (std::string_view component : components) {
    folder /= fs::path(std::string(component));
    std::error_code error;
    const fs::file_status status = fs::symlink_status(folder, error);
    if (status.type() == fs::file_type::directory) continue;
    if (fs::exists(status)) return false;
    if (!fs::create_directory(folder, error) || error) return false;
    created.Add(folder);
  }
  return true;
}

bool WriteFile(const ZipReader& reader, const PlannedMember& member, const fs::path& target,
               CreatedPaths& created) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(target, error);
  if (status.type() == fs::file_type::directory) return false;
  const bool existed = fs::exists(status);
  std::unique_ptr<zorvcore::OutputByteStream> out = zorvcore::OutputByteStream::Create(
      zorvcore::File(zorvcore::FileHelperUtils::StdPathToUTF16(target)));
  if (out == nullptr) return false;
  const bool written = reader.Stream(member.entry, [&](const uint8_t* bytes, size_t size) {
    return out->WriteBlock(bytes, size);
  });
  if (!written || !out->Commit()) return false;
  if (!existed) created.Add(target);
  return true;
}

bool WriteMember(const ZipReader& reader, const PlannedMember& member,
                 const fs::path& destination, CreatedPaths& created) {
  std::vector<std::string_view> components = Components(member.relativePath);
  fs::path folder = destination;
  if (member.entry.isDirectory) return MakeFolders(folder, components, created);
  const std::string_view fileName = components.back();
  components.pop_back();
  if (!MakeFolders(folder, components, created)) return false;
  return WriteFile(reader, member, folder / fs::path(std::string(fileName)), created);
}

}  // namespace

bool ExtractItem(const ZipReader& reader, std::string_view item, const fs::path& destination,
                 const ExtractionLimits& limits) {
  const Plan plan = PlanItem(reader, MemberName::DirectoryMemberPath(item), limits);
  if (!plan.found || plan.refused) return false;
  CreatedPaths created;
  if (!PrepareDestination(destination, created)) return false;
  for (const PlannedMember& member : plan.members) {
    if (!WriteMember(reader, member, destination, created)) return false;
  }
  created.Keep();
  return true;
}

}  // namespace zorvstorage
