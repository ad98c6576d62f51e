// AccessTokenData: what one access-token fetch from the identity service gave.
//
// A fetch ends with a status (the identity service's IDENT_STATUS, 0 for success) and a JSON reply:
// on success the user's profile with the access token, otherwise an error description. Only
// `profile->access_token` is used by requests; the other members keep what was received. A token is
// usable when that text is not empty.
//
// The record is shared: the identity service's callback may arrive after the waiting caller gave
// up, and then writes into a record nobody reads any more.
//
// Thread safety: a plain record. The fetch's callback writes it before opening the fetch's gate; the
// waiter reads it only after passing that gate. Once handed out (cached), nobody changes it.

#ifndef ZORVCAPSULE_STOCK_ACCESS_TOKEN_DATA_H_
#define ZORVCAPSULE_STOCK_ACCESS_TOKEN_DATA_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/core/immutable_string.h"
#include "host/core/json_value.h"

namespace zorvcapsule {

// One entry of the profile's "serviceAccounts": each text from the member of its name.
struct ServiceAccountObject {
  std::string ident;
  std::string serviceCode;
  std::string serviceStatus;
  std::string serviceLevel;
  std::string ownerGuid;
  std::string delegateGuid;

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

// How the fetch failed: the status, and the texts of the members "error", "redirect_uri" and "jump".
struct ErrorData {
  int32_t status = 0;
  zorvcore::ImmutableString error;
  zorvcore::ImmutableString redirect_uri;
  zorvcore::ImmutableString jump;

  // Reads the three texts; the status is the caller's.
  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

// The members "access_token", "refresh_token", "email", "userId" and "serviceAccounts".
struct ProfileData {
  zorvcore::ImmutableString access_token;
  zorvcore::ImmutableString refresh_token;
  zorvcore::ImmutableString email;
  zorvcore::ImmutableString userId;
  std::vector<ServiceAccountObject> serviceAccounts;

  void ReadFrom(const zorvcore::serialization::JSONObject& object);
};

struct AccessTokenData {
  AccessTokenData() : error(std::make_shared<ErrorData>()), profile(std::make_shared<ProfileData>()) {}
  // A record holding a token the host already has.
  static std::shared_ptr<AccessTokenData> FromToken(zorvcore::ImmutableString accessToken);

  bool IsUsable() const { return profile && !profile->access_token.empty(); }

  std::shared_ptr<ErrorData> error;
  std::shared_ptr<ProfileData> profile;
};

using AccessTokenDataPtr = std::shared_ptr<AccessTokenData>;

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_ACCESS_TOKEN_DATA_H_
