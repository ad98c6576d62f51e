#include "stock/stock_description.h"

#include <string_view>
#include <vector>

#include "capsule/capsule_json.h"
#include "capsule/ui_string.h"
#include "host/core/byte_stream.h"
#include "host/core/file.h"
#include "host/core/file_utils.h"
#include "host/core/unicode.h"
#include "package/temp_directories.h"
#include "stock/fetch_response_for_url.h"
#include "stock/stock_capsule_entry.h"
#include "stock/stock_request.h"

namespace zorvcapsule {
namespace {

constexpr std::u16string_view kQuazelAuthorApp = u"qzfx";
constexpr std::string_view kPlainScheme = "http:";

int32_t DurationMsOf(const hostbridge::MediaTime& duration) {
  if (duration.denominator() <= 0) return 0;
  // A 128-bit product: numerator * 1000 must not wrap for long durations at fine scales.
  const __int128 ms = static_cast<__int128>(duration.numerator()) * 1000 / duration.denominator();
  return static_cast<int32_t>(static_cast<int64_t>(ms));
}

std::string ReadWholeFile(const std::u16string& path) {
  std::string text;
  const auto stream = zorvcore::InputByteStream::Open(zorvcore::File(path));
  if (!stream) return text;
  char block[16384];
  size_t read = 0;
  while (stream->ReadBlock(block, sizeof(block), read) && read > 0) text.append(block, read);
  return text;
}

std::vector<std::string> NarrowAll(const std::vector<std::u16string>& texts) {
  std::vector<std::string> narrow;
  narrow.reserve(texts.size());
  for (const std::u16string& text : texts) narrow.push_back(zorvcore::UTF16toStdString(text));
  return narrow;
}

std::shared_ptr<Capsule> ParseDescription(std::string_view text) {
  try {
    return serialization::CapsuleFromJson(text);
  } catch (...) {
    return nullptr;
  }
}

// The description as the cache keeps it: the hit's tags and name in place of the template's own.
std::string CacheTextOf(const std::shared_ptr<Capsule>& capsule, const CapsuleEntry& entry) {
  capsule->SetTags(NarrowAll(entry.tags));
  capsule->SetCapsuleNameLocalized(UIString(entry.name));
  return serialization::CapsuleToJson(capsule);
}

void FetchAndCacheDescription(const CapsuleEntryPtr& entry) {
  const std::u16string file = GetTempStockAssetJSONPath(entry->path);
  if (zorvcore::FileUtils::FileExists(file)) return;
  const std::string url = SecureDescriptionURL(entry->descriptionPath);
  if (url.empty()) return;
  const zorvnet::ResponsePtr response = FetchResponseForURL(url);
  if (!IsSuccessfulStockResponse(response) || response->Payload()->Size() == 0) return;
  // The empty file marks the asset as tried before anything can fail on the text.
  if (!zorvcore::File(file).Create()) return;
  const std::shared_ptr<Capsule> capsule = ParseDescription(response->GetPayloadAsUTF8String());
  if (!capsule) return;
  const std::string text = CacheTextOf(capsule, *entry);
  FillEntryFromCapsule(entry, capsule);
  zorvcore::FileUtils::SimpleWriteStringToFile(file, text);
}

}  // namespace

std::string SecureDescriptionURL(const std::u16string& descriptionPath) {
  std::string url = zorvcore::UTF16ToUTF8(descriptionPath);
  if (url.compare(0, kPlainScheme.size(), kPlainScheme) == 0) url.replace(0, kPlainScheme.size(), "https:");
  return url;
}

void FetchStockDescription(const CapsuleEntryPtr& entry) {
  if (!entry) return;
  try {
    FetchAndCacheDescription(entry);
  } catch (...) {
    // A description that cannot be had is simply not cached; the marker, once made, stays.
  }
}

void FillEntryFromCapsule(const CapsuleEntryPtr& entry, const std::shared_ptr<Capsule>& capsule) {
  if (!entry || !capsule) return;
  entry->capsuleID = capsule->GetCapsuleID();
  for (const std::string& font : capsule->GetUsedFonts()) {
    entry->usedFonts.push_back(zorvcore::StdToUTF16String(font));
  }
  entry->durationMs = DurationMsOf(capsule->GetSourceInfo().duration);
  entry->authorApp = capsule->GetAuthorApp();
  if (entry->authorApp == kQuazelAuthorApp) entry->requiresQuazel = !capsule->CanUseQZLib(nullptr);
  if (auto* stockEntry = dynamic_cast<StockCapsuleEntry*>(entry.get())) stockEntry->descriptionLoaded = true;
}

std::shared_ptr<Capsule> ReadCachedStockDescription(const std::u16string& assetID) {
  const std::u16string file = GetTempStockAssetJSONPath(assetID);
  if (!zorvcore::FileUtils::FileExists(file)) return nullptr;
  return ParseDescription(ReadWholeFile(file));
}

}  // namespace zorvcapsule
