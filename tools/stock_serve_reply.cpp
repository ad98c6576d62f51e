#include "tools/stock_serve_reply.h"

#include <charconv>

#include "host/core/json_write.h"

namespace capsuletool {

namespace json = zorvcore::serialization;

void SetJSONReply(httplib::Response& res, const json::JSONValuePtr& body, int status) {
  res.status = status;
  res.set_content(json::GetJSONUTF8String(body, false), "application/json");
}

void SetErrorReply(httplib::Response& res, int status, const std::string& code, const std::string& message) {
  json::JSONObject body;
  json::AddToObject(body, "error", json::MakeJSONString(code));
  json::AddToObject(body, "message", json::MakeJSONString(message));
  SetJSONReply(res, json::MakeJSONObject(std::move(body)), status);
}

std::optional<int32_t> ParseAssetId(const std::string& text) {
  int32_t id = 0;
  const char* end = text.data() + text.size();
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  const auto [stop, error] = std::from_chars(text.data(), end, id);
  if (error != std::errc() || stop != end) return std::nullopt;
  return id;
}

}  // namespace capsuletool
