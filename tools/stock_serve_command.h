// `capsule stock serve FOLDER [--port N] [--state DIR] [--latency MS] [--fail-rate P] [--seed S]`:
// the stock service and its identity service on 127.0.0.1, serving the templates of FOLDER, for
// host developers working offline and for trying a host's failure paths on purpose.
//
// At start it makes a self-signed certificate (host/loopback/tls_certificate.h), the account
// (tools/stock_serve_account.h) and its connection record in the state folder (by default a new
// folder in the system temporary folder, removed at the end; a folder given with --state is kept),
// lists FOLDER as the catalogue does (tools/stock_serve_catalogue.h), and serves over HTTPS on port
// N (default: a free one). Then it prints one JSON line on standard output:
//
//   {"settings": {"Stock.ServiceURL": ..., "Stock.StageServiceURL": ..., "Identity.ServiceURL": ...,
//    "Identity.StageServiceURL": ..., "Net.CAFile": ...}, "credential": ..., "clientId": ...,
//    "connection": <path of the connection record>}
//
// With those settings (`capsule --set KEY=VALUE`), that connection record, credential and client ID,
// every stock operation of the library works against it. It logs one line per request on standard
// error and runs until SIGINT or SIGTERM, then exits with status 0. See tools/stock_serve_server.h
// for what it answers and tools/stock_serve_policy.h for --latency, --fail-rate and --seed.
//
// Thread safety: run from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_COMMAND_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_COMMAND_H_

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace capsuletool {

struct StockServeOptions {
  std::string folder;
  int port = 0;  // 0: a free port
  std::optional<std::string> state;
  int64_t latencyMs = 0;
  double failRate = 0;
  uint64_t seed = 1;
};

// Returns the exit status.
int RunStockServeCommand(const StockServeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_COMMAND_H_
