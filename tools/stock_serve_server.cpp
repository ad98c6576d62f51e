#include "tools/stock_serve_server.h"

#include "tools/stock_serve_access.h"
#include "tools/stock_serve_files.h"
#include "tools/stock_serve_identity.h"
#include "tools/stock_serve_licensing.h"
#include "tools/stock_serve_search.h"

namespace capsuletool {
namespace {

constexpr size_t kWorkers = 16;
constexpr time_t kKeepAliveSeconds = 1;

}  // namespace

StockServeServer::StockServeServer(const CertificateFiles& certificate)
    : server_(certificate.certPath.c_str(), certificate.keyPath.c_str()) {
  server_.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
  server_.set_keep_alive_timeout(kKeepAliveSeconds);
}

StockServeServer::~StockServeServer() { Stop(); }

zorvcore::Status StockServeServer::Bind(int port, int* bound) {
  using zorvcore::Status;
  if (!server_.is_valid()) return Status::IOError("the TLS server could not load its certificate");
  if (port == 0) {
    *bound = server_.bind_to_any_port("127.0.0.1");
    return *bound > 0 ? Status::OK() : Status::Busy("no free port on 127.0.0.1");
  }
  if (!server_.bind_to_port("127.0.0.1", port)) {
    return Status::Busy("cannot listen on 127.0.0.1:" + std::to_string(port));
  }
  *bound = port;
  return Status::OK();
}

void StockServeServer::Start(ServedStock& stock, std::ostream& log) {
  server_.set_pre_routing_handler([&stock](const httplib::Request&, httplib::Response&) {
    stock.policy.Delay();
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server_.set_logger([this, &log](const httplib::Request& req, const httplib::Response& res) {
    std::lock_guard<std::mutex> lock(logMutex_);
    log << req.method << ' ' << req.target << ' ' << res.status << std::endl;
  });
  Route(stock, false);
  Route(stock, true);
  RouteFiles(stock);
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // stop() is ignored until the server runs; wait for that, so that Stop cannot miss it.
  while (!server_.is_running()) std::this_thread::yield();
}

void StockServeServer::Stop() {
  if (!thread_.joinable()) return;
  server_.stop();
  thread_.join();
}

void StockServeServer::Route(ServedStock& stock, bool stage) {
  const std::string tree = ServedAddresses::Tree(stage);
  server_.Post(tree + kIdentityPath, [&stock](const httplib::Request& req, httplib::Response& res) {
    HandleTokenRequest(stock.account, req, res);
  });
  server_.Get(tree + kFileSearchPath, [&stock, stage](const httplib::Request& req, httplib::Response& res) {
    if (AdmitAccountRequest(stock, stage, req, res)) HandleFileSearch(stock, req, res);
  });
  server_.Get(tree + kMemberProfilePath, [&stock, stage](const httplib::Request& req, httplib::Response& res) {
    if (AdmitAccountRequest(stock, stage, req, res)) HandleMemberProfile(stock, req, res);
  });
  server_.Get(tree + kContentLicensePath, [&stock, stage](const httplib::Request& req, httplib::Response& res) {
    if (AdmitAccountRequest(stock, stage, req, res)) HandleContentLicense(stock, stage, req, res);
  });
  server_.Get(tree + kDownloadPath + "/([^/]+)/1",
              [&stock, stage](const httplib::Request& req, httplib::Response& res) {
                if (AdmitAccountRequest(stock, stage, req, res)) HandleDownloadRedirect(stock, req.matches[1], res);
              });
}

void StockServeServer::RouteFiles(ServedStock& stock) {
  const std::string root = stock.addresses.FilesRoot();
  server_.Get(root + "/assets/([^/]+)/([^/]+)", [&stock](const httplib::Request& req, httplib::Response& res) {
    HandleAssetMember(stock, req.matches[1], req.matches[2], req, res);
  });
  server_.Get(root + "/packages/([^/]+)\\.tplx", [&stock](const httplib::Request& req, httplib::Response& res) {
    HandlePackage(stock, req.matches[1], res);
  });
}

}  // namespace capsuletool
