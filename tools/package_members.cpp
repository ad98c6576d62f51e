#include "tools/package_members.h"

#include <stdlib.h>

#include <filesystem>
#include <iterator>
#include <string_view>
#include <system_error>

#include "host/core/dir.h"
#include "host/core/file_helper_utils.h"
#include "host/core/locale.h"
#include "host/core/recursive_file_iterator.h"
#include "host/core/unicode.h"
#include "package/package_names.h"

namespace capsuletool {
namespace {

namespace fs = std::filesystem;

// The languages to ask for: the application's first, then the description's.
std::vector<std::string> LanguagesOf(const std::set<std::u16string>& locales) {
  std::vector<std::string> languages{zorvcore::UTF16ToUTF8(zorvcore::Locale::ApplicationLangauge())};
  for (const auto& locale : locales) {
    const std::string language = zorvcore::UTF16ToUTF8(locale);
    if (language != languages.front()) languages.push_back(language);
  }
  return languages;
}

bool HasFileMember(const zorvcapsule::CapsuleZip& package, const std::string& name) {
  const auto bytes = package.UnzipItem(name);
  return bytes && bytes->Size() > 0;
}

// A temporary folder of the process's own, removed with everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "capsule-members-XXXXXX").native();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// "name" for a member, "name/ (folder, N files)" for a folder of members, empty for neither.
std::string DescribeProject(const zorvcapsule::CapsuleZip& package, const std::string& name) {
  if (HasFileMember(package, name)) return name;
  ScratchFolder scratch;
  if (scratch.Path().empty()) return std::string();
  const zorvcore::Dir target(zorvcore::FileHelperUtils::StdPathToUTF16(scratch.Path() / "project"));
  if (!package.UnzipItems(name, target)) return std::string();
  const auto files = static_cast<size_t>(std::distance(zorvcore::RecursiveFileIterator(target), {}));
  return name + "/ (folder, " + std::to_string(files) + (files == 1 ? " file)" : " files)");
}

// The members named `stem` with `extension`: the localized ones in `languages` order, then the plain one.
std::vector<std::string> CandidateNames(const std::vector<std::string>& languages, std::string_view stem,
                                        std::string_view extension) {
  std::vector<std::string> names;
  for (const auto& language : languages) names.push_back(zorvcapsule::LocalizedMemberName(stem, language, extension));
  names.push_back(zorvcapsule::PlainMemberName(stem, extension));
  return names;
}

void AddThumbnails(const zorvcapsule::CapsuleZip& package, const std::vector<std::string>& languages,
                   std::string_view extension, std::vector<std::string>& found) {
  for (const std::string& name : CandidateNames(languages, zorvcapsule::kThumbStem, extension)) {
    if (HasFileMember(package, name)) found.push_back(name);
  }
}

}  // namespace

PackageMembers FindPackageMembers(const zorvcapsule::CapsuleZip& package, const std::set<std::u16string>& locales) {
  const std::vector<std::string> languages = LanguagesOf(locales);
  PackageMembers members;
  AddThumbnails(package, languages, zorvcapsule::kStillThumbExtension, members.stillThumbnails);
  AddThumbnails(package, languages, zorvcapsule::kVideoThumbExtension, members.videoThumbnails);
  for (const std::string_view extension : {zorvcapsule::kTsProjectExtension, zorvcapsule::kQzProjectExtension}) {
    for (const auto& name : CandidateNames(languages, zorvcapsule::kProjectStem, extension)) {
      const std::string described = DescribeProject(package, name);
      if (!described.empty()) members.projects.push_back(described);
    }
  }
  return members;
}

}  // namespace capsuletool
