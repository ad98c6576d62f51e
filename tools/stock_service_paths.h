// The paths of the stock and identity endpoints below a deployment's base URL, as the command-line
// host serves them (`capsule stock serve`) and watches for them (`capsule stock search`).
//
// Thread safety: constants.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVICE_PATHS_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVICE_PATHS_H_

namespace capsuletool {

inline constexpr const char* kIdentityPath = "/ident/token";
inline constexpr const char* kFileSearchPath = "/Rest/Media/1/Search/Files";
inline constexpr const char* kMemberProfilePath = "/Rest/Libraries/1/Member/Profile";
inline constexpr const char* kContentLicensePath = "/Rest/Libraries/1/Content/License";
inline constexpr const char* kDownloadPath = "/Rest/Libraries/Download";

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVICE_PATHS_H_
