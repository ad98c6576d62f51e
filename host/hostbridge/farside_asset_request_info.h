// FarsideAssetRequestInfo: how to fetch a template's source media from a remote production
// server: where and as whom to connect, and which asset of which production to ask for.
//
// All texts are narrow text handed to the server unchanged, byte for byte.
//
// Thread safety: plain values; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_FARSIDE_ASSET_REQUEST_INFO_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_FARSIDE_ASSET_REQUEST_INFO_H_

#include <map>
#include <string>

namespace hostbridge {

struct FarsideServerConnectInfo {
  std::string server_discovery_url;  // empty: connect to the port directly
  std::string ear_port;
  std::string user_name;
  std::string auth_token;
  std::string auth_token_type;  // empty: the server's default kind of token
  std::map<std::string, std::string> headers;  // extra request headers, name -> value

  friend bool operator==(const FarsideServerConnectInfo&, const FarsideServerConnectInfo&) =
      default;
};

struct FarsideAssetInfo {
  std::string production_identifier;
  std::string production_revision;
  std::string asset_identifier;

  friend bool operator==(const FarsideAssetInfo&, const FarsideAssetInfo&) = default;
};

struct FarsideAssetRequestInfo {
  FarsideServerConnectInfo server_connect_info;
  FarsideAssetInfo asset_info;

  friend bool operator==(const FarsideAssetRequestInfo&, const FarsideAssetRequestInfo&) = default;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_FARSIDE_ASSET_REQUEST_INFO_H_
