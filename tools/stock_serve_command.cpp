#include "tools/stock_serve_command.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "host/appsupport/ident_connection.h"
#include "host/core/file_helper_utils.h"
#include "host/core/json_value.h"
#include "host/core/json_write.h"
#include "stock/stock_service.h"
#include "tools/diagnostics_collector.h"
#include "tools/exit_status.h"
#include "tools/package_file_check.h"
#include "tools/stock_serve_server.h"
#include "tools/temporary_folder.h"
#include "tools/termination_signal.h"
#include "host/loopback/tls_certificate.h"

namespace capsuletool {
namespace {

namespace fs = std::filesystem;
using zorvloopback::WriteSelfSignedCertificate;
namespace json = zorvcore::serialization;

constexpr const char* kSubject = "stock serve";
constexpr const char* kCAFileSetting = "Net.CAFile";
constexpr size_t kFilesRootBytes = 16;

// The state folder: the one given with --state (made when missing, kept), or a temporary one.
class StateFolder {
 public:
  explicit StateFolder(const std::optional<std::string>& given) {
    if (!given) {
      temporary_ = std::make_unique<TemporaryFolder>("capsule-stock-");
      path_ = temporary_->Path();
      return;
    }
    std::error_code error;
    const fs::path path = fs::absolute(fs::path(*given), error).lexically_normal();
    if (!error) fs::create_directories(path, error);
    if (!error && fs::is_directory(path, error)) path_ = path;
  }
  // Empty when the folder could not be made.
  const fs::path& Path() const { return path_; }

 private:
  std::unique_ptr<TemporaryFolder> temporary_;
  fs::path path_;
};

// The folder as the catalogue names it: a full path without a trailing separator.
std::u16string FullFolderPath(const std::string& folder) {
  std::error_code error;
  std::u16string text =
      zorvcore::FileHelperUtils::StdPathToUTF16(fs::absolute(fs::path(folder), error).lexically_normal());
  while (text.size() > 1 && text.back() == u'/') text.pop_back();
  return text;
}

bool WriteTextFile(const fs::path& path, const std::string& text) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream << text << '\n';
  stream.close();
  return static_cast<bool>(stream);
}

std::string StartLine(const ServedAddresses& addresses, const CertificateFiles& certificate,
                      const ServedAccount& account, const fs::path& connection) {
  json::JSONObject settings;
  using zorvappsupport::IdentConnection;
  json::AddToObject(settings, zorvcapsule::kStockServiceURLSetting, json::MakeJSONString(addresses.ServiceURL(false)));
  json::AddToObject(settings, zorvcapsule::kStockStageServiceURLSetting,
                    json::MakeJSONString(addresses.ServiceURL(true)));
  json::AddToObject(settings, IdentConnection::kServiceURLSetting, json::MakeJSONString(addresses.IdentityURL(false)));
  json::AddToObject(settings, IdentConnection::kStageServiceURLSetting,
                    json::MakeJSONString(addresses.IdentityURL(true)));
  json::AddToObject(settings, kCAFileSetting, json::MakeJSONString(certificate.certPath));
  json::JSONObject line;
  json::AddToObject(line, "settings", json::MakeJSONObject(std::move(settings)));
  json::AddToObject(line, "credential", json::MakeJSONString(account.credential));
  json::AddToObject(line, "clientId", json::MakeJSONString(account.clientId));
  json::AddToObject(line, "connection", json::MakeJSONString(connection.string()));
  return json::GetJSONUTF8String(json::JSONValue(std::move(line)), false);
}

// Serves `catalogue` until a termination signal; returns the exit status.
int Serve(const StockServeOptions& options, const ServedCatalogue& catalogue, const CertificateFiles& certificate,
          const ServedAccount& account, const fs::path& connection, TerminationSignal& signal, std::ostream& out,
          std::ostream& err) {
  StockServeServer server(certificate);
  int port = 0;
  if (const zorvcore::Status bound = server.Bind(options.port, &port); !bound.ok()) {
    PrintError(err, kSubject, bound.message());
    return kExitFailed;
  }
  const ServedAddresses addresses(port, RandomHex(kFilesRootBytes));
  ServePolicy policy(std::chrono::milliseconds(options.latencyMs), options.failRate, options.seed);
  ServedStock stock{catalogue, account, addresses, policy, {}};
  server.Start(stock, err);
  out << StartLine(addresses, certificate, account, connection) << std::endl;
  err << "serving " << catalogue.Size() << (catalogue.Size() == 1 ? " template" : " templates") << " of "
      << options.folder << " at " << addresses.Origin() << " until interrupted" << std::endl;
  signal.Wait();
  server.Stop();
  return out ? kExitSuccess : kExitFailed;
}

}  // namespace

int RunStockServeCommand(const StockServeOptions& options, std::ostream& out, std::ostream& err) {
  if (const zorvcore::Status checked = CheckFolder(options.folder); !checked.ok()) {
    PrintError(err, options.folder, checked.message());
    return kExitFailed;
  }
  // From here on an interruption ends the command through its clean-up, not in the middle of it.
  TerminationSignal signal;
  const StateFolder state(options.state);
  if (state.Path().empty()) {
    PrintError(err, options.state.value_or(kSubject), "cannot make the state folder");
    return kExitFailed;
  }
  std::string problem;
  const auto certificate = WriteSelfSignedCertificate(state.Path(), "stock-serve", "IP:127.0.0.1", problem);
  if (!certificate) {
    PrintError(err, kSubject, problem);
    return kExitFailed;
  }
  const ServedAccount account = MakeServedAccount();
  const fs::path connection = state.Path() / "connection.json";
  if (!WriteTextFile(connection, ConnectionRecordJSON(account))) {
    PrintError(err, connection.string(), "cannot write the connection record");
    return kExitFailed;
  }
  // Declared before the catalogue so that it outlives the manager's threads, which report to it.
  DiagnosticsCollector diagnostics;
  TerminalProgress progress;
  const ServedCatalogue catalogue(FullFolderPath(options.folder),
                                  zorvcore::FileHelperUtils::StdPathToUTF16(state.Path() / "catalogue-index.db"),
                                  diagnostics, progress);
  // A package that stops the listing is reported; the templates listed before it are served.
  PrintDiagnostics(diagnostics, options.folder, err);
  if (!catalogue.Complete()) {
    PrintError(err, options.folder, "the catalogue's listing never arrived");
    return kExitFailed;
  }
  return Serve(options, catalogue, *certificate, account, connection, signal, out, err);
}

}  // namespace capsuletool
