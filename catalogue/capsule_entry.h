// CapsuleEntry: one template as the catalogue shows it.
//
// A flat record of display data, identifiers and file locations. A source builds each entry on a
// worker thread and then hands it out through shared pointers to the manager and the host; the data
// members are public and read and written directly. An entry has no lock: code that changes an entry
// after handing it out must not race with its readers.
//
// Entries order by name (operator<, plain UTF-16 code-unit order, the manager's default sort) and are
// the same entry when their path and thumbnail path agree (operator==).

#ifndef ZORVCAPSULE_CATALOGUE_CAPSULE_ENTRY_H_
#define ZORVCAPSULE_CATALOGUE_CAPSULE_ENTRY_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <boost/date_time/posix_time/ptime.hpp>

#include "capsule/capsule_export.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT CapsuleEntry {
 public:
  enum CreatorApp {
    kOther = 0,   // any author application but the compositing application, including none
    kQuazel = 1,  // authored in the compositing application ("qzfx")
  };

  CapsuleEntry() = default;
  CapsuleEntry(const CapsuleEntry&) = default;
  CapsuleEntry& operator=(const CapsuleEntry&) = default;
  virtual ~CapsuleEntry();

  // The stock entry overrides this; a plain entry has no preview of its own and returns empty, even
  // when `videoPreviewPath` is set.
  virtual std::u16string GetVideoPreviewPath() const;

  std::string GetQvElementID() const { return elementID; }
  // Element 0 of `ids`, or empty.
  std::string GetSourceID() const;
  // Element 1 of `ids` when `ids` holds exactly two elements, else empty.
  std::string GetLibraryID() const;
  CreatorApp GetCreatorApp() const;
  bool SupportVideoPlayback() const { return !videoPreviewPath.empty(); }

  bool operator==(const CapsuleEntry& other) const;
  bool operator<(const CapsuleEntry& other) const;

  std::u16string path;              // package path, or the source's own locator of the item
  std::u16string name;              // display name; the sort key
  std::u16string creator;           // creator's name (stock)
  std::vector<std::string> ids;     // source ID, then library or folder ID
  std::u16string descriptionPath;   // description JSON path or URL, for items that are no packages
  std::u16string thumbnailPath;     // still thumbnail path or URL when known in advance
  std::u16string videoPreviewPath;  // local video thumbnail file, when one exists
  std::u16string capsuleID;
  std::string elementID;            // element ID in the cloud libraries
  uint64_t fileSize = 0;
  int32_t frameWidth = 0;
  int32_t frameHeight = 0;
  int32_t durationMs = 0;
  bool requiresQuazel = false;  // authored in "qzfx" and may not use its library feature
  int32_t state = 0;            // 2 once a source has read the description; never read here
  std::vector<std::u16string> usedFonts;
  std::u16string description;
  std::vector<std::u16string> tags;
  std::u16string authorApp;
  boost::posix_time::ptime modifiedTime;  // not-a-date-time until known
};

using CapsuleEntryPtr = std::shared_ptr<CapsuleEntry>;

// The manager's default order of shared entries: by name, as operator<.
ZORVCAPSULE_EXPORT bool CapsuleEntryNameLess(const CapsuleEntryPtr& a, const CapsuleEntryPtr& b);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CATALOGUE_CAPSULE_ENTRY_H_
