#include "tools/catalogue_failure.h"

#include <vector>

#include "host/core/dir.h"
#include "host/core/file.h"
#include "host/core/recursive_file_iterator.h"
#include "host/core/unicode.h"
#include "package/capsule_zip.h"
#include "tools/package_description.h"

namespace capsuletool {
namespace {

constexpr std::u16string_view kPackageExtension = u".tplx";

bool IsPackage(const zorvcore::File& file) { return file.GetExtension(true) == kPackageExtension; }

// The packages in the order the local source lists them: the templates folder's whole tree, then
// each added folder's own files.
std::vector<std::u16string> PackagesInListingOrder(const CatalogueRequest& request) {
  std::vector<std::u16string> packages;
  for (const zorvcore::File& file : zorvcore::RecursiveFileIterator(zorvcore::Dir(request.templatesFolder))) {
    if (IsPackage(file)) packages.push_back(file.FullPath());
  }
  for (const auto& folder : request.folders) {
    for (const zorvcore::File& file : zorvcore::Dir(folder.second).Files()) {
      if (IsPackage(file)) packages.push_back(file.FullPath());
    }
  }
  return packages;
}

}  // namespace

std::optional<FailingPackage> FindFailingPackage(const CatalogueRequest& request,
                                                 const std::set<std::u16string>& listed) {
  for (const std::u16string& path : PackagesInListingOrder(request)) {
    if (listed.count(path)) continue;
    const zorvcapsule::CapsuleZip package(path, std::string());
    const std::string text = zorvcore::UTF16ToUTF8(package.GetTPLXDescriptionJSON());
    std::shared_ptr<zorvcapsule::Capsule> capsule;
    // A refused description is skipped by the source; only one the reader throws on fails it.
    if (const zorvcore::Status status = ReadDescription(text, &capsule); status.IsCorruption()) {
      return FailingPackage{path, status};
    }
  }
  return std::nullopt;
}

}  // namespace capsuletool
