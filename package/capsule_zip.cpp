#include "package/capsule_zip.h"

#include <sys/stat.h>

#include <exception>
#include <memory>
#include <set>
#include <string_view>
#include <utility>

#include <boost/filesystem.hpp>
#include <boost/regex.hpp>

#include "host/core/byte_stream.h"
#include "host/core/dir.h"
#include "host/core/file_helper_utils.h"
#include "host/core/file_utils.h"
#include "host/core/locale.h"
#include "host/core/unicode.h"
#include "package/package_names.h"

namespace zorvcapsule {
namespace {

std::string AppLanguage() { return zorvcore::UTF16ToUTF8(zorvcore::Locale::ApplicationLangauge()); }

bool HasBytes(const std::shared_ptr<const zorvstorage::RecycledMemory>& block) {
  return block != nullptr && block->Size() > 0;
}

// One name that stays one folder below its parent.
bool IsSingleFolderName(std::u16string_view name) {
  return !name.empty() && name != u"." && name != u".." &&
         name.find_first_of(std::u16string_view(u"/\0", 2)) == std::u16string_view::npos;
}

// The write goes to a hidden temporary file renamed into place; its outcome is not reported,
// because callers only ask whether the package had a thumbnail. A thumbnail file is a cache and
// is not flushed to disk: its readers check its size.
void WriteWhole(const std::u16string& destinationPath, const zorvstorage::RecycledMemory& bytes) {
  std::unique_ptr<zorvcore::OutputByteStream> out =
      zorvcore::OutputByteStream::Create(zorvcore::File(destinationPath));
  if (out != nullptr && out->WriteBlock(bytes.Buffer(), bytes.Size())) {
    out->Commit(zorvcore::OutputByteStream::Durability::kCache);
  }
}

// The walk behind GetPathOfUnZippedProject is its own rather than zorvcore::RecursiveFileIterator:
// it follows links to folders (an unzipped project may be reached through one), which that iterator
// never enters. Identifies a folder however it was reached, so a link back up the tree is walked only once.
using FolderIdentity = std::pair<dev_t, ino_t>;

bool FirstVisit(const boost::filesystem::path& folder, std::set<FolderIdentity>& visited) {
  struct stat info;
  if (::stat(folder.c_str(), &info) != 0) return false;
  return visited.insert(FolderIdentity(info.st_dev, info.st_ino)).second;
}

void WalkFolder(const boost::filesystem::path& folder, const boost::regex& pattern,
                std::set<FolderIdentity>& visited, std::vector<std::u16string>& found) {
  namespace bfs = boost::filesystem;
  try {
    if (!FirstVisit(folder, visited)) return;
    for (bfs::directory_iterator it(folder), end; it != end; ++it) {
      const bfs::path& path = it->path();
      boost::system::error_code error;
      const bfs::file_status status = bfs::status(path, error);
      if (error || status.type() == bfs::status_error || status.type() == bfs::file_not_found) {
        continue;
      }
      if (status.type() == bfs::regular_file) {
        if (boost::regex_match(path.filename().string(), pattern)) {
          found.push_back(zorvcore::FileHelperUtils::BoostPathToUTF16(path));
        }
      } else if (status.type() == bfs::directory_file) {
        WalkFolder(path, pattern, visited, found);
      }
    }
  } catch (const std::exception&) {
    // This folder's remaining entries are lost; what it found so far, and its parent's walk, stay.
  }
}

}  // namespace

CapsuleZip::CapsuleZip(const std::u16string& packagePath, const std::string& archiveText)
    : ZipFile(zorvcore::File(packagePath), archiveText) {}

CapsuleZip::CapsuleZip(const zorvcore::File& package, const std::string& archiveText)
    : ZipFile(package, archiveText) {}

CapsuleZip::~CapsuleZip() = default;

std::u16string CapsuleZip::GetTPLXDescriptionJSON() const {
  const auto block = UnzipItem(std::string(kDescriptionMember));
  if (!HasBytes(block)) return std::u16string();
  return zorvcore::StdToUTF16String(
      std::string_view(reinterpret_cast<const char*>(block->Buffer()), block->Size()));
}

bool CapsuleZip::SetTPLXDescriptionJSON(const std::u16string& folderPath) const {
  return AddItem(std::string(kDescriptionMember), zorvcore::Dir(folderPath), true);
}

bool CapsuleZip::GetTPLXThumbnailPNG(const std::u16string& destinationPath) const {
  return ExtractThumbnail(kStillThumbExtension, kThumbFileName, destinationPath);
}

bool CapsuleZip::GetTPLXThumbnailVideo(const std::u16string& destinationPath) const {
  return ExtractThumbnail(kVideoThumbExtension, kVideoThumbFileName, destinationPath);
}

bool CapsuleZip::ExtractThumbnail(const char* extension, const std::u16string& plainName,
                                  const std::u16string& destinationPath) const {
  auto block = UnzipItem(LocalizedMemberName(kThumbStem, AppLanguage(), extension));
  if (!HasBytes(block)) block = UnzipItem(zorvcore::UTF16ToUTF8(plainName));
  if (!HasBytes(block)) return false;
  WriteWhole(destinationPath, *block);
  return true;
}

bool CapsuleZip::CacheTPLXThumbnailPNG(const std::u16string& cachePath) const {
  return CacheThumbnail(kStillThumbExtension, kThumbFileName, cachePath);
}

bool CapsuleZip::CacheTPLXThumbnailVideo(const std::u16string& cachePath) const {
  return CacheThumbnail(kVideoThumbExtension, kVideoThumbFileName, cachePath);
}

bool CapsuleZip::CacheThumbnail(const char* extension, const std::u16string& plainName,
                                const std::u16string& cachePath) const {
  std::optional<uint64_t> size = ItemSize(LocalizedMemberName(kThumbStem, AppLanguage(), extension));
  if (!size || *size == 0) size = ItemSize(zorvcore::UTF16ToUTF8(plainName));
  if (!size || *size == 0) return false;
  if (static_cast<uint64_t>(zorvcore::File(cachePath).Size()) == *size) return true;
  return ExtractThumbnail(extension, plainName, cachePath);
}

bool CapsuleZip::GetTPLXProjectPackage(const std::u16string& baseFolder,
                                       const std::u16string& subfolderName,
                                       const std::u16string& targetName,
                                       std::u16string& outputFolder) const {
  if (!IsSingleFolderName(targetName)) return false;
  if (!subfolderName.empty() && !IsSingleFolderName(subfolderName)) return false;
  const zorvcore::Dir base(baseFolder);
  const zorvcore::Dir parent = subfolderName.empty() ? base : zorvcore::Dir(base, subfolderName);
  const std::u16string prefix = zorvcore::FileUtils::AddTrailingSlash(parent.FullPath()) + targetName;
  const std::string lang = AppLanguage();

  const std::u16string tsTarget = prefix + zorvcore::UTF8ToUTF16(kTsProjectExtension);
  if (ExtractProjectTry(LocalizedMemberName(kProjectStem, lang, kTsProjectExtension), tsTarget, outputFolder) ||
      ExtractProjectTry(zorvcore::UTF16ToUTF8(kTsProjectFileName), tsTarget, outputFolder)) {
    return true;
  }
  const std::u16string qzTarget = prefix + zorvcore::UTF8ToUTF16(kQzProjectExtension);
  return ExtractProjectTry(LocalizedMemberName(kProjectStem, lang, kQzProjectExtension), qzTarget, outputFolder) ||
         ExtractProjectTry(zorvcore::UTF16ToUTF8(kQzProjectFileName), qzTarget, outputFolder);
}

bool CapsuleZip::ExtractProjectTry(const std::string& memberName, const std::u16string& target,
                                   std::u16string& outputFolder) const {
  const zorvcore::Dir folder(target);
  if (!UnzipItems(memberName, folder)) return false;
  outputFolder = folder.FullPath();
  return true;
}

std::optional<std::vector<std::u16string>> CapsuleZip::GetPathOfUnZippedProject(
    const char* extension, const std::u16string& folderPath) {
  if (extension == nullptr) return std::nullopt;
  std::vector<std::u16string> found;
  try {
    const boost::regex pattern(std::string(".*.(") + extension + ")$",
                               boost::regex::perl | boost::regex::icase);
    found = FindFilesMatchingRegex(folderPath, pattern);
  } catch (const std::exception&) {
    return std::nullopt;  // not a valid expression
  }
  if (found.empty()) return std::nullopt;
  return found;
}

std::vector<std::u16string> CapsuleZip::FindFilesMatchingRegex(const std::u16string& folderPath,
                                                               const boost::regex& pattern) {
  std::vector<std::u16string> found;
  std::set<FolderIdentity> visited;
  WalkFolder(zorvcore::FileHelperUtils::UTF16ToBoostPath(folderPath), pattern, visited, found);
  return found;
}

}  // namespace zorvcapsule
