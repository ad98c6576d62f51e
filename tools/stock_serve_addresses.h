// ServedAddresses: where everything of `capsule stock serve` lives on https://127.0.0.1:PORT.
//
// The production deployment is the server's root, the stage deployment the same tree below
// "/stage"; each has its identity token endpoint at "<tree>/ident/token" beside the stock endpoints.
// What the library fetches without credentials (descriptions, thumbnails, preview videos and the
// packages behind the download redirect) lives below a random first path component made at start,
// so that nobody can guess those addresses:
//
//   /<secret>/assets/<id>/definition.json       the package's description
//   /<secret>/assets/<id>/thumb.png?locale=L    its still thumbnail (in language L when it has one)
//   /<secret>/assets/<id>/thumb.mp4?locale=L    its video thumbnail, served as the preview video
//   /<secret>/packages/<id>.tplx                the package itself
//
// Thread safety: immutable once made; read from any thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_ADDRESSES_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_ADDRESSES_H_

#include <cstdint>
#include <string>

#include "tools/stock_service_paths.h"

namespace capsuletool {

inline constexpr const char* kStageTree = "/stage";

class ServedAddresses {
 public:
  ServedAddresses(int port, std::string secret);

  // "" for production, "/stage" for stage.
  static std::string Tree(bool stage) { return stage ? kStageTree : ""; }

  // "https://127.0.0.1:PORT"
  const std::string& Origin() const { return origin_; }
  // "/<secret>", the first path component of the files served without credentials.
  std::string FilesRoot() const { return "/" + secret_; }

  std::string ServiceURL(bool stage) const { return origin_ + Tree(stage); }
  std::string IdentityURL(bool stage) const { return ServiceURL(stage) + kIdentityPath; }
  // The licensed-download endpoint of asset `id`, which redirects to the package.
  std::string DownloadURL(bool stage, int32_t id) const;
  // `member` is "definition.json", "thumb.png" or "thumb.mp4"; `locale` goes with the thumbnails.
  std::string MemberURL(int32_t id, const std::string& member, const std::string& locale) const;
  std::string PackageURL(int32_t id) const;

 private:
  std::string origin_;
  std::string secret_;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_ADDRESSES_H_
