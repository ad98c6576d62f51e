// The answers of `capsule stock serve`: JSON bodies, and the error object every refusal carries
// ({"error": CODE, "message": TEXT}), so a host developer sees in the body why a request failed.
//
// Thread safety: functions over the given response; call from the request's thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_REPLY_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_REPLY_H_

#include <httplib.h>

#include <optional>
#include <string>

#include "host/core/json_value.h"

namespace capsuletool {

void SetJSONReply(httplib::Response& res, const zorvcore::serialization::JSONValuePtr& body, int status = 200);
void SetErrorReply(httplib::Response& res, int status, const std::string& code, const std::string& message);

// The decimal asset ID in `text`; nullopt for anything else (signs, spaces, overflow).
std::optional<int32_t> ParseAssetId(const std::string& text);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_REPLY_H_
