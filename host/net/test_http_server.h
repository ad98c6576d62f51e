// TestHttpServer: a cpp-httplib server on 127.0.0.1 for tests, plain or with TLS, that records the
// requests it answers. Test code only.
//
// Register handlers with Get/Post (which record each request before running the handler), then
// Start. HoldGet/HoldPost register a path that never answers until Release (or the server's end): the
// test learns through WaitUntilHeld that such requests came in, so it can act on a request in
// flight without guessing at timing.
//
// Thread safety: register handlers and Start on one thread; Requests, Url, WaitUntilHeld, Release
// may be called from any thread while the server runs.

#ifndef ZORVCAPSULE_HOST_NET_TEST_HTTP_SERVER_H_
#define ZORVCAPSULE_HOST_NET_TEST_HTTP_SERVER_H_

#include <httplib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/core/gate.h"
#include "host/net/test_tls_certificate.h"

namespace zorvnet::testing {

struct RecordedRequest {
  std::string method;
  std::string path;    // decoded path
  httplib::Headers headers;
  httplib::Params params;  // query and form parameters
  std::string target;      // path and query, as sent

  std::string Header(const std::string& name) const {
    const auto found = headers.find(name);  // httplib compares header names without case
    return found == headers.end() ? std::string() : found->second;
  }
  std::string Param(const std::string& name) const {
    const auto found = params.find(name);
    return found == params.end() ? std::string() : found->second;
  }
};

class TestHttpServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  TestHttpServer() : server_(std::make_unique<httplib::Server>()), scheme_("http") { Tune(); }
  explicit TestHttpServer(const TestCertificateFiles& files)
      : server_(std::make_unique<httplib::SSLServer>(files.certPath.c_str(),
                                                     files.keyPath.c_str())),
        scheme_("https") {
    Tune();
  }
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  ~TestHttpServer() {
    Release();
    if (thread_.joinable()) {
      server_->stop();
      thread_.join();
    }
  }

  void Get(const std::string& pattern, Handler handler) {
    server_->Get(pattern, Recorded(std::move(handler)));
  }
  void Post(const std::string& pattern, Handler handler) {
    server_->Post(pattern, Recorded(std::move(handler)));
  }

  // A GET (POST) of `pattern` is counted as held, then waits for Release before answering 200 "late".
  void HoldGet(const std::string& pattern) { Get(pattern, Held()); }
  void HoldPost(const std::string& pattern) { Post(pattern, Held()); }
  // Waits until `count` requests have reached HoldGet handlers; false if that takes over a minute
  // (a broken test, not a slow one).
  bool WaitUntilHeld(size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return heldChanged_.wait_for(lock, std::chrono::minutes(1), [&] { return held_ >= count; });
  }
  void Release() { release_->Open(); }

  // Binds a free port on 127.0.0.1 and serves on a thread of its own.
  void Start() {
    ASSERT_TRUE(server_->is_valid()) << "the server could not be set up";
    port_ = server_->bind_to_any_port("127.0.0.1");
    ASSERT_GT(port_, 0) << "could not bind a loopback port";
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() is ignored until the server runs; wait for that, so the destructor cannot miss it.
    while (!server_->is_running()) std::this_thread::yield();
  }

  int port() const { return port_; }
  std::string Url(const std::string& pathAndQuery) const {
    return scheme_ + "://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
  }

  std::vector<RecordedRequest> Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  std::vector<RecordedRequest> RequestsTo(const std::string& path) const {
    std::vector<RecordedRequest> matching;
    for (RecordedRequest& request : Requests()) {
      if (request.path == path) matching.push_back(std::move(request));
    }
    return matching;
  }
  size_t CountOf(const std::string& path) const { return RequestsTo(path).size(); }

 private:
  // One request per connection: an idle kept-alive connection would hold a worker thread (and the
  // server's stop) until its timeout. Enough workers for every test's requests at once.
  void Tune() {
    server_->set_keep_alive_max_count(1);
    server_->new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
  }
  static constexpr size_t kWorkers = 16;

  Handler Held() {
    return [this](const httplib::Request&, httplib::Response& res) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        ++held_;
      }
      heldChanged_.notify_all();
      release_->PassThrough(zorvcore::Gate::kWaitForever);
      res.set_content("late", "text/plain");
    };
  }

  httplib::Server::Handler Recorded(Handler handler) {
    return [this, handler = std::move(handler)](const httplib::Request& req,
                                                httplib::Response& res) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back({req.method, req.path, req.headers, req.params, req.target});
      }
      handler(req, res);
    };
  }

  std::unique_ptr<httplib::Server> server_;
  const std::string scheme_;
  int port_ = 0;
  std::thread thread_;
  const std::shared_ptr<zorvcore::Gate> release_ = std::make_shared<zorvcore::Gate>();
  mutable std::mutex mutex_;
  std::condition_variable heldChanged_;
  size_t held_ = 0;  // guarded by mutex_
  std::vector<RecordedRequest> requests_;  // guarded by mutex_
};

}  // namespace zorvnet::testing

#endif  // ZORVCAPSULE_HOST_NET_TEST_HTTP_SERVER_H_
