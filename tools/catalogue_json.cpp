#include "tools/catalogue_json.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string_view>
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

namespace {

void WriteStrings(json::JSONStreamWriter& writer, const std::vector<std::u16string>& texts) {
  writer.BeginArray();
  for (const auto& text : texts) writer.String(std::u16string_view(text));
  writer.EndArray();
}

// Sorted by their UTF-8 bytes.
void WriteSorted(json::JSONStreamWriter& writer, const std::set<std::u16string>& texts) {
  std::vector<std::string> utf8;
  utf8.reserve(texts.size());
  for (const auto& text : texts) utf8.push_back(zorvcore::UTF16ToUTF8(text));
  std::sort(utf8.begin(), utf8.end());
  writer.BeginArray();
  for (const auto& text : utf8) writer.String(std::string_view(text));
  writer.EndArray();
}

// The members of CatalogueEntryJSON, in the byte order of their keys.
void WriteEntry(json::JSONStreamWriter& writer, const zorvcapsule::CapsuleEntry& entry,
                const std::u16string* thumbnailPath) {
  writer.BeginObject();
  writer.Key("authorApp");
  writer.String(std::u16string_view(entry.authorApp));
  writer.Key("capsuleID");
  writer.String(std::u16string_view(entry.capsuleID));
  writer.Key("description");
  writer.String(std::u16string_view(entry.description));
  writer.Key("durationMs");
  writer.Int64(entry.durationMs);
  writer.Key("fileSize");
  writer.UInt64(entry.fileSize);
  writer.Key("frameHeight");
  writer.Int64(entry.frameHeight);
  writer.Key("frameWidth");
  writer.Int64(entry.frameWidth);
  writer.Key("ids");
  writer.BeginArray();
  for (const auto& id : entry.ids) writer.String(std::string_view(id));
  writer.EndArray();
  writer.Key("libraryID");
  writer.String(std::string_view(entry.GetLibraryID()));
  writer.Key("modifiedTime");
  const std::string modified = ISO8601Text(entry.modifiedTime);
  if (modified.empty()) {
    writer.Null();
  } else {
    writer.String(std::string_view(modified));
  }
  writer.Key("name");
  writer.String(std::u16string_view(entry.name));
  writer.Key("path");
  writer.String(std::u16string_view(entry.path));
  writer.Key("requiresQuazel");
  writer.Bool(entry.requiresQuazel);
  writer.Key("sourceID");
  writer.String(std::string_view(entry.GetSourceID()));
  writer.Key("state");
  writer.Int64(entry.state);
  writer.Key("tags");
  WriteStrings(writer, entry.tags);
  if (thumbnailPath != nullptr) {
    writer.Key("thumbnailPath");
    writer.String(std::u16string_view(*thumbnailPath));
  }
  writer.Key("usedFonts");
  WriteStrings(writer, entry.usedFonts);
  writer.Key("videoPreviewPath");
  writer.String(std::u16string_view(entry.videoPreviewPath));
  writer.EndObject();
}

void WriteFilters(json::JSONStreamWriter& writer, const std::vector<zorvcapsule::IGraphicSource::GraphicFilterID>& filters) {
  writer.BeginArray();
  for (const auto& filter : filters) {
    writer.BeginObject();
    writer.Key("items");
    writer.BeginArray();
    for (const auto& item : filter.items) {
      writer.BeginObject();
      writer.Key("available");
      writer.Bool(item.available);
      writer.Key("id");
      writer.String(std::string_view(item.id));
      writer.Key("name");
      writer.String(std::u16string_view(item.name));
      writer.EndObject();
    }
    writer.EndArray();
    writer.Key("name");
    writer.String(std::u16string_view(filter.name));
    writer.Key("sourceID");
    writer.String(std::string_view(filter.sourceID));
    writer.EndObject();
  }
  writer.EndArray();
}

}  // namespace

void WriteCatalogueJSON(std::ostream& out, const CatalogueResult& result, bool withThumbnails) {
  // Streamed: the text of ten thousand entries is passed on entry by entry, never held whole.
  json::JSONStreamWriter writer(true);
  writer.BeginObject();
  writer.Key("directories");
  WriteSorted(writer, result.directories);
  writer.Key("entries");
  writer.BeginArray();
  for (size_t i = 0; i < result.entries.size(); ++i) {
    static const std::u16string kNone;
    const std::u16string* thumbnail = nullptr;
    if (withThumbnails) thumbnail = i < result.thumbnailPaths.size() ? &result.thumbnailPaths[i] : &kNone;
    WriteEntry(writer, *result.entries[i], thumbnail);
    out << writer.Take();
  }
  writer.EndArray();
  writer.Key("filters");
  WriteFilters(writer, result.filters);
  writer.Key("matches");
  WriteSorted(writer, result.matches);
  writer.Key("similar");
  WriteSorted(writer, result.similarTags);
  writer.Key("total");
  writer.Int64(result.total);
  writer.EndObject();
  out << writer.Take();
}

}  // namespace capsuletool
