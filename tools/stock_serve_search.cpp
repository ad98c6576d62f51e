#include "tools/stock_serve_search.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/core/json_value.h"
#include "host/core/status.h"
#include "host/core/unicode.h"
#include "tools/html_text.h"
#include "tools/stock_serve_members.h"
#include "tools/stock_serve_reply.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;
using zorvcapsule::CapsuleEntry;
using zorvcore::Status;

constexpr int64_t kDefaultLimit = 100;
constexpr int64_t kMaxLimit = 1000;

struct SearchQuery {
  std::vector<std::u16string> words;
  int32_t offset = 0;
  int32_t limit = 0;
  std::string premium;
  std::set<std::string> sources;  // empty: any
  std::string locale;
  std::set<std::string> columns;  // empty: all
};

struct Thumbnail {
  std::string url;
  int32_t width = 0;
  int32_t height = 0;
};

// One template of the answer, with what its columns are made of.
struct Hit {
  int32_t id;
  const CapsuleEntry& entry;
  const ServedStock& stock;
  const std::string& locale;
  Thumbnail thumbnail;
};

std::optional<int32_t> ParseCount(const httplib::Request& req, const char* key, int64_t fallback, int64_t max) {
  if (!req.has_param(key)) return static_cast<int32_t>(fallback);
  const std::string text = req.get_param_value(key);
  int64_t value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > max) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::vector<std::u16string> SplitWords(const std::string& text) {
  std::vector<std::u16string> words;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t space = std::min(text.find(' ', start), text.size());
    if (space > start) words.push_back(zorvcore::UTF8ToUTF16(text.substr(start, space - start)));
    start = space + 1;
  }
  return words;
}

std::set<std::string> AllValues(const httplib::Request& req, const char* key) {
  std::set<std::string> values;
  for (size_t i = 0; i < req.get_param_value_count(key); ++i) values.insert(req.get_param_value(key, i));
  return values;
}

// Fills `query` from the request; InvalidArgument for a value out of range.
Status ParseQuery(const httplib::Request& req, SearchQuery& query) {
  const auto offset = ParseCount(req, "search_parameters[offset]", 0, INT32_MAX);
  const auto limit = ParseCount(req, "search_parameters[limit]", kDefaultLimit, kMaxLimit);
  if (!offset || !limit) {
    return Status::InvalidArgument("offset must be 0 or more and limit 0 to " + std::to_string(kMaxLimit));
  }
  query.offset = *offset;
  query.limit = *limit;
  query.premium = req.has_param("search_parameters[filters][premium]")
                      ? req.get_param_value("search_parameters[filters][premium]")
                      : "all";
  if (query.premium != "all" && query.premium != "true" && query.premium != "false") {
    return Status::InvalidArgument("the premium filter must be all, true or false");
  }
  query.words = SplitWords(req.get_param_value("search_parameters[words]"));
  query.sources = AllValues(req, "search_parameters[filters][tplx_source][]");
  query.locale = SafeLocale(req.get_param_value("locale"));
  query.columns = AllValues(req, "result_columns[]");
  return Status::OK();
}

bool PassesFilters(const SearchQuery& query, const CapsuleEntry& entry) {
  // Every served template is free, so premium templates are none.
  if (query.premium == "true") return false;
  if (query.sources.empty()) return true;
  const bool compositing = entry.GetCreatorApp() == CapsuleEntry::kQuazel;
  return query.sources.count(compositing ? "qzgraphic" : "tsgraphic") > 0;
}

Thumbnail ThumbnailOf(const Hit& hit) {
  Thumbnail thumbnail;
  const auto png = ReadServedMember(hit.entry.path, ServedMember::kStillThumbnail, hit.locale);
  if (!png) return thumbnail;
  thumbnail.url = hit.stock.addresses.MemberURL(hit.id, ServedMemberName(ServedMember::kStillThumbnail), hit.locale);
  if (const auto size = PngSize(*png)) std::tie(thumbnail.width, thumbnail.height) = *size;
  return thumbnail;
}

json::JSONValuePtr ThumbnailTag(const Hit& hit) {
  if (hit.thumbnail.url.empty()) return json::MakeJSONString("");
  return json::MakeJSONString("<img src=\"" + HtmlEscaped(hit.thumbnail.url) + "\" alt=\"" +
                              HtmlEscaped(zorvcore::UTF16ToUTF8(hit.entry.name)) + "\" width=\"" +
                              std::to_string(hit.thumbnail.width) + "\" height=\"" +
                              std::to_string(hit.thumbnail.height) + "\">");
}

json::JSONValuePtr Keywords(const Hit& hit) {
  json::JSONArray keywords;
  for (const auto& tag : hit.entry.tags) {
    json::JSONObject keyword;
    json::AddToObject(keyword, "name", json::MakeJSONString(std::u16string_view(tag)));
    keywords.push_back(json::MakeJSONObject(std::move(keyword)));
  }
  return json::MakeJSONArray(std::move(keywords));
}

