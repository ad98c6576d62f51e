#include "host/net/curl_transfer.h"

#include <cstring>
#include <utility>

#include "host/core/app_config.h"
#include "host/core/debug_database.h"
#include "host/core/unicode.h"
#include "host/net/curl_global.h"
#include "host/net/request_check.h"

namespace zorvnet {
namespace {

using zorvcore::ImmutableString;

constexpr const char* kCAFileSetting = "Net.CAFile";
constexpr const char* kWebProtocols = "http,https";
constexpr const char* kSecureProtocols = "https";

std::string DefaultUserAgent() {
  return zorvcore::UTF16ToUTF8(zorvcore::config::GetApplicationName()) + "/" +
         zorvcore::UTF16ToUTF8(zorvcore::config::GetClientVersion());
}

// "Name: value", or "Name;" which is how libcurl is told to send a field with an empty value.
std::string HeaderLine(const ImmutableString& name, const ImmutableString& value) {
  if (value.empty()) return name.str() + ";";
  return name.str() + ": " + value.str();
}

bool IsTlsFailure(CURLcode result) {
  switch (result) {
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
      return true;
    default:
      return false;
  }
}

}  // namespace

zorvcore::Status CurlTransfer::Create(const zorvcore::Guid& id, Request request,
                                      RequestCallback callback,
                                      std::unique_ptr<CurlTransfer>* transfer) {
  zorvcore::Status checked = CheckRequest(request);
  if (!checked.ok()) return checked;
  if (!EnsureCurlInitialized()) return zorvcore::Status::IOError("libcurl could not be initialized");
  CURL* easy = curl_easy_init();
  if (easy == nullptr) return zorvcore::Status::IOError("libcurl could not make a handle");
  std::unique_ptr<CurlTransfer> made(
      new CurlTransfer(id, std::move(request), std::move(callback), easy));
  zorvcore::Status configured = made->Configure();
  if (configured.ok()) *transfer = std::move(made);
  return configured;
}

CurlTransfer::CurlTransfer(const zorvcore::Guid& id, Request request, RequestCallback callback,
                           CURL* easy)
    : id_(id),
      request_(std::move(request)),
      callback_(std::move(callback)),
      easy_(easy),
      bodyCap_(request_.configuration.EffectiveMaxBodyBytes()) {}

CurlTransfer::~CurlTransfer() {
  curl_easy_cleanup(easy_);
  curl_slist_free_all(headerList_);
}

zorvcore::Status CurlTransfer::Configure() {
  const Configuration& config = request_.configuration;
  bool ok = curl_easy_setopt(easy_, CURLOPT_URL, request_.url.c_str()) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, kWebProtocols) == CURLE_OK;
  // A request begun over TLS never continues in clear text: its headers may carry credentials.
  const char* redirectProtocols = IsSecureURL(request_.url.str()) ? kSecureProtocols : kWebProtocols;
  ok = ok && curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, redirectProtocols) == CURLE_OK;
  if (!ok) return zorvcore::Status::IOError("libcurl refused the URL");
  curl_easy_setopt(easy_, CURLOPT_PRIVATE, this);
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorBuffer_);

  // Verification stays on whatever the request says; only the set of trusted authorities may change.
  curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L);
  const std::string caFile = zorvcore::DebugDatabase::GetEntry(kCAFileSetting, "");
  if (!caFile.empty()) {
    curl_easy_setopt(easy_, CURLOPT_CAINFO, caFile.c_str());
    curl_easy_setopt(easy_, CURLOPT_CAPATH, static_cast<char*>(nullptr));
  }

  curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
  curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedLimitBytesPerSecond);
  curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_TIME, kLowSpeedTimeSeconds);
  if (config.timeoutMs > 0) {
    curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, static_cast<long>(config.timeoutMs));
  }

  curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, config.followRedirects ? 1L : 0L);
  curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, kMaxRedirects);
  if (config.useCookies) curl_easy_setopt(easy_, CURLOPT_COOKIEFILE, "");
  // An empty text offers every encoding this libcurl can decode.
  if (config.acceptCompressed) curl_easy_setopt(easy_, CURLOPT_ACCEPT_ENCODING, "");
  const std::string userAgent =
      config.userAgent.empty() ? DefaultUserAgent() : config.userAgent.str();
  curl_easy_setopt(easy_, CURLOPT_USERAGENT, userAgent.c_str());

  if (request_.method == "POST") {
    curl_easy_setopt(easy_, CURLOPT_POST, 1L);
    curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(request_.body.size()));
    // request_ is const and lives as long as the handle, so libcurl may read the body in place.
    curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, request_.body.data());
  } else if (request_.method == "HEAD") {
    curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
  }
  // A body bound for a sink is not held in memory, so only an in-memory body is refused early on
  // its announced length.
  if (!request_.bodySink) {
    curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(bodyCap_));
  }

  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlTransfer::OnHeader);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlTransfer::OnBody);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
  return SetHeaderList();
}

