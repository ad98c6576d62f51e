#include "stock/search_results.h"

#include "stock/stock_response.h"

namespace zorvcapsule {

using zorvcore::serialization::JSONObject;

void SearchResultsKeyword::ReadFrom(const JSONObject& object) { ReadStockText(object, "name", name); }

void SearchResultFile::ReadFrom(const JSONObject& object) {
  ReadStockInt32(object, "id", id);
  ReadStockText(object, "title", title);
  ReadStockText(object, "description", description);
  ReadStockText(object, "creator_name", creatorName);
  ReadStockRecords(object, "keywords", keywords);
  ReadStockInt32(object, "width", width);
  ReadStockInt32(object, "height", height);
  ReadStockText(object, "thumbnail_url", thumbnailURL);
  ReadStockText(object, "video_preview_url", videoPreviewURL);
  ReadStockInt32(object, "premium_level_id", premiumLevel);
  ReadStockInt32(object, "size_bytes", sizeBytes);
  ReadStockText(object, "tplx_metadata_url", descriptionURL);
  ReadStockText(object, "is_licensed", licensed);
}

void SearchResults::ReadFrom(const JSONObject& object) {
  ReadStockInt32(object, "nb_results", nb_results);
  ReadStockRecords(object, "files", files);
}

}  // namespace zorvcapsule
