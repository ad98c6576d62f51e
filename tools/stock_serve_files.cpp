#include "tools/stock_serve_files.h"

#include <fstream>
#include <memory>
#include <vector>

#include "host/core/file_helper_utils.h"
#include "tools/stock_serve_members.h"
#include "tools/stock_serve_reply.h"

namespace capsuletool {
namespace {

constexpr size_t kChunkBytes = 64 * 1024;

zorvcapsule::CapsuleEntryPtr KnownAsset(const ServedStock& stock, const std::string& assetId) {
  const auto id = ParseAssetId(assetId);
  return id ? stock.catalogue.Find(*id) : nullptr;
}

void NotFound(httplib::Response& res) { SetErrorReply(res, 404, "not_found", "no such file"); }

}  // namespace

void HandleAssetMember(const ServedStock& stock, const std::string& assetId, const std::string& member,
                       const httplib::Request& req, httplib::Response& res) {
  const auto entry = KnownAsset(stock, assetId);
  const auto kind = ServedMemberNamed(member);
  if (!entry || !kind) return NotFound(res);
  const auto bytes = ReadServedMember(entry->path, *kind, SafeLocale(req.get_param_value("locale")));
  if (!bytes) return NotFound(res);
  res.set_content(reinterpret_cast<const char*>(bytes->Buffer()), bytes->Size(), ServedMemberType(*kind));
}

void HandlePackage(const ServedStock& stock, const std::string& assetId, httplib::Response& res) {
  const auto entry = KnownAsset(stock, assetId);
  if (!entry) return NotFound(res);
  auto file = std::make_shared<std::ifstream>(zorvcore::FileHelperUtils::UTF16ToStdPath(entry->path),
                                              std::ios::binary | std::ios::ate);
  if (!*file) return NotFound(res);
  const auto size = static_cast<size_t>(file->tellg());
  // Streamed in chunks, so a large package never sits in memory whole. A read that fails ends the
  // connection early, which the client sees as a broken transfer, never as a complete package.
  res.set_content_provider(size, "application/zip", [file](size_t offset, size_t length, httplib::DataSink& sink) {
    std::vector<char> chunk(std::min(length, kChunkBytes));
    file->seekg(static_cast<std::streamoff>(offset));
    file->read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (file->gcount() != static_cast<std::streamsize>(chunk.size())) return false;
    return sink.write(chunk.data(), chunk.size());
  });
}

}  // namespace capsuletool
