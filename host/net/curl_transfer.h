// CurlTransfer: one request as a libcurl easy handle, with what it has received so far.
//
// It is made on the thread that starts the request (so a malformed request is refused there and
// then) and from then on belongs to the processor's network thread, which adds its handle to the
// multi handle, lets libcurl feed it headers and body, and finally turns libcurl's result into the
// Response. Internal to the networking layer.
//
// Thread safety: none; one thread at a time (first the starter, then the network thread).

#ifndef ZORVCAPSULE_HOST_NET_CURL_TRANSFER_H_
#define ZORVCAPSULE_HOST_NET_CURL_TRANSFER_H_

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "host/core/guid.h"
#include "host/core/status.h"
#include "host/net/header_collector.h"
#include "host/net/request.h"
#include "host/net/request_processor.h"
#include "host/net/response.h"

namespace zorvnet {

class CurlTransfer {
 public:
  // Sets `*transfer` to the request's transfer. InvalidArgument when the request is malformed
  // (method, URL or header fields), IOError when libcurl cannot make or set up a handle.
  static zorvcore::Status Create(const zorvcore::Guid& id, Request request,
                                 RequestCallback callback, std::unique_ptr<CurlTransfer>* transfer);
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;
  ~CurlTransfer();

  const zorvcore::Guid& id() const { return id_; }
  CURL* handle() const { return easy_; }
  const zorvcore::ImmutableString& url() const { return request_.url; }

  // The response for libcurl's final result.
  std::shared_ptr<Response> Finish(CURLcode result);

  RequestCallback TakeCallback() { return std::move(callback_); }

 private:
  CurlTransfer(const zorvcore::Guid& id, Request request, RequestCallback callback, CURL* easy);

  zorvcore::Status Configure();
  zorvcore::Status SetHeaderList();
  bool TakeHeaderLine(const char* data, size_t size);
  bool TakeBodyBytes(const char* data, size_t size);
  bool CurrentAnswerIsSuccess() const;
  RequestError ClassifyFailure(CURLcode result) const;
  std::shared_ptr<Response> Completed();

  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static size_t OnBody(char* data, size_t size, size_t count, void* self);

  const zorvcore::Guid id_;
  const Request request_;
  RequestCallback callback_;
  CURL* const easy_;
  curl_slist* headerList_ = nullptr;
  char errorBuffer_[CURL_ERROR_SIZE] = {};

  HeaderCollector headers_;
  std::string body_;
  const int64_t bodyCap_;
  bool bodyTooLarge_ = false;
  bool sinkRefused_ = false;
  bool headersTooLarge_ = false;
};

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_CURL_TRANSFER_H_
