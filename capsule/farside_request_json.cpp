#include "capsule/farside_request_json.h"

#include <string>
#include <string_view>
#include <utility>

#include "capsule/json_node.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;

namespace {

constexpr char kServerConnectInfoKey[] = "mServerConnectInfo";
constexpr char kAssetInfoKey[] = "mAssetInfo";
constexpr char kServerDiscoveryURLKey[] = "mServerDiscoveryURL";
constexpr char kEARPortKey[] = "mEARPort";
constexpr char kUserNameKey[] = "mUserName";
constexpr char kAuthTokenKey[] = "mAuthToken";
constexpr char kAuthTokenTypeKey[] = "mAuthTokenType";
constexpr char kHeadersKey[] = "mHeaders";
constexpr char kProductionIdentifierKey[] = "mProductionIdentifier";
constexpr char kProductionRevisionKey[] = "mProductionRevision";
constexpr char kAssetIdentifierKey[] = "mAssetIdentifier";

void AddText(JSONObject& object, std::string_view key, const std::string& text) {
  zs::AddToObject(object, key, zs::MakeJSONString(text));
}

void ReadText(const JsonNode& object, std::string_view key, std::string& field) {
  if (auto text = ReadUTF8Member(object, key)) field = std::move(*text);
}

JSONValuePtr ServerConnectInfoToJsonValue(const hostbridge::FarsideServerConnectInfo& server) {
  JSONObject object;
  if (!server.server_discovery_url.empty()) {
    AddText(object, kServerDiscoveryURLKey, server.server_discovery_url);
  }
  AddText(object, kEARPortKey, server.ear_port);
  AddText(object, kUserNameKey, server.user_name);
  AddText(object, kAuthTokenKey, server.auth_token);
  if (!server.auth_token_type.empty()) AddText(object, kAuthTokenTypeKey, server.auth_token_type);
  if (!server.headers.empty()) {
    JSONObject headers;
    for (const auto& [name, header_value] : server.headers) AddText(headers, name, header_value);
    zs::AddToObject(object, kHeadersKey, zs::MakeJSONObject(std::move(headers)));
  }
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::FarsideServerConnectInfo ServerConnectInfoFromJson(const JsonNode& object) {
  object.RequireObject();
  hostbridge::FarsideServerConnectInfo server;
  ReadText(object, kServerDiscoveryURLKey, server.server_discovery_url);
  ReadText(object, kEARPortKey, server.ear_port);
  ReadText(object, kUserNameKey, server.user_name);
  ReadText(object, kAuthTokenKey, server.auth_token);
  ReadText(object, kAuthTokenTypeKey, server.auth_token_type);
  if (const std::optional<JsonNode> headers = object.Member(kHeadersKey)) {
    headers->ForEachMember([&server](std::string_view name, const JsonNode& header_value) {
      server.headers.insert_or_assign(std::string(name), std::string(header_value.String()));
    });
  }
  return server;
}

JSONValuePtr AssetInfoToJsonValue(const hostbridge::FarsideAssetInfo& asset) {
  JSONObject object;
  AddText(object, kProductionIdentifierKey, asset.production_identifier);
  AddText(object, kProductionRevisionKey, asset.production_revision);
  AddText(object, kAssetIdentifierKey, asset.asset_identifier);
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::FarsideAssetInfo AssetInfoFromJson(const JsonNode& object) {
  object.RequireObject();
  hostbridge::FarsideAssetInfo asset;
  ReadText(object, kProductionIdentifierKey, asset.production_identifier);
  ReadText(object, kProductionRevisionKey, asset.production_revision);
  ReadText(object, kAssetIdentifierKey, asset.asset_identifier);
  return asset;
}

}  // namespace

JSONValuePtr FarsideAssetRequestInfoToJsonValue(const hostbridge::FarsideAssetRequestInfo& request) {
  JSONObject object;
  zs::AddToObject(object, kServerConnectInfoKey,
                  ServerConnectInfoToJsonValue(request.server_connect_info));
  zs::AddToObject(object, kAssetInfoKey, AssetInfoToJsonValue(request.asset_info));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::FarsideAssetRequestInfo FarsideAssetRequestInfoFromJson(const JsonNode& object) {
  object.RequireObject();
  hostbridge::FarsideAssetRequestInfo request;
  if (const std::optional<JsonNode> server = object.Member(kServerConnectInfoKey)) {
    request.server_connect_info = ServerConnectInfoFromJson(*server);
  }
  if (const std::optional<JsonNode> asset = object.Member(kAssetInfoKey)) {
    request.asset_info = AssetInfoFromJson(*asset);
  }
  return request;
}

hostbridge::FarsideAssetRequestInfo FarsideAssetRequestInfoFromJsonValue(const JSONValuePtr& value) {
  return FarsideAssetRequestInfoFromJson(JsonNode::TreeRoot(value));
}

}  // namespace zorvcapsule::serialization
