#include "samples/template_package_writer.h"

#include <zip.h>

#include <filesystem>
#include <system_error>

#include "capsule/capsule_json.h"
#include "host/core/unicode.h"
#include "package/package_names.h"

namespace zorvsamples {
namespace {

// 2024-01-01 00:00:00 UTC: members carry a fixed time so equal parts give equal bytes.
constexpr time_t kMemberTime = 1704067200;

WriteResult Failure(const std::string& path, const std::string& what) { return {false, path + ": " + what}; }

std::string ArchiveError(zip_t* archive) {
  const char* text = zip_strerror(archive);
  return text != nullptr ? text : "unknown zip error";
}

// Adds one member; false with `error` set when libzip refuses it.
bool AddMember(zip_t* archive, const PackageMember& member, std::string& error) {
  const bool isFolder = !member.name.empty() && member.name.back() == '/';
  zip_int64_t index = -1;
  if (isFolder) {
    index = zip_dir_add(archive, member.name.c_str(), ZIP_FL_ENC_UTF_8);
  } else {
    // libzip reads the bytes at zip_close, which happens before `members` goes away.
    zip_source_t* source = zip_source_buffer(archive, member.bytes.data(), member.bytes.size(), 0);
    if (source == nullptr) {
      error = ArchiveError(archive);
      return false;
    }
    index = zip_file_add(archive, member.name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) zip_source_free(source);
  }
  if (index < 0 || zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), kMemberTime, 0) != 0) {
    error = "cannot add member " + member.name + ": " + ArchiveError(archive);
    return false;
  }
  return true;
}

}  // namespace

WriteResult WritePackageMembers(const std::u16string& packagePath, const std::vector<PackageMember>& members) {
  const std::string path = zorvcore::UTF16ToUTF8(packagePath);
  const std::filesystem::path target(path);
  std::error_code fsError;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), fsError);
  if (fsError) return Failure(path, "cannot make its folder: " + fsError.message());

  int openError = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &openError);
  if (archive == nullptr) {
    zip_error_t error;
    zip_error_init_with_code(&error, openError);
    WriteResult result = Failure(path, std::string("cannot create the package: ") + zip_error_strerror(&error));
    zip_error_fini(&error);
    return result;
  }
  std::string error;
  for (const PackageMember& member : members) {
    if (!AddMember(archive, member, error)) {
      zip_discard(archive);
      return Failure(path, error);
    }
  }
  if (zip_close(archive) != 0) {
    error = ArchiveError(archive);
    zip_discard(archive);
    return Failure(path, "cannot write the package: " + error);
  }
  return {true, std::string()};
}

WriteResult WriteTemplatePackage(const std::u16string& packagePath, const std::shared_ptr<zorvcapsule::Capsule>& capsule,
                                 const std::vector<PackageMember>& members) {
  std::vector<PackageMember> all;
  all.reserve(members.size() + 1);
  all.push_back({std::string(zorvcapsule::kDescriptionMember), zorvcapsule::serialization::CapsuleToJson(capsule)});
  all.insert(all.end(), members.begin(), members.end());
  return WritePackageMembers(packagePath, all);
}

}  // namespace zorvsamples

