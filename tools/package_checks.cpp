#include "tools/package_checks.h"

#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "host/storage/item_extraction.h"
#include "host/storage/member_name.h"
#include "host/storage/zip_file.h"
#include "package/capsule_zip.h"
#include "package/package_names.h"
#include "tools/description_checks.h"
#include "tools/display_text.h"
#include "tools/png_check.h"

namespace capsuletool {
namespace {

using zorvstorage::MemberName;
using Item = zorvstorage::ZipReader::Entry;
using Items = std::vector<Item>;

// A member is suspicious when it inflates past both of these: a zip bomb's signature.
constexpr uint64_t kSuspiciousBytes = uint64_t{10} * 1024 * 1024;
constexpr uint64_t kSuspiciousRatio = 100;

using zorvcapsule::kProjectStem;
using zorvcapsule::kThumbStem;
constexpr std::string_view kProjectSuffixes[] = {zorvcapsule::kTsProjectExtension, zorvcapsule::kQzProjectExtension};

// The name as a message shows it: control characters written as \xNN, so a hostile name cannot
// break the line.
std::string Shown(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
    } else {
      shown += c;
    }
  }
  return shown;
}

// True for "<stem><suffix>" and "<stem>_<lang><suffix>", the plain and the per-language names the
// library asks a package for.
bool IsNamed(std::string_view name, std::string_view stem, std::string_view suffix) {
  if (name.size() < stem.size() + suffix.size() || !name.starts_with(stem) || !name.ends_with(suffix)) return false;
  const std::string_view language = name.substr(stem.size(), name.size() - stem.size() - suffix.size());
  if (language.empty()) return true;
  return language.size() > 1 && language[0] == '_' && language.find('/') == std::string_view::npos;
}

bool IsFileMember(const Item& item) { return !item.isDirectory && !item.isLink; }

const Item* FindFileMember(const Items& items, std::string_view name) {
  for (const Item& item : items) {
    if (item.name == name) return IsFileMember(item) ? &item : nullptr;
  }
  return nullptr;
}

// ---- The directory ------------------------------------------------------------------------

void CheckMemberNames(const Items& items, std::vector<Problem>& problems) {
  for (const Item& item : items) {
    if (!MemberName::IsSafeRelativePath(MemberName::DirectoryMemberPath(item.name))) {
      problems.emplace_back(kUnsafeMemberName,
                            "member name " + Shown(item.name) +
                                " is not a plain relative path (absolute, \"..\", a backslash, a control character): "
                                "extracted, it could land outside its folder",
                            item.name);
    }
    if (item.isLink) {
      problems.emplace_back(kUnsafeMemberName, "member " + Shown(item.name) + " is stored as a symbolic link",
                            item.name);
    }
  }
}

void CheckCompression(const Items& items, std::vector<Problem>& problems) {
  for (const Item& item : items) {
    if (item.isDirectory || item.size <= kSuspiciousBytes) continue;
    if (item.compressedSize > 0 && item.size / kSuspiciousRatio <= item.compressedSize) continue;
    const uint64_t ratio = item.size / std::max<uint64_t>(item.compressedSize, 1);
    problems.emplace_back(kSuspiciousCompression,
                          Shown(item.name) + " inflates from " + ByteSizeText(item.compressedSize) + " to " +
                              ByteSizeText(item.size) + ", " + std::to_string(ratio) + " times its stored size",
                          item.name);
  }
}

// ---- Members the library reads ------------------------------------------------------------

// The member's bytes, or nullopt with the problem said: declared beyond the reader's limit (as
// `tooLarge`), or data failing its size or checksum check.
std::optional<std::string> ReadMember(const zorvcapsule::CapsuleZip& package, const Item& item,
                                      const ProblemKind& tooLarge, std::vector<Problem>& problems) {
  if (item.size > zorvstorage::ZipFile::kMaxUnzipItemBytes) {
    problems.emplace_back(tooLarge,
                          Shown(item.name) + " declares " + ByteSizeText(item.size) + ", more than the library reads (" +
                              ByteSizeText(zorvstorage::ZipFile::kMaxUnzipItemBytes) + ")",
                          item.name);
    return std::nullopt;
  }
  const auto block = package.UnzipItem(item.name);
  if (!block) {
    problems.emplace_back(kDamagedMember,
                          Shown(item.name) + " does not read back whole: its data fails its size or checksum check",
                          item.name);
    return std::nullopt;
  }
  return std::string(reinterpret_cast<const char*>(block->Buffer()), block->Size());
}