zorvcore::Status CurlTransfer::SetHeaderList() {
  for (const auto& [name, value] : request_.headers) {
    curl_slist* grown = curl_slist_append(headerList_, HeaderLine(name, value).c_str());
    if (grown == nullptr) return zorvcore::Status::IOError("out of memory for the header list");
    headerList_ = grown;
  }
  if (request_.method == "POST") {
    // The server gets the body at once instead of after a "100 Continue" round trip.
    curl_slist* grown = curl_slist_append(headerList_, "Expect:");
    if (grown != nullptr) headerList_ = grown;
  }
  if (headerList_ != nullptr) curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headerList_);
  return zorvcore::Status::OK();
}

size_t CurlTransfer::OnHeader(char* data, size_t size, size_t count, void* self) {
  const size_t bytes = size * count;
  return static_cast<CurlTransfer*>(self)->TakeHeaderLine(data, bytes) ? bytes : 0;
}

size_t CurlTransfer::OnBody(char* data, size_t size, size_t count, void* self) {
  const size_t bytes = size * count;
  return static_cast<CurlTransfer*>(self)->TakeBodyBytes(data, bytes) ? bytes : 0;
}

// Called from inside libcurl: nothing may be thrown from here.
bool CurlTransfer::TakeHeaderLine(const char* data, size_t size) {
  const std::string_view line(data, size);
  // A new answer (after a redirect or an interim "100 Continue") starts a new body as well.
  if (line.starts_with("HTTP/")) body_.clear();
  try {
    if (headers_.AddLine(line)) return true;
  } catch (...) {
  }
  headersTooLarge_ = true;
  return false;
}

// Called from inside libcurl: nothing may be thrown from here.
bool CurlTransfer::TakeBodyBytes(const char* data, size_t size) {
  if (request_.bodySink && CurrentAnswerIsSuccess()) {
    curl_off_t expected = -1;
    curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
    bool taken = false;
    try {
      taken = request_.bodySink(reinterpret_cast<const uint8_t*>(data), size, expected);
    } catch (...) {
    }
    sinkRefused_ = !taken;
    return taken;
  }
  if (static_cast<int64_t>(body_.size() + size) > bodyCap_) {
    bodyTooLarge_ = true;
    return false;
  }
  try {
    body_.append(data, size);
    return true;
  } catch (...) {
    bodyTooLarge_ = true;
    return false;
  }
}

bool CurlTransfer::CurrentAnswerIsSuccess() const {
  long status = 0;
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
  return status >= 200 && status <= 299;
}

std::shared_ptr<Response> CurlTransfer::Finish(CURLcode result) {
  if (result == CURLE_OK) return Completed();
  std::string detail = errorBuffer_[0] != '\0' ? errorBuffer_ : curl_easy_strerror(result);
  if (headersTooLarge_) detail = "the answer's header block is too large";
  if (bodyTooLarge_ || result == CURLE_FILESIZE_EXCEEDED) {
    detail = "the body is larger than " + std::to_string(bodyCap_) + " bytes";
  }
  return Response::Failed(ClassifyFailure(result), std::move(detail));
}

std::shared_ptr<Response> CurlTransfer::Completed() {
  long status = 0;
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
  if (status <= 0) return Response::Failed(RequestError::kTransferFailed, "no HTTP answer");
  auto payload = RecycledMemory::Fill(body_.size(), [this](uint8_t* bytes, size_t size) {
    if (size > 0) std::memcpy(bytes, body_.data(), size);
    return true;
  });
  if (!payload) return Response::Failed(RequestError::kBodyTooLarge, "out of memory for the body");
  char* effective = nullptr;
  curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &effective);
  return Response::Completed(
      static_cast<int>(status), headers_.TakeHeaders(), std::move(payload),
      ImmutableString::CreateDynamic(effective != nullptr ? effective : request_.url.str()));
}

RequestError CurlTransfer::ClassifyFailure(CURLcode result) const {
  if (bodyTooLarge_ || result == CURLE_FILESIZE_EXCEEDED) return RequestError::kBodyTooLarge;
  if (sinkRefused_) return RequestError::kSinkRefused;
  if (headersTooLarge_) return RequestError::kTransferFailed;
  if (IsTlsFailure(result)) return RequestError::kTlsFailed;
  switch (result) {
    case CURLE_OPERATION_TIMEDOUT: return RequestError::kTimedOut;
    case CURLE_TOO_MANY_REDIRECTS: return RequestError::kTooManyRedirects;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT: return RequestError::kConnectFailed;
    default: return RequestError::kTransferFailed;
  }
}

}  // namespace zorvnet
