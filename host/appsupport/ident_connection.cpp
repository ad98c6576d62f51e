#include "host/appsupport/ident_connection.h"

#include <utility>

#include "host/appsupport/form_body.h"
#include "host/core/debug_database.h"
#include "host/core/guid.h"
#include "host/net/global_request_processor.h"

namespace zorvappsupport {
namespace {

using zorvcore::ImmutableString;
using zorvnet::RequestError;
using zorvnet::Response;

IDENT_STATUS StatusOf(const Response& response) {
  if (response.Error() == RequestError::kCancelled || response.Error() == RequestError::kShutdown) {
    return kIdentStatusCancelled;
  }
  if (response.Error() != RequestError::kNone) return kIdentStatusNetworkError;
  if (response.IsSuccess()) return kIdentStatusOK;
  if (response.StatusCode() >= 400 && response.StatusCode() <= 499) return kIdentStatusRejected;
  return kIdentStatusServerError;
}

}  // namespace

IdentConnection::IdentConnection(std::string clientId)
    : IdentConnection(std::move(clientId), zorvnet::http::GetGlobalRequestProcessor()) {}

IdentConnection::IdentConnection(std::string clientId,
                                 std::shared_ptr<zorvnet::RequestProcessor> processor)
    : clientId_(std::move(clientId)), processor_(std::move(processor)) {}

bool IdentConnection::AsyncFetchAccessToken(bool production, const std::string& userCredential,
                                            const std::string& paramA, const std::string& paramB,
                                            const std::string& scopes, FetchCallback callback) {
  if (!processor_ || clientId_.empty() || userCredential.empty()) return false;
  const std::string url = zorvcore::DebugDatabase::GetEntry(
      production ? kServiceURLSetting : kStageServiceURLSetting, "");
  if (url.empty()) return false;

  // Captures values only: the fetch must not reach back into a connection that may be gone.
  auto deliver = [callback = std::move(callback)](const zorvcore::Guid&,
                                                  std::shared_ptr<Response> response) {
    if (!callback) return;
    const std::string reply = response ? response->GetPayloadAsUTF8String() : std::string();
    callback(response ? StatusOf(*response) : kIdentStatusNetworkError, reply.c_str());
  };
  return processor_->StartRequest(zorvcore::Guid::CreateUnique(),
                                  MakeRequest(url, userCredential, paramA, paramB, scopes),
                                  std::move(deliver));
}

zorvnet::Request IdentConnection::MakeRequest(const std::string& url,
                                              const std::string& userCredential,
                                              const std::string& paramA, const std::string& paramB,
                                              const std::string& scopes) const {
  zorvnet::Request request;
  request.method = ImmutableString::CreateStatic("POST");
  request.url = ImmutableString::CreateDynamic(url);
  request.headers.emplace(ImmutableString::CreateStatic("Content-Type"),
                          ImmutableString::CreateStatic("application/x-www-form-urlencoded"));
  request.headers.emplace(ImmutableString::CreateStatic("Accept"),
                          ImmutableString::CreateStatic("application/json"));
  request.body = EncodeFormBody({{"grant_type", "user_credential"},
                                 {"client_id", clientId_},
                                 {"user_credential", userCredential},
                                 {"connection_param_a", paramA},
                                 {"connection_param_b", paramB},
                                 {"scope", scopes}});
  request.configuration.timeoutMs = kFetchTimeLimitMs;
  request.configuration.maxBodyBytes = kMaxReplyBytes;
  return request;
}

}  // namespace zorvappsupport
