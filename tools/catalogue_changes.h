// What changed between two listings of a catalogue, in the forms `capsule catalogue --watch`
// prints it.
//
// Templates are known by their package path. A template is added or removed when its path appears
// in only one of the listings, and changed when its package file's size or modification time differ
// (the time read from the file itself, since an entry knows it only when its description is readable).
// Differences come removed first, then added, then changed, each group in byte order of the paths'
// UTF-8 text.
//
// Lines, without their line break:
//   table  "+ Name (folder)", "- Name", "~ Name"; the folder as the catalogue table shows it
//   JSON   {"event":"added","path":"...","name":"..."} (also "removed", "changed"),
//          {"event":"listed","count":N}
//
// Thread safety: pure functions and values; use from any thread.

#ifndef ZORVCAPSULE_TOOLS_CATALOGUE_CHANGES_H_
#define ZORVCAPSULE_TOOLS_CATALOGUE_CHANGES_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>


#include "catalogue/capsule_entry.h"
#include "tools/catalogue_session.h"

namespace capsuletool {

struct ListedTemplate {
  std::string name;    // UTF-8
  std::string folder;  // the table's folder label
  uint64_t fileSize = 0;
  std::filesystem::file_time_type modified;  // the epoch when the file cannot be read
};

// By UTF-8 package path.
using CatalogueListing = std::map<std::string, ListedTemplate>;

CatalogueListing ListingOf(const std::vector<zorvcapsule::CapsuleEntryPtr>& entries, const CatalogueRequest& request);

struct CatalogueDifference {
  enum class Kind { kRemoved, kAdded, kChanged };
  Kind kind;
  std::string path;
  ListedTemplate entry;  // as listed now (as it was, for a removed one)
};

std::vector<CatalogueDifference> Differences(const CatalogueListing& before, const CatalogueListing& after);

std::string DifferenceLine(const CatalogueDifference& difference, bool json);
std::string ListedLine(size_t count);  // JSON

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_CATALOGUE_CHANGES_H_
