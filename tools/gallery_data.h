// The data of a gallery: the catalogue's entries as `capsule catalogue --json` writes them, with
// what the page shows besides and the words it searches.
//
//   {"title": T, "total": N, "folders": [...], "entries": [...]}
//
// Each entry holds the catalogue's members, except that thumbnailPath and videoPreviewPath are
// paths relative to the gallery's folder ("" when the template has none), and adds:
//   folder    the folder label `capsule catalogue` shows
//   names     the localized names, by locale
//   controls  [{"id", "name", "kind", "value", "hidden"}], the value as `capsule info` words it
//   words     the indexed values, each as its folded words (see tools/gallery_search_words.h)
// "folders" lists the entries' folder labels once each, sorted.
//
// The page loads the same data as two scripts, so that it shows its cards before the details are
// read: catalogue.js sets window.capsuleCatalogue to the object above with each entry cut down to
// what the cards and the search need, and catalogue-details.js sets window.capsuleCatalogueDetails
// to the list of the entries' other members, in the same order.
//
// Thread safety: pure functions; use from any thread.

#ifndef ZORVCAPSULE_TOOLS_GALLERY_DATA_H_
#define ZORVCAPSULE_TOOLS_GALLERY_DATA_H_

#include <memory>
#include <string>
#include <vector>

#include "capsule/capsule.h"
#include "catalogue/capsule_entry.h"
#include "host/core/json_value.h"
#include "tools/gallery_search_words.h"

namespace capsuletool {

struct GalleryItem {
  zorvcapsule::CapsuleEntryPtr entry;
  std::string thumbnail;  // relative to the gallery's folder; empty when none
  std::string preview;    // the same for the video preview
  std::string folder;
  std::shared_ptr<zorvcapsule::Capsule> capsule;  // the description; empty when unreadable
  std::vector<FoldedValue> words;
};

zorvcore::serialization::JSONValuePtr GalleryDataJSON(const std::string& title, const std::vector<GalleryItem>& items);

struct GalleryScripts {
  std::string cards;    // catalogue.js
  std::string details;  // catalogue-details.js
};

// The two scripts holding `data`, a result of GalleryDataJSON.
GalleryScripts GalleryDataScripts(const zorvcore::serialization::JSONValuePtr& data);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_GALLERY_DATA_H_
