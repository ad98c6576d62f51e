#include "tools/gallery_command.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "capsule/capsule_json.h"
#include "host/core/file_helper_utils.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"
#include "package/capsule_zip.h"
#include "tools/catalogue_command.h"
#include "tools/catalogue_table.h"
#include "tools/exit_status.h"
#include "tools/gallery_assets.h"
#include "tools/gallery_data.h"
#include "tools/gallery_site.h"
#include "tools/html_text.h"
#include "tools/package_description.h"

namespace capsuletool {
namespace {

namespace fs = std::filesystem;
namespace json = zorvcore::serialization;
using zorvcore::Status;

constexpr const char* kThumbnailFolder = "thumbnails";
constexpr const char* kPreviewFolder = "previews";
constexpr const char* kDataFile = "catalogue.json";
constexpr const char* kDetailsScript = "catalogue-details.js";
constexpr const char* kTitlePlaceholder = "{{title}}";

fs::path PathOf(const std::u16string& path) { return fs::path(zorvcore::UTF16ToUTF8(path)); }

// A file name that stays the same for a template from one run to the next: a hash of its path.
std::string StableName(const std::u16string& entryPath, const fs::path& source) {
  uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
  for (const unsigned char byte : zorvcore::UTF16ToUTF8(entryPath)) {
    hash = (hash ^ byte) * 1099511628211ull;
  }
  char name[17];
  std::snprintf(name, sizeof(name), "%016llx", static_cast<unsigned long long>(hash));
  return name + source.extension().native();
}

bool IsFile(const std::u16string& path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(PathOf(path), error);
}

// The description of the template, from its package or, for sources that keep it beside the
// package, from the description file; empty when neither reads.
std::shared_ptr<zorvcapsule::Capsule> ReadDescription(const zorvcapsule::CapsuleEntry& entry) {
  if (IsFile(entry.path)) {
    const zorvcapsule::CapsuleZip package(entry.path, std::string());
    if (auto capsule = ReadPackageDescription(package).capsule) return capsule;
  }
  if (!IsFile(entry.descriptionPath)) return nullptr;
  std::ifstream stream(PathOf(entry.descriptionPath), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  try {
    return zorvcapsule::serialization::CapsuleFromJson(text);
  } catch (const std::exception&) {
    return nullptr;  // a member of the wrong type: the detail view shows what the entry knows
  }
}

// "file:///home/a%20b/site/index.html"
std::string FileURL(const fs::path& file) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (const unsigned char c : file.native()) {
    if (std::isalnum(c) || std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

struct Placement {
  std::string relative;  // in the site
  fs::path source;
};

// The gallery's items in catalogue order, and the files to copy for them.
std::vector<GalleryItem> MakeItems(const CatalogueRequest& request, const CatalogueResult& result,
                                   GallerySearchWords& searchWords, std::vector<Placement>& copies,
                                   TerminalProgress& progress) {
  // The index keys its rows by path: entries sharing a path are found under all their values.
  std::map<std::u16string, std::vector<FoldedValue>> wordsByPath;
  for (const auto& entry : result.entries) {
    auto& words = wordsByPath[entry->path];
    for (auto& value : searchWords.ValuesOf(*entry)) {
      if (std::find(words.begin(), words.end(), value) == words.end()) words.push_back(std::move(value));
    }
  }
  std::vector<GalleryItem> items;
  items.reserve(result.entries.size());
  for (size_t i = 0; i < result.entries.size(); ++i) {
    const auto& entry = result.entries[i];
    GalleryItem item{entry, {}, {}, FolderLabel(*entry, request), ReadDescription(*entry), wordsByPath[entry->path]};
    const std::u16string thumbnail = i < result.thumbnailPaths.size() ? result.thumbnailPaths[i] : std::u16string();
    if (IsFile(thumbnail)) {
      item.thumbnail = std::string(kThumbnailFolder) + "/" + StableName(entry->path, PathOf(thumbnail));
      copies.push_back({item.thumbnail, PathOf(thumbnail)});
    }
    if (IsFile(entry->videoPreviewPath)) {
      item.preview = std::string(kPreviewFolder) + "/" + StableName(entry->path, PathOf(entry->videoPreviewPath));
      copies.push_back({item.preview, PathOf(entry->videoPreviewPath)});
    }
    items.push_back(std::move(item));
    progress.ShowCount("reading descriptions", items.size(), result.entries.size());
  }
  return items;
}

// Every name the gallery writes at the top of its folder.
std::set<std::string> OwnNames() {
  std::set<std::string> names{kThumbnailFolder, kPreviewFolder, kDataFile, kDetailsScript, GallerySite::kMarkerFile};
  for (const auto& asset : gallery_assets::kAssets) names.insert(asset.name);
  return names;
}

Status CopyMedia(GallerySite& site, const std::vector<Placement>& copies, TerminalProgress& progress) {
  for (size_t i = 0; i < copies.size(); ++i) {
    if (Status copied = site.CopyFile(copies[i].relative, copies[i].source); !copied.ok()) return copied;
    progress.ShowCount("copying thumbnails and previews", i + 1, copies.size());
  }
  progress.Clear();
  return Status::OK();
}

// The page's own files, with the title filled in.
Status WritePage(GallerySite& site, const std::string& title) {
  const std::string placeholder = kTitlePlaceholder, escapedTitle = HtmlEscaped(title);
  for (const auto& asset : gallery_assets::kAssets) {
    std::string content(reinterpret_cast<const char*>(asset.data), asset.size);
    for (size_t at = content.find(placeholder); at != std::string::npos;
         at = content.find(placeholder, at + escapedTitle.size())) {
      content.replace(at, placeholder.size(), escapedTitle);
    }
    if (Status written = site.WriteText(asset.name, content); !written.ok()) return written;
  }
  return Status::OK();
}

Status WriteData(GallerySite& site, const std::string& title, const std::vector<GalleryItem>& items) {
  const json::JSONValuePtr data = GalleryDataJSON(title, items);
  Status status = site.WriteText(kDataFile, json::GetJSONUTF8String(data, true) + "\n");
  const GalleryScripts scripts = GalleryDataScripts(data);
  if (status.ok()) status = site.WriteText(kDetailsScript, scripts.details);
  // Written last: it marks the folder as a gallery once everything else is in place.
  if (status.ok()) status = site.WriteText(GallerySite::kMarkerFile, scripts.cards);
  return status;
}

Status WriteSite(GallerySite& site, const std::string& title, const std::vector<GalleryItem>& items,
                 const std::vector<Placement>& copies, TerminalProgress& progress) {
  Status status = CopyMedia(site, copies, progress);
  if (status.ok()) status = WritePage(site, title);
  if (status.ok()) status = WriteData(site, title, items);
  if (status.ok()) {
    site.RemoveOthers(kThumbnailFolder);
    site.RemoveOthers(kPreviewFolder);
  }
  return status;
}

}  // namespace

int RunGalleryCommand(const GalleryOptions& options, std::ostream& out, std::ostream& err) {
  CatalogueWorkFolder work;
  if (!work.Made()) {
    PrintError(err, "gallery", "cannot make a temporary folder");
    return kExitFailed;
  }
  CatalogueOptions catalogueOptions;
  catalogueOptions.dir = options.dir;
  catalogueOptions.folders = options.folders;
  catalogueOptions.libraries = options.libraries;
  catalogueOptions.thumbnails = true;
  CatalogueRequest request;
  if (const auto status = PrepareCatalogueRequest(catalogueOptions, work, request, err)) return *status;

  std::error_code error;
  const fs::path siteFolder = fs::absolute(fs::path(options.out), error).lexically_normal();
  GallerySite site(siteFolder);
  if (const Status prepared = site.Prepare(OwnNames()); !prepared.ok()) {
    PrintError(err, "gallery", prepared.message());
    return kExitFailed;
  }

  // Declared before the session so that it outlives the manager's threads, which report to it.
  DiagnosticsCollector diagnostics;
  TerminalProgress progress;
  const CatalogueResult result = RunCatalogueSession(request, diagnostics, progress);
  if (ReportCatalogueTrouble(request, result, diagnostics, err)) {
    PrintError(err, "gallery", "the catalogue is incomplete; " + options.out + " is left as it was");
    return kExitFailed;
  }

  GallerySearchWords searchWords(request.templatesFolder);
  if (!searchWords.Ready()) {
    PrintError(err, "gallery", "the search index's word splitting is not available");
    return kExitFailed;
  }
  std::vector<Placement> copies;
  const std::vector<GalleryItem> items = MakeItems(request, result, searchWords, copies, progress);
  const std::string title = options.title.value_or(PathOf(request.templatesFolder).filename().native());
  if (const Status written = WriteSite(site, title, items, copies, progress); !written.ok()) {
    PrintError(err, "gallery", written.message());
    return kExitFailed;
  }
  const GallerySite::Counts& counts = site.counts();
  out << items.size() << (items.size() == 1 ? " template" : " templates") << " in " << siteFolder.native() << ": "
      << counts.written << " files written, " << counts.unchanged << " unchanged, " << counts.removed
      << " removed\n"
      << FileURL(siteFolder / "index.html") << '\n';
  out.flush();
  return out ? kExitSuccess : kExitFailed;
}

}  // namespace capsuletool
