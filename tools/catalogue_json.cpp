#include "tools/catalogue_json.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "host/core/json_value.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;

json::JSONValuePtr StringArray(const std::vector<std::string>& texts) {
  json::JSONArray array;
  array.reserve(texts.size());
  for (const auto& text : texts) array.push_back(json::MakeJSONString(text));
  return json::MakeJSONArray(std::move(array));
}

json::JSONValuePtr StringArray(const std::vector<std::u16string>& texts) {
  std::vector<std::string> utf8;
  for (const auto& text : texts) utf8.push_back(zorvcore::UTF16ToUTF8(text));
  return StringArray(utf8);
}

json::JSONValuePtr SortedArray(const std::set<std::u16string>& texts) {
  std::vector<std::string> utf8;
  for (const auto& text : texts) utf8.push_back(zorvcore::UTF16ToUTF8(text));
  std::sort(utf8.begin(), utf8.end());
  return StringArray(utf8);
}

// The manager's filter list: each source with its selectable libraries or folders.
json::JSONValuePtr FiltersJSON(const std::vector<zorvcapsule::IGraphicSource::GraphicFilterID>& filters) {
  json::JSONArray array;
  for (const auto& filter : filters) {
    json::JSONArray items;
    for (const auto& item : filter.items) {
      json::JSONObject object;
      json::AddToObject(object, "name", json::MakeJSONString(std::u16string_view(item.name)));
      json::AddToObject(object, "id", json::MakeJSONString(item.id));
      json::AddToObject(object, "available", json::MakeJSONBool(item.available));
      items.push_back(json::MakeJSONObject(std::move(object)));
    }
    json::JSONObject object;
    json::AddToObject(object, "name", json::MakeJSONString(std::u16string_view(filter.name)));
    json::AddToObject(object, "sourceID", json::MakeJSONString(filter.sourceID));
    json::AddToObject(object, "items", json::MakeJSONArray(std::move(items)));
    array.push_back(json::MakeJSONObject(std::move(object)));
  }
  return json::MakeJSONArray(std::move(array));
}

}  // namespace

json::JSONValuePtr CatalogueEntryJSON(const zorvcapsule::CapsuleEntry& entry) {
  json::JSONObject object;
  json::AddToObject(object, "name", json::MakeJSONString(std::u16string_view(entry.name)));
  json::AddToObject(object, "path", json::MakeJSONString(std::u16string_view(entry.path)));
  json::AddToObject(object, "ids", StringArray(entry.ids));
  json::AddToObject(object, "sourceID", json::MakeJSONString(entry.GetSourceID()));
  json::AddToObject(object, "libraryID", json::MakeJSONString(entry.GetLibraryID()));
  json::AddToObject(object, "capsuleID", json::MakeJSONString(std::u16string_view(entry.capsuleID)));
  json::AddToObject(object, "description", json::MakeJSONString(std::u16string_view(entry.description)));
  json::AddToObject(object, "authorApp", json::MakeJSONString(std::u16string_view(entry.authorApp)));
  json::AddToObject(object, "requiresQuazel", json::MakeJSONBool(entry.requiresQuazel));
  json::AddToObject(object, "state", json::MakeJSONInt64(entry.state));
  json::AddToObject(object, "fileSize", json::MakeJSONUInt64(entry.fileSize));
  json::AddToObject(object, "frameWidth", json::MakeJSONInt64(entry.frameWidth));
  json::AddToObject(object, "frameHeight", json::MakeJSONInt64(entry.frameHeight));
  json::AddToObject(object, "durationMs", json::MakeJSONInt64(entry.durationMs));
  json::AddToObject(object, "tags", StringArray(entry.tags));
  json::AddToObject(object, "usedFonts", StringArray(entry.usedFonts));
  json::AddToObject(object, "videoPreviewPath", json::MakeJSONString(std::u16string_view(entry.videoPreviewPath)));
  const std::string modified = ISO8601Text(entry.modifiedTime);
  json::AddToObject(object, "modifiedTime", modified.empty() ? json::MakeJSONNull() : json::MakeJSONString(modified));
  return json::MakeJSONObject(std::move(object));
}

std::string ISO8601Text(const boost::posix_time::ptime& time) {
  if (time.is_special()) return std::string();
  const auto date = time.date();
  const auto clock = time.time_of_day();
  char text[80];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02dT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<int>(date.month()), static_cast<int>(date.day()), static_cast<int>(clock.hours()),
                static_cast<int>(clock.minutes()), static_cast<int>(clock.seconds()));
  return text;
}

std::string CatalogueJSON(const CatalogueResult& result, bool withThumbnails) {
  json::JSONArray entries;
  entries.reserve(result.entries.size());
  for (size_t i = 0; i < result.entries.size(); ++i) {
    json::JSONValuePtr entry = CatalogueEntryJSON(*result.entries[i]);
    if (withThumbnails) {
      const std::u16string path = i < result.thumbnailPaths.size() ? result.thumbnailPaths[i] : std::u16string();
      json::AddToObject(entry, "thumbnailPath", json::MakeJSONString(std::u16string_view(path)));
    }
    entries.push_back(std::move(entry));
  }
  json::JSONObject root;
  json::AddToObject(root, "total", json::MakeJSONInt64(result.total));
  json::AddToObject(root, "entries", json::MakeJSONArray(std::move(entries)));
  json::AddToObject(root, "matches", SortedArray(result.matches));
  json::AddToObject(root, "similar", SortedArray(result.similarTags));
  json::AddToObject(root, "filters", FiltersJSON(result.filters));
  json::AddToObject(root, "directories", SortedArray(result.directories));
  return json::GetJSONUTF8String(json::JSONValue(std::move(root)), true);
}

}  // namespace capsuletool