void CheckDescription(const zorvcapsule::CapsuleZip& package, const Items& items, std::vector<Problem>& problems) {
  const std::string name(zorvcapsule::kDescriptionMember);
  const Item* item = FindFileMember(items, name);
  if (item == nullptr || item->size == 0) {
    problems.emplace_back(kMissingDescription,
                          item == nullptr ? "no " + name + " member" : name + " is empty", name);
    return;
  }
  const std::optional<std::string> bytes = ReadMember(package, *item, kDescriptionTooLarge, problems);
  if (!bytes) return;
  if (const auto capsule = CheckDescriptionText(*bytes, problems)) CheckDescriptionRecord(*capsule, problems);
}

void CheckStillThumbnails(const zorvcapsule::CapsuleZip& package, const Items& items, std::vector<Problem>& problems) {
  bool found = false;
  for (const Item& item : items) {
    if (!IsFileMember(item) || item.size == 0 || !IsNamed(item.name, kThumbStem, zorvcapsule::kStillThumbExtension)) continue;
    found = true;
    const std::optional<std::string> bytes = ReadMember(package, item, kBadThumbnail, problems);
    if (!bytes) continue;
    if (const std::string problem = PNGProblem(*bytes); !problem.empty()) {
      problems.emplace_back(kBadThumbnail, Shown(item.name) + " does not decode as PNG: " + problem, item.name);
    }
  }
  if (!found) {
    problems.emplace_back(kMissingThumbnail, "no still thumbnail (thumb.png or thumb_<language>.png)");
  }
}

// ---- Members judged from the directory ----------------------------------------------------

void CheckVideoThumbnail(const Items& items, std::vector<Problem>& problems) {
  for (const Item& item : items) {
    if (IsFileMember(item) && item.size > 0 && IsNamed(item.name, kThumbStem, zorvcapsule::kVideoThumbExtension)) return;
  }
  problems.emplace_back(kMissingVideoThumbnail,
                        "no video thumbnail (thumb.mp4 or thumb_<language>.mp4); hosts show the still one");
}

// A project package: one member, or a folder of members below its name.
struct ProjectItem {
  uint64_t files = 0;
  uint64_t bytes = 0;
  uint64_t largestFile = 0;
};

std::map<std::string, ProjectItem> ProjectItems(const Items& items) {
  std::map<std::string, ProjectItem> projects;
  for (const Item& item : items) {
    const std::string_view name = item.name;
    const std::string_view top = name.substr(0, name.find('/'));
    bool isProject = false;
    for (std::string_view suffix : kProjectSuffixes) isProject = isProject || IsNamed(top, kProjectStem, suffix);
    if (!isProject || !IsFileMember(item)) continue;
    ProjectItem& project = projects[std::string(top)];
    ++project.files;
    project.bytes += item.size;
    project.largestFile = std::max(project.largestFile, item.size);
  }
  return projects;
}

void CheckProjectPackage(const Items& items, std::vector<Problem>& problems) {
  const std::map<std::string, ProjectItem> projects = ProjectItems(items);
  if (projects.empty()) {
    problems.emplace_back(kMissingProjectPackage,
                          "no project package (project[_<language>].tsgraphic or .qzgraphic, a member or a folder)");
  }
  const zorvstorage::ExtractionLimits limits;
  for (const auto& [name, project] : projects) {
    if (project.largestFile <= limits.maxMemberBytes && project.bytes <= limits.maxItemBytes &&
        project.files <= limits.maxItemMembers) {
      continue;
    }
    problems.emplace_back(kProjectTooLarge,
                          "project package " + Shown(name) + " (" + std::to_string(project.files) + " files, " +
                              ByteSizeText(project.bytes) + ") is beyond what the library extracts (" +
                              ByteSizeText(limits.maxMemberBytes) + " a file, " + ByteSizeText(limits.maxItemBytes) +
                              " and " + std::to_string(limits.maxItemMembers) + " files in all)",
                          name);
  }
}

void CheckOpenPackage(const zorvcapsule::CapsuleZip& package, std::vector<Problem>& problems) {
  const std::optional<Items> items = package.ListItems();
  if (!items) {
    problems.emplace_back(kNotAPackage, "not a readable zip archive");
    return;
  }
  CheckMemberNames(*items, problems);
  CheckCompression(*items, problems);
  CheckDescription(package, *items, problems);
  CheckStillThumbnails(package, *items, problems);
  CheckVideoThumbnail(*items, problems);
  CheckProjectPackage(*items, problems);
}

}  // namespace

PackageReport CheckPackage(const std::u16string& path, const std::string& shownPath) {
  PackageReport report{shownPath, {}};
  try {
    const zorvcapsule::CapsuleZip package(path, std::string());
    CheckOpenPackage(package, report.problems);
  } catch (const std::exception& e) {
    report.problems.emplace_back(kCheckFailed, std::string("the check stopped: ") + e.what());
  } catch (...) {
    report.problems.emplace_back(kCheckFailed, "the check stopped");
  }
  return report;
}

}  // namespace capsuletool
