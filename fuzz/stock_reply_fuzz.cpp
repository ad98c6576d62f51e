// libFuzzer target: the readers of the stock and identity services' replies, each fed the same
// body text: the search results, the member profile, the content licence, and the identity
// service's profile (with the access token) and error replies.
//
// Every read must end in a filled record, the malformed-JSON error or the bad-cast error; a crash,
// a hang, a sanitizer report or any other exception is a finding. A read that fails must leave the
// caller's record exactly as it was (a marker put there first must still be there).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "stock/access_token_data.h"
#include "stock/license_response.h"
#include "stock/member_profile.h"
#include "stock/search_results.h"
#include "stock/stock_response.h"

namespace {

using zorvcapsule::ParseStockResponse;

constexpr int32_t kMarker = -424242;

void Require(bool condition) {
  if (!condition) std::abort();
}

// Reads `body` into a record marked by `mark`; when the read fails, `isMarked` must still hold.
template <typename Record, typename Mark, typename IsMarked>
void ReadInto(std::string_view body, Mark mark, IsMarked isMarked) {
  Record record;
  mark(record);
  try {
    ParseStockResponse(body, record);
    return;
  } catch (const zorvcore::serialization::BadCastError&) {
  } catch (const std::runtime_error& error) {
    Require(std::strcmp(error.what(), zorvcapsule::kStockMalformedJSONText) == 0);
  }
  Require(isMarked(record));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zorvcapsule;
  const std::string_view body(reinterpret_cast<const char*>(data), size);

  ReadInto<SearchResults>(
      body,
      [](SearchResults& r) {
        r.nb_results = kMarker;
        r.files.emplace_back().id = kMarker;
      },
      [](const SearchResults& r) {
        return r.nb_results == kMarker && r.files.size() == 1 && r.files[0].id == kMarker;
      });
  ReadInto<MemberProfile>(
      body, [](MemberProfile& r) { r.entitlement.quota = kMarker; },
      [](const MemberProfile& r) { return r.entitlement.quota == kMarker; });
  ReadInto<LicenseResponse>(
      body, [](LicenseResponse& r) { r.contents["marker"].purchase_details.width = kMarker; },
      [](const LicenseResponse& r) {
        return r.contents.size() == 1 && r.contents.begin()->second.purchase_details.width == kMarker;
      });
  ReadInto<ProfileData>(
      body, [](ProfileData& r) { r.access_token = zorvcore::ImmutableString::CreateStatic("marker"); },
      [](const ProfileData& r) { return r.access_token.str() == "marker"; });
  ReadInto<ErrorData>(
      body, [](ErrorData& r) { r.error = zorvcore::ImmutableString::CreateStatic("marker"); },
      [](const ErrorData& r) { return r.error.str() == "marker"; });
  return 0;
}
