#include "host/net/response.h"

#include <cstring>
#include <utility>

namespace zorvnet {
namespace {

std::shared_ptr<const RecycledMemory> EmptyPayload() {
  return RecycledMemory::Fill(0, [](uint8_t*, size_t) { return true; });
}

}  // namespace

const char* RequestErrorName(RequestError error) {
  switch (error) {
    case RequestError::kNone: return "none";
    case RequestError::kCancelled: return "cancelled";
    case RequestError::kShutdown: return "shut down";
    case RequestError::kConnectFailed: return "could not connect";
    case RequestError::kTlsFailed: return "TLS failed";
    case RequestError::kTimedOut: return "timed out";
    case RequestError::kTooManyRedirects: return "too many redirects";
    case RequestError::kBodyTooLarge: return "body too large";
    case RequestError::kSinkRefused: return "body sink refused";
    case RequestError::kTransferFailed: return "transfer failed";
  }
  return "unknown";
}

Response::Response(int status, HeaderMap headers, std::shared_ptr<const RecycledMemory> payload,
                   zorvcore::ImmutableString effectiveUrl, RequestError error,
                   std::string errorDetail)
    : status_(status),
      headers_(std::move(headers)),
      payload_(payload ? std::move(payload) : EmptyPayload()),
      effectiveUrl_(std::move(effectiveUrl)),
      error_(error),
      errorDetail_(std::move(errorDetail)) {}

std::shared_ptr<Response> Response::Completed(int status, HeaderMap headers,
                                              std::shared_ptr<const RecycledMemory> payload,
                                              zorvcore::ImmutableString effectiveUrl) {
  return std::shared_ptr<Response>(new Response(status, std::move(headers), std::move(payload),
                                                std::move(effectiveUrl), RequestError::kNone, ""));
}

std::shared_ptr<Response> Response::Failed(RequestError error, std::string detail) {
  return std::shared_ptr<Response>(
      new Response(0, HeaderMap(), nullptr, zorvcore::ImmutableString(), error, std::move(detail)));
}

zorvcore::ImmutableString Response::GetHeader(std::string_view name) const {
  const auto found = headers_.find(name);
  return found == headers_.end() ? zorvcore::ImmutableString() : found->second;
}

bool Response::HasHeader(std::string_view name) const { return headers_.contains(name); }

std::string Response::GetPayloadAsUTF8String() const {
  if (!payload_) return std::string();
  return std::string(reinterpret_cast<const char*>(payload_->Buffer()), payload_->Size());
}

}  // namespace zorvnet
