#include "stock/stock_source.h"

#include <algorithm>

#include "catalogue/source_ids.h"
#include "host/core/byte_stream.h"
#include "host/core/file.h"
#include "host/core/file_utils.h"
#include "host/core/localizer.h"
#include "host/core/unicode.h"
#include "package/temp_directories.h"
#include "stock/fetch_response_for_url.h"
#include "stock/search_results.h"
#include "stock/stock_description.h"
#include "stock/stock_entry_builder.h"
#include "stock/stock_filters.h"
#include "stock/stock_request.h"
#include "stock/stock_search.h"

namespace zorvcapsule {
namespace {

constexpr const char16_t* kStockSourceName = u"$$$/GraphicSource/local/Stock=Stock";

bool IsAborted(const CheckCancelPtr& cancel) { return cancel && cancel->GetAbort(); }

// Writes the bytes as the whole file, atomically: a thumbnail is either complete or absent.
void WriteThumbnail(const std::u16string& path, const zorvstorage::RecycledMemory& bytes) {
  try {
    const auto stream = zorvcore::OutputByteStream::Create(zorvcore::File(path));
    if (stream && stream->WriteBlock(bytes.Buffer(), bytes.Size())) stream->Commit();
  } catch (...) {
    // A thumbnail that cannot be written is simply not cached.
  }
}

}  // namespace

StockSource::StockSource(const std::shared_ptr<ClientStockConnection>& connection)
    : connection(connection), filterType(kStockFilterAll) {}

StockSource::~StockSource() = default;

void StockSource::Initialize() { InitTempDirectory(false); }

std::string StockSource::GetSourceID() { return kStockSourceID; }

void StockSource::GetFilter(GraphicFilterID& filter) {
  filter.name = zorvcore::Localizer::Localize(kStockSourceName);
  filter.sourceID = GetSourceID();
  filter.items.clear();
}

void StockSource::SetFilterType(const std::u16string& type) {
  if (type.empty()) return;
  std::lock_guard<std::mutex> lock(settingsMutex);
  filterType = type;
}

std::u16string StockSource::GetFilterType() const {
  std::lock_guard<std::mutex> lock(settingsMutex);
  return filterType;
}

void StockSource::SetUserDataCallback(const UserDataCallbackPtr& callback) {
  std::lock_guard<std::mutex> lock(settingsMutex);
  userDataCallback = callback;
}

StockSource::UserDataCallbackPtr StockSource::GetUserDataCallback() const {
  std::lock_guard<std::mutex> lock(settingsMutex);
  return userDataCallback;
}

void StockSource::Search(const std::vector<std::u16string>& words, std::vector<CapsuleEntryPtr>& results,
                         int start, int count, int& total, const CheckCancelPtr& cancel) {
  if (IsAborted(cancel)) return;
  const UserDataCallbackPtr callback = GetUserDataCallback();
  if (!callback || !*callback) return;
  std::string clientId, userCredential;
  std::u16string accessToken;
  (*callback)(clientId, userCredential, accessToken);

  SearchResults found;
  SearchOnStock(words, GetFilterType(), clientId, userCredential, connection, start, count, found, cancel,
                accessToken);
  if (IsAborted(cancel)) return;
  // A count of 0 (or a nonsensical negative one) means no hits, whatever "files" holds.
  if (found.nb_results > 0) {
    for (const SearchResultFile& hit : found.files) results.push_back(BuildStockEntry(hit));
  }
  total = std::clamp(found.nb_results, 0, kMaxStockResults);
}

std::u16string StockSource::GetThumbnailPath(const CapsuleEntryPtr& entry, const CheckCancelPtr& cancel) {
  if (!entry || IsAborted(cancel)) return std::u16string();
  FetchStockDescription(entry);
  if (IsAborted(cancel)) return std::u16string();
  const std::u16string thumb = GetTempStockAssetThumbPath(entry->path);
  if (zorvcore::FileUtils::FileExists(thumb)) return thumb;
  const zorvnet::ResponsePtr response = FetchResponseForURL(zorvcore::UTF16ToUTF8(entry->thumbnailPath));
  if (IsSuccessfulStockResponse(response)) {
    if (IsAborted(cancel)) return std::u16string();
    if (response->Payload()->Size() > 0) WriteThumbnail(thumb, *response->Payload());
  }
  return zorvcore::FileUtils::FileExists(thumb) ? thumb : std::u16string();
}

}  // namespace zorvcapsule
