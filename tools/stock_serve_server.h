// StockServeServer: the HTTPS server of `capsule stock serve` on 127.0.0.1, with the routes of the
// stock and identity services in both trees and of the files (tools/stock_serve_addresses.h).
//
// Every answer waits out the policy's latency first; every request is logged as one line on the
// given stream once answered ("GET /path?query 200"). Connections are kept alive for a second at
// most, so that stopping never waits long for an idle client.
//
// Thread safety: Bind, Start and Stop on one thread (Stop also runs on destruction); the handlers
// run on the server's worker threads.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_SERVER_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_SERVER_H_

#include <httplib.h>

#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include "host/core/status.h"
#include "host/loopback/tls_certificate.h"
#include "tools/stock_serve_state.h"

namespace capsuletool {

using zorvloopback::CertificateFiles;

class StockServeServer {
 public:
  explicit StockServeServer(const CertificateFiles& certificate);
  StockServeServer(const StockServeServer&) = delete;
  StockServeServer& operator=(const StockServeServer&) = delete;
  ~StockServeServer();

  // Binds 127.0.0.1:`port` (0: a free port) and sets `*bound` to the port bound.
  zorvcore::Status Bind(int port, int* bound);
  // Serves `stock` on a thread of its own until Stop.
  // REQUIRES: Bind succeeded; `stock` and `log` outlive Stop.
  void Start(ServedStock& stock, std::ostream& log);
  // Stops accepting, finishes the requests in progress and ends the thread.
  void Stop();

 private:
  void Route(ServedStock& stock, bool stage);
  void RouteFiles(ServedStock& stock);

  httplib::SSLServer server_;
  std::thread thread_;
  std::mutex logMutex_;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_SERVER_H_