json::JSONValuePtr PreviewURL(const Hit& hit) {
  // The listing extracted the video thumbnail when the package has one.
  if (hit.entry.videoPreviewPath.empty()) return json::MakeJSONString("");
  return json::MakeJSONString(
      hit.stock.addresses.MemberURL(hit.id, ServedMemberName(ServedMember::kVideoThumbnail), hit.locale));
}

json::JSONValuePtr DescriptionURL(const Hit& hit) {
  // state 2: the listing read the package's description.
  if (hit.entry.state != 2) return json::MakeJSONString("");
  return json::MakeJSONString(hit.stock.addresses.MemberURL(hit.id, ServedMemberName(ServedMember::kDescription), ""));
}

struct Column {
  const char* name;
  json::JSONValuePtr (*value)(const Hit&);
  bool needsThumbnail;
};

const Column kFileColumns[] = {
    {"id", [](const Hit& hit) { return json::MakeJSONInt64(hit.id); }, false},
    {"title", [](const Hit& hit) { return json::MakeJSONString(std::u16string_view(hit.entry.name)); }, false},
    {"description", [](const Hit& hit) { return json::MakeJSONString(std::u16string_view(hit.entry.description)); },
     false},
    {"creator_name", [](const Hit& hit) { return json::MakeJSONString(std::u16string_view(hit.entry.creator)); },
     false},
    {"keywords", Keywords, false},
    {"width", [](const Hit& hit) { return json::MakeJSONInt64(hit.entry.frameWidth); }, false},
    {"height", [](const Hit& hit) { return json::MakeJSONInt64(hit.entry.frameHeight); }, false},
    {"thumbnail_url", [](const Hit& hit) { return json::MakeJSONString(hit.thumbnail.url); }, true},
    {"thumbnail_html_tag", ThumbnailTag, true},
    {"thumbnail_width", [](const Hit& hit) { return json::MakeJSONInt64(hit.thumbnail.width); }, true},
    {"thumbnail_height", [](const Hit& hit) { return json::MakeJSONInt64(hit.thumbnail.height); }, true},
    {"video_preview_url", PreviewURL, false},
    {"premium_level_id", [](const Hit&) { return json::MakeJSONInt64(0); }, false},
    {"size_bytes", [](const Hit& hit) { return json::MakeJSONInt64(static_cast<int64_t>(hit.entry.fileSize)); },
     false},
    {"tplx_metadata_url", DescriptionURL, false},
    {"is_licensed",
     [](const Hit& hit) { return json::MakeJSONString(hit.stock.licences.IsLicensed(hit.id) ? "Standard" : ""); },
     false},
};

bool Wanted(const SearchQuery& query, const char* column) {
  return query.columns.empty() || query.columns.count(column) > 0;
}

json::JSONValuePtr FileJSON(const ServedStock& stock, const SearchQuery& query, int32_t id) {
  Hit hit{id, *stock.catalogue.Find(id), stock, query.locale, {}};
  const bool needsThumbnail = std::any_of(std::begin(kFileColumns), std::end(kFileColumns), [&](const Column& column) {
    return column.needsThumbnail && Wanted(query, column.name);
  });
  if (needsThumbnail) hit.thumbnail = ThumbnailOf(hit);
  json::JSONObject file;
  for (const Column& column : kFileColumns) {
    if (Wanted(query, column.name)) json::AddToObject(file, column.name, column.value(hit));
  }
  return json::MakeJSONObject(std::move(file));
}

}  // namespace

void HandleFileSearch(ServedStock& stock, const httplib::Request& req, httplib::Response& res) {
  SearchQuery query;
  if (const Status parsed = ParseQuery(req, query); !parsed.ok()) {
    SetErrorReply(res, 400, "invalid_parameter", parsed.message());
    return;
  }
  std::vector<int32_t> ids;
  for (const int32_t id : stock.catalogue.Match(query.words)) {
    if (PassesFilters(query, *stock.catalogue.Find(id))) ids.push_back(id);
  }
  json::JSONArray files;
  const size_t first = std::min(ids.size(), static_cast<size_t>(query.offset));
  const size_t last = std::min(ids.size(), first + static_cast<size_t>(query.limit));
  for (size_t i = first; i < last; ++i) files.push_back(FileJSON(stock, query, ids[i]));
  json::JSONObject reply;
  if (Wanted(query, "nb_results")) json::AddToObject(reply, "nb_results", json::MakeJSONInt64(static_cast<int64_t>(ids.size())));
  json::AddToObject(reply, "files", json::MakeJSONArray(std::move(files)));
  SetJSONReply(res, json::MakeJSONObject(std::move(reply)));
}

}  // namespace capsuletool
