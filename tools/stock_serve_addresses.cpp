#include "tools/stock_serve_addresses.h"

#include <utility>

#include "package/package_names.h"

namespace capsuletool {

ServedAddresses::ServedAddresses(int port, std::string secret)
    : origin_("https://127.0.0.1:" + std::to_string(port)), secret_(std::move(secret)) {}

std::string ServedAddresses::DownloadURL(bool stage, int32_t id) const {
  return ServiceURL(stage) + kDownloadPath + "/" + std::to_string(id) + "/1";
}

std::string ServedAddresses::MemberURL(int32_t id, const std::string& member, const std::string& locale) const {
  std::string url = origin_ + FilesRoot() + "/assets/" + std::to_string(id) + "/" + member;
  if (!locale.empty() && member != zorvcapsule::kDescriptionMember) url += "?locale=" + locale;
  return url;
}

std::string ServedAddresses::PackageURL(int32_t id) const {
  return origin_ + FilesRoot() + "/packages/" + std::to_string(id) + ".tplx";
}

}  // namespace capsuletool
