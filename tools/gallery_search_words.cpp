#include "tools/gallery_search_words.h"

#include <algorithm>

#include "catalogue/source_ids.h"
#include "host/core/dir.h"

namespace capsuletool {

GallerySearchWords::GallerySearchWords(const std::u16string& templatesFolder) : templates_(templatesFolder) {
  // An empty in-memory database is enough to reach the tokenizer the index files are made with.
  if (connection_.Open(":memory:").ok()) tokenizer_.Attach(connection_.handle());
}

std::vector<FoldedValue> GallerySearchWords::ValuesOf(const zorvcapsule::CapsuleEntry& entry) {
  std::vector<std::u16string> values = entry.tags;
  values.push_back(entry.name);
  const bool local = std::find(entry.ids.begin(), entry.ids.end(), zorvcapsule::kLocalSourceID) != entry.ids.end();
  if (local) {
    const auto& folders = FolderNamesOf(entry.path);
    values.insert(values.end(), folders.begin(), folders.end());
  }
  std::vector<FoldedValue> folded;
  for (const auto& value : values) {
    FoldedValue words = Fold(value);
    if (!words.empty() && std::find(folded.begin(), folded.end(), words) == folded.end()) {
      folded.push_back(std::move(words));
    }
  }
  return folded;
}

const std::vector<std::u16string>& GallerySearchWords::FolderNamesOf(const std::u16string& packagePath) {
  const zorvcore::Dir folder = zorvcore::File(packagePath).Parent();
  auto found = folderNames_.find(folder.FullPath());
  if (found == folderNames_.end()) {
    found = folderNames_.emplace(folder.FullPath(), zorvcore::FolderNamesBetween(folder, templates_)).first;
  }
  return found->second;
}

}  // namespace capsuletool
