#include "tools/stock_licence_command.h"

#include "host/core/json_value.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"
#include "stock/stock_asset_license_info.h"
#include "stock/stock_licensing.h"
#include "tools/diagnostics_collector.h"
#include "tools/exit_status.h"
#include "tools/stock_service_paths.h"
#include "tools/text_table.h"
#include "tools/transfer_watch.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;
using zorvcapsule::StockAssetLicenseInfo;

std::string LicenceJSON(const StockAssetLicenseInfo& info) {
  json::JSONObject object;
  json::AddToObject(object, "canPurchase", json::MakeJSONBool(info.canPurchase));
  json::AddToObject(object, "needsCheckout", json::MakeJSONBool(info.needsCheckout));
  json::AddToObject(object, "message", json::MakeJSONString(std::u16string_view(info.message)));
  json::AddToObject(object, "purchaseURL", json::MakeJSONString(std::u16string_view(info.purchaseURL)));
  return json::GetJSONUTF8String(json::JSONValue(std::move(object)), true);
}

void WriteLicenceText(std::ostream& out, const std::string& id, const StockAssetLicenseInfo& info) {
  const auto text = [](const std::u16string& value) { return value.empty() ? "-" : zorvcore::UTF16ToUTF8(value); };
  out << "Asset " << id << '\n';
  WriteTable(out,
             {{"  can purchase:", info.canPurchase ? "yes" : "no"},
              {"  needs checkout:", info.needsCheckout ? "yes" : "no"},
              {"  message:", text(info.message)},
              {"  purchase URL:", text(info.purchaseURL)}},
             {});
}

// Asks the library for the licence record; OK when the service answered. The library leaves the
// record untouched without an answer and reports a reply it cannot read, so the answer is a 2xx
// reply to the profile request that drew no report.
zorvcore::Status RequestLicence(const StockLicenceOptions& options, const StockIdentity& identity,
                                StockAssetLicenseInfo* info, std::ostream& err) {
  const TransferWatch profile(kMemberProfilePath);
  const DiagnosticsCollector diagnostics;
  zorvcapsule::GetLicesneInfo(zorvcore::UTF8ToUTF16(options.id), identity.clientId, identity.credential,
                              identity.connection, *info, identity.token);
  const bool reported = PrintDiagnostics(diagnostics, options.id, err);
  const zorvcore::Status outcome = profile.LastOutcome();
  if (outcome.ok() && reported) return zorvcore::Status::Corruption("the reply could not be read");
  return outcome;
}

}  // namespace

int RunStockLicenceCommand(const StockLicenceOptions& options, std::ostream& out, std::ostream& err) {
  StockIdentity identity;
  if (const auto status = LoadStockIdentity(options.identity, identity, err)) return *status;
  StockAssetLicenseInfo info;
  if (const zorvcore::Status status = RequestLicence(options, identity, &info, err); !status.ok()) {
    PrintError(err, options.id, "the stock service gave no licence information (" + status.message() + ")");
    return kExitFailed;
  }
  if (options.json) {
    out << LicenceJSON(info) << '\n';
  } else {
    WriteLicenceText(out, options.id, info);
  }
  out.flush();
  return out ? kExitSuccess : kExitFailed;
}

}  // namespace capsuletool
