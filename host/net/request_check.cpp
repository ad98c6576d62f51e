#include "host/net/request_check.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

#include "host/net/curl_global.h"

namespace zorvnet {
namespace {

// The token characters of RFC 9110, section 5.6.2.
bool IsTokenChar(char c) {
  if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

std::string UrlPart(CURLU* url, CURLUPart part) {
  char* text = nullptr;
  if (curl_url_get(url, part, &text, 0) != CURLUE_OK || text == nullptr) return std::string();
  std::string copy(text);
  curl_free(text);
  return copy;
}

// The scheme of an absolute URL that names a host, lower-cased by libcurl; empty for anything else.
std::string SchemeOfAbsoluteURL(std::string_view text) {
  if (text.empty() || text.find('\0') != std::string_view::npos) return std::string();
  EnsureCurlInitialized();
  std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
  if (!url) return std::string();
  // Without a default scheme, curl_url_set refuses a relative or scheme-less URL.
  if (curl_url_set(url.get(), CURLUPART_URL, std::string(text).c_str(), 0) != CURLUE_OK) {
    return std::string();
  }
  if (UrlPart(url.get(), CURLUPART_HOST).empty()) return std::string();
  return UrlPart(url.get(), CURLUPART_SCHEME);
}

}  // namespace

bool IsHeaderName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), IsTokenChar);
}

bool IsHeaderValue(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool IsHttpURL(std::string_view text) {
  const std::string scheme = SchemeOfAbsoluteURL(text);
  return scheme == "http" || scheme == "https";
}

bool IsSecureURL(std::string_view text) { return SchemeOfAbsoluteURL(text) == "https"; }

zorvcore::Status CheckRequest(const Request& request) {
  using zorvcore::Status;
  const std::string_view method = request.method.view();
  if (method != "GET" && method != "POST" && method != "HEAD") {
    return Status::InvalidArgument("unsupported method '" + std::string(method) + "'");
  }
  if (!IsHttpURL(request.url.view())) {
    return Status::InvalidArgument("not an http or https URL: '" + request.url.str() + "'");
  }
  for (const auto& [name, value] : request.headers) {
    if (!IsHeaderName(name.view())) {
      return Status::InvalidArgument("malformed header name '" + name.str() + "'");
    }
    if (!IsHeaderValue(value.view())) {
      return Status::InvalidArgument("header '" + name.str() +
                                     "' has a line break or NUL in its value");
    }
  }
  return Status::OK();
}

}  // namespace zorvnet
