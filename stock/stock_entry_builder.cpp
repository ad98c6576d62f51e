#include "stock/stock_entry_builder.h"

#include <string>

#include "catalogue/source_ids.h"
#include "host/core/file_utils.h"
#include "host/core/unicode.h"
#include "package/temp_directories.h"
#include "stock/stock_description.h"

namespace zorvcapsule {
namespace {

constexpr const char* kLicensedText = "Standard";

void FillFromHit(StockCapsuleEntry& entry, const SearchResultFile& hit) {
  using zorvcore::UTF8ToUTF16;
  entry.path = zorvcore::AsciiToUTF16(std::to_string(hit.id));
  entry.name = UTF8ToUTF16(hit.title);
  entry.thumbnailPath = UTF8ToUTF16(hit.thumbnailURL);
  entry.description = UTF8ToUTF16(hit.description);
  entry.creator = UTF8ToUTF16(hit.creatorName);
  entry.descriptionPath = UTF8ToUTF16(hit.descriptionURL);
  entry.videoPreviewURL = UTF8ToUTF16(hit.videoPreviewURL);
  entry.ids.push_back(kStockSourceID);
  for (const SearchResultsKeyword& keyword : hit.keywords) entry.tags.push_back(UTF8ToUTF16(keyword.name));
  entry.frameWidth = hit.width;
  entry.frameHeight = hit.height;
  entry.premiumLevel = hit.premiumLevel;
  entry.fileSize = static_cast<uint64_t>(static_cast<int64_t>(hit.sizeBytes));
  entry.durationMs = 0;
  entry.isLicensed = hit.licensed == kLicensedText;
}

}  // namespace

StockCapsuleEntryPtr BuildStockEntry(const SearchResultFile& hit) {
  auto entry = std::make_shared<StockCapsuleEntry>();
  FillFromHit(*entry, hit);
  FillEntryFromCapsule(entry, ReadCachedStockDescription(entry->path));
  const std::u16string video = GetTempStockAssetVideoThumbPath(entry->path);
  if (zorvcore::FileUtils::FileExists(video)) entry->videoPreviewPath = video;
  return entry;
}

}  // namespace zorvcapsule
