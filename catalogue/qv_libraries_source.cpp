#include "catalogue/qv_libraries_source.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

#include "capsule/capsule.h"
#include "capsule/capsule_json.h"
#include "capsule/ui_string.h"
#include "catalogue/qv_libraries_wrapper.h"
#include "catalogue/search_index.h"
#include "catalogue/source_ids.h"
#include "host/core/dir.h"
#include "host/core/file.h"
#include "host/core/file_utils.h"
#include "host/core/locale.h"
#include "host/core/localizer.h"
#include "host/core/unicode.h"
#include "host/qvlib/regular_file_reader.h"

namespace zorvcapsule {
namespace {

namespace wrapper = IQvLibrariesWrapper;

constexpr const char16_t* kSourceName = u"$$$/GraphicSource/local/QvLibraries=Qv Libraries";
constexpr std::u16string_view kQuazelAuthorApp = u"qzfx";

// A description is a few kilobytes; this only keeps a stray huge file from being read into memory.
constexpr size_t kMaxDescriptionBytes = 64 * 1024 * 1024;

std::u16string Wide(const std::string& narrow) { return zorvcore::StdToUTF16String(narrow); }

// The element's description, when its file can be read and parsed; a description the reader
// refuses with an error counts as unreadable, so one bad element never ends the listing.
std::shared_ptr<Capsule> ReadDescription(const std::u16string& path) {
  if (path.empty()) return nullptr;
  const std::optional<std::string> text =
      zorvqvlib::ReadRegularFile(zorvcore::UTF16toStdString(path), kMaxDescriptionBytes);
  if (!text || text->empty()) return nullptr;
  try {
    return serialization::CapsuleWithoutControlsFromJson(*text);  // the entry needs no controls
  } catch (const std::exception&) {
    return nullptr;
  }
}

void FillFromCapsule(CapsuleEntry& entry, const Capsule& capsule) {
  entry.capsuleID = capsule.GetCapsuleID();
  const std::u16string name = capsule.GetDisplayName();
  if (!name.empty()) entry.name = name;
  entry.state = 2;
  const std::vector<std::u16string> fonts = zorvcore::StdToUTF16Strings(capsule.GetUsedFonts());
  entry.usedFonts.insert(entry.usedFonts.end(), fonts.begin(), fonts.end());
  const std::vector<std::u16string> tags = zorvcore::StdToUTF16Strings(capsule.GetTags());
  entry.tags.insert(entry.tags.end(), tags.begin(), tags.end());
  entry.authorApp = capsule.GetAuthorApp();
  if (entry.authorApp == kQuazelAuthorApp) entry.requiresQuazel = !capsule.CanUseQZLib(nullptr);
  const zorvcore::File package(entry.path);
  if (package.Exists()) entry.modifiedTime = package.Modified().ToPtime();
}

}  // namespace

QvLibrariesSource::QvLibrariesSource() = default;

QvLibrariesSource::~QvLibrariesSource() = default;

void QvLibrariesSource::Initialize() { wrapper::InitializeQvLibraries(); }

void QvLibrariesSource::Terminate() { wrapper::ClearQvLibraries(); }

std::string QvLibrariesSource::GetSourceID() { return kQvLibrariesSourceID; }

void QvLibrariesSource::SearchDB(const std::vector<std::u16string>& words, std::set<std::u16string>& keys) {
  QueryRapidFindDB(words, keys);
}

void QvLibrariesSource::Search(const std::vector<std::u16string>& words, std::vector<CapsuleEntryPtr>& results,
                               int, int, int& total, const CheckCancelPtr&) {
  zorvcore::RecursiveMutexLock lock(mutex, "zorvcapsule::QvLibrariesSource::Search");
  if (words.empty()) {
    std::vector<std::string> libraryIDs;
    wrapper::GetLibraryList(libraryIDs);
    for (const std::string& libraryID : libraryIDs) AppendLibrary(libraryID, results);
  }
  total = static_cast<int>(results.size());
}

void QvLibrariesSource::AppendLibrary(const std::string& libraryID, std::vector<CapsuleEntryPtr>& results) {
  wrapper::ClearLibraryData(libraryID);
  std::vector<std::string> elementIDs;
  wrapper::GetCapsuleElementIDs(libraryID, elementIDs);
  for (const std::string& elementID : elementIDs) {
    const std::string path = wrapper::GetCapsulePath(libraryID, elementID);
    if (path.empty()) continue;
    auto entry = std::make_shared<CapsuleEntry>();
    entry->ids = {GetSourceID(), libraryID};
    entry->path = Wide(path);
    entry->elementID = elementID;
    entry->name = Wide(wrapper::GetElementName(libraryID, elementID, nullptr));
    entry->descriptionPath = Wide(wrapper::GetCapsuleSchemaPath(libraryID, elementID));
    entry->thumbnailPath = Wide(wrapper::GetCapsuleThumbnailPath(libraryID, elementID));
    entry->videoPreviewPath = Wide(wrapper::GetCapsuleVideoThumbnailPath(libraryID, elementID));
    if (const auto capsule = ReadDescription(entry->descriptionPath)) FillFromCapsule(*entry, *capsule);
    results.push_back(std::move(entry));
  }
}

void QvLibrariesSource::GetFilter(GraphicFilterID& filter) {
  filter.name = zorvcore::Localizer::Localize(kSourceName);
  filter.sourceID = GetSourceID();
  filter.items.clear();
  std::vector<std::string> libraryIDs;
  wrapper::GetLibraryList(libraryIDs);
  for (const std::string& libraryID : libraryIDs) {
    filter.items.push_back({Wide(wrapper::GetLibraryNameFromLibraryID(libraryID)), libraryID, true});
  }
  std::sort(filter.items.begin(), filter.items.end(), GraphicFilterItemLess);
}

void QvLibrariesSource::GetDirectories(std::set<std::u16string>& folders) {
  std::vector<std::string> libraryIDs;
  wrapper::GetLibraryList(libraryIDs);
  for (const std::string& libraryID : libraryIDs) {
    const std::u16string path = zorvcore::FileUtils::RemoveTrailingSlash(Wide(wrapper::GetLibraryDiskPath(libraryID)));
    const zorvcore::Dir folder(path);
    if (path.empty() || !folder.Exists()) continue;
    folders.insert(folder.FullPath());
    if (!folder.IsTopLevelDir()) folders.insert(folder.Parent().FullPath());
  }
}

std::u16string QvLibrariesSource::GetThumbnailPath(const CapsuleEntryPtr& entry, const CheckCancelPtr&) {
  return entry ? entry->thumbnailPath : std::u16string();
}

}  // namespace zorvcapsule
