// The reply of the stock service's file search: the number of hits and the hits of one page.
//
// Members are read by name; an absent integer is 0, an absent text empty, an absent list empty.
// Integers are 32-bit, clamped to that range. The reply also carries the columns
// "thumbnail_html_tag", "thumbnail_width" and "thumbnail_height", which the library does not use.
//
// Thread safety: plain records.

#ifndef ZORVCAPSULE_STOCK_SEARCH_RESULTS_H_
#define ZORVCAPSULE_STOCK_SEARCH_RESULTS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "host/core/json_value.h"

namespace zorvcapsule {

// One element of a hit's "keywords".
struct SearchResultsKeyword {
  std::string name;  // "name"

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

// One element of "files".
struct SearchResultFile {
  int32_t id = 0;                              // "id"
  std::string title;                           // "title"
  std::string description;                     // "description"
  std::string creatorName;                     // "creator_name"
  std::vector<SearchResultsKeyword> keywords;  // "keywords"
  int32_t width = 0;                           // "width"
  int32_t height = 0;                          // "height"
  std::string thumbnailURL;                    // "thumbnail_url"
  std::string videoPreviewURL;                 // "video_preview_url"
  int32_t premiumLevel = 0;                    // "premium_level_id"
  int32_t sizeBytes = 0;                       // "size_bytes"
  std::string descriptionURL;                  // "tplx_metadata_url"
  std::string licensed;                        // "is_licensed"

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

struct SearchResults {
  int32_t nb_results = 0;               // "nb_results"
  std::vector<SearchResultFile> files;  // "files"

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_SEARCH_RESULTS_H_
