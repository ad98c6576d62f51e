#include "tools/stock_search_output.h"

#include <memory>
#include <vector>

#include "host/core/json_value.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"
#include "stock/stock_capsule_entry.h"
#include "tools/catalogue_json.h"
#include "tools/display_text.h"
#include "tools/text_table.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;
using zorvcapsule::StockCapsuleEntry;

constexpr size_t kMaxNameWidth = 36;
constexpr size_t kMaxCreatorWidth = 20;

const StockCapsuleEntry& AsStock(const zorvcapsule::CapsuleEntry& entry) {
  static const StockCapsuleEntry kNotStock;
  const auto* stock = dynamic_cast<const StockCapsuleEntry*>(&entry);
  return stock != nullptr ? *stock : kNotStock;
}

json::JSONValuePtr StockEntryJSON(const zorvcapsule::CapsuleEntry& entry) {
  json::JSONValuePtr object = CatalogueEntryJSON(entry);
  const StockCapsuleEntry& stock = AsStock(entry);
  json::AddToObject(object, "premiumLevel", json::MakeJSONInt64(stock.premiumLevel));
  json::AddToObject(object, "videoPreviewURL", json::MakeJSONString(std::u16string_view(stock.videoPreviewURL)));
  json::AddToObject(object, "isLicensed", json::MakeJSONBool(stock.isLicensed));
  json::AddToObject(object, "creator", json::MakeJSONString(std::u16string_view(entry.creator)));
  json::AddToObject(object, "descriptionLoaded", json::MakeJSONBool(stock.descriptionLoaded));
  return object;
}

json::JSONValuePtr PageJSON(const StockPage& page, bool withThumbnails) {
  json::JSONArray entries;
  entries.reserve(page.entries.size());
  for (size_t i = 0; i < page.entries.size(); ++i) {
    json::JSONValuePtr entry = StockEntryJSON(*page.entries[i]);
    if (withThumbnails) {
      const std::u16string path = i < page.thumbnailPaths.size() ? page.thumbnailPaths[i] : std::u16string();
      json::AddToObject(entry, "thumbnailPath", json::MakeJSONString(std::u16string_view(path)));
    }
    entries.push_back(std::move(entry));
  }
  json::JSONObject object;
  json::AddToObject(object, "start", json::MakeJSONInt64(page.start));
  json::AddToObject(object, "entries", json::MakeJSONArray(std::move(entries)));
  return json::MakeJSONObject(std::move(object));
}

std::string PathCell(const std::u16string& path) { return path.empty() ? "-" : zorvcore::UTF16ToUTF8(path); }

TableRow RowOf(const zorvcapsule::CapsuleEntry& entry) {
  const StockCapsuleEntry& stock = AsStock(entry);
  return {zorvcore::UTF16ToUTF8(entry.path),
          zorvcore::UTF16ToUTF8(entry.name),
          std::to_string(stock.premiumLevel),
          stock.isLicensed ? "yes" : "no",
          entry.creator.empty() ? "-" : zorvcore::UTF16ToUTF8(entry.creator),
          entry.frameWidth > 0 ? FrameSizeText(entry.frameWidth, entry.frameHeight) : "-",
          entry.fileSize > 0 ? ByteSizeText(entry.fileSize) : "-"};
}

}  // namespace

std::string StockSearchJSON(const StockSearchResult& result, bool withThumbnails) {
  json::JSONArray pages;
  pages.reserve(result.pages.size());
  for (const StockPage& page : result.pages) pages.push_back(PageJSON(page, withThumbnails));
  json::JSONObject root;
  json::AddToObject(root, "total", json::MakeJSONInt64(result.total));
  json::AddToObject(root, "pages", json::MakeJSONArray(std::move(pages)));
  return json::GetJSONUTF8String(json::JSONValue(std::move(root)), true);
}

void WriteStockSearchTable(std::ostream& out, const StockSearchRequest& request, const StockSearchResult& result) {
  std::vector<TableRow> rows{{"ID", "NAME", "PREMIUM", "LICENSED", "CREATOR", "FRAME", "SIZE"}};
  if (request.thumbnails) rows.front().push_back("THUMBNAIL");
  if (request.previews) rows.front().push_back("PREVIEW");
  size_t count = 0;
  for (const StockPage& page : result.pages) {
    for (size_t i = 0; i < page.entries.size(); ++i, ++count) {
      rows.push_back(RowOf(*page.entries[i]));
      if (request.thumbnails) rows.back().push_back(PathCell(i < page.thumbnailPaths.size() ? page.thumbnailPaths[i] : u""));
      if (request.previews) rows.back().push_back(PathCell(page.entries[i]->videoPreviewPath));
    }
  }
  WriteTable(out, rows, {0, kMaxNameWidth, 0, 0, kMaxCreatorWidth});
  out << count << " of " << result.total << (result.total == 1 ? " template" : " templates") << '\n';
}

}  // namespace capsuletool
