// `capsule gallery DIR [--folder NAME=PATH]... [--libraries ROOT] --out SITE [--title TEXT]`: the
// catalogue of a folder as a web page.
//
// The catalogue is built exactly as `capsule catalogue` builds it (same sources, same entries), and
// SITE receives a static site that needs nothing from the network: index.html with its style sheet
// and script, catalogue.json (the entries, with thumbnail and preview paths relative to SITE),
// catalogue.js and catalogue-details.js (the same data as scripts the page loads, since a page
// opened from a file may not fetch; see tools/gallery_data.h), and the still thumbnails and video
// previews. A second run brings SITE up to date, writing only what changed and removing thumbnails
// and previews of templates that are gone (see tools/gallery_site.h). A SITE that holds anything
// but a gallery is refused; a catalogue the library reported trouble with leaves SITE untouched
// (status 1).
//
// Prints a summary and, as its last line, the page's file:// address.
//
// Thread safety: run from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_GALLERY_COMMAND_H_
#define ZORVCAPSULE_TOOLS_GALLERY_COMMAND_H_

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace capsuletool {

struct GalleryOptions {
  std::string dir;                   // UTF-8 paths
  std::vector<std::string> folders;  // "NAME=PATH"
  std::optional<std::string> libraries;
  std::string out;
  std::optional<std::string> title;  // default: the name of DIR
};

// Returns the exit status.
int RunGalleryCommand(const GalleryOptions& options, std::ostream& out, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_GALLERY_COMMAND_H_
