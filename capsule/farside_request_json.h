// The JSON object of a remote-asset request:
//
//   {"mServerConnectInfo": {"mServerDiscoveryURL": "...", "mEARPort": "...", "mUserName": "...",
//                           "mAuthToken": "...", "mAuthTokenType": "...",
//                           "mHeaders": {"Name": "value", ...}},
//    "mAssetInfo": {"mProductionIdentifier": "...", "mProductionRevision": "...",
//                   "mAssetIdentifier": "..."}}
//
// The discovery URL and token type are written only when not empty, "mHeaders" only when there is
// a header; every other member always. Texts are copied byte for byte. The reader takes each
// member that is present; a member of another JSON type (a header value that is not a string
// included) throws zorvcore::serialization::BadCastError.
//
// Thread safety: both functions may be called from any thread.

#ifndef ZORVCAPSULE_CAPSULE_FARSIDE_REQUEST_JSON_H_
#define ZORVCAPSULE_CAPSULE_FARSIDE_REQUEST_JSON_H_

#include "capsule/json_members.h"
#include "host/hostbridge/farside_asset_request_info.h"

namespace zorvcapsule::serialization {

class JsonNode;  // capsule/json_node.h: a value of a tree or of a simdjson document

JSONValuePtr FarsideAssetRequestInfoToJsonValue(const hostbridge::FarsideAssetRequestInfo& request);
hostbridge::FarsideAssetRequestInfo FarsideAssetRequestInfoFromJson(const JsonNode& value);
hostbridge::FarsideAssetRequestInfo FarsideAssetRequestInfoFromJsonValue(const JSONValuePtr& value);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_FARSIDE_REQUEST_JSON_H_
