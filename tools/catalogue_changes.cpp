#include "tools/catalogue_changes.h"

#include <system_error>

#include "host/core/file_helper_utils.h"
#include "host/core/json_value.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"
#include "tools/catalogue_table.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;
using Kind = CatalogueDifference::Kind;

std::string Quoted(const std::string& text) { return json::GetJSONUTF8String(json::MakeJSONString(text), false); }

const char* EventName(Kind kind) {
  switch (kind) {
    case Kind::kRemoved:
      return "removed";
    case Kind::kAdded:
      return "added";
    case Kind::kChanged:
      return "changed";
  }
  return "";
}

}  // namespace

CatalogueListing ListingOf(const std::vector<zorvcapsule::CapsuleEntryPtr>& entries, const CatalogueRequest& request) {
  CatalogueListing listing;
  for (const auto& entry : entries) {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(zorvcore::FileHelperUtils::UTF16ToStdPath(entry->path), error);
    listing[zorvcore::UTF16ToUTF8(entry->path)] = {zorvcore::UTF16ToUTF8(entry->name), FolderLabel(*entry, request),
                                                   entry->fileSize,
                                                   error ? std::filesystem::file_time_type() : modified};
  }
  return listing;
}

std::vector<CatalogueDifference> Differences(const CatalogueListing& before, const CatalogueListing& after) {
  std::vector<CatalogueDifference> removed, added, changed;
  for (const auto& [path, entry] : before) {
    if (after.count(path) == 0) removed.push_back({Kind::kRemoved, path, entry});
  }
  for (const auto& [path, entry] : after) {
    const auto old = before.find(path);
    if (old == before.end()) {
      added.push_back({Kind::kAdded, path, entry});
    } else if (old->second.fileSize != entry.fileSize || old->second.modified != entry.modified) {
      changed.push_back({Kind::kChanged, path, entry});
    }
  }
  removed.insert(removed.end(), added.begin(), added.end());
  removed.insert(removed.end(), changed.begin(), changed.end());
  return removed;
}

std::string DifferenceLine(const CatalogueDifference& difference, bool json) {
  if (json) {
    return std::string("{\"event\":\"") + EventName(difference.kind) + "\",\"path\":" + Quoted(difference.path) +
           ",\"name\":" + Quoted(difference.entry.name) + "}";
  }
  switch (difference.kind) {
    case Kind::kAdded:
      return "+ " + difference.entry.name + " (" + difference.entry.folder + ")";
    case Kind::kRemoved:
      return "- " + difference.entry.name;
    case Kind::kChanged:
      return "~ " + difference.entry.name;
  }
  return std::string();
}

std::string ListedLine(size_t count) { return "{\"event\":\"listed\",\"count\":" + std::to_string(count) + "}"; }

}  // namespace capsuletool
