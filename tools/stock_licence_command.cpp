#include "tools/stock_licence_command.h"

#include "host/core/json_value.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"
#include "stock/stock_asset_license_info.h"
#include "stock/stock_licensing.h"
#include "tools/diagnostics_collector.h"
#include "tools/exit_status.h"
#include "tools/text_table.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;
using zorvcapsule::StockAssetLicenseInfo;

// The library leaves the record as it was when no answer came. An answer's message is converted
// from UTF-8, which can never yield a lone surrogate, so a message preset to one tells the two apart.
const std::u16string kNoAnswer(1, u'\xD800');

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

}  // namespace

int RunStockLicenceCommand(const StockLicenceOptions& options, std::ostream& out, std::ostream& err) {
  StockIdentity identity;
  if (const auto status = LoadStockIdentity(options.identity, identity, err)) return *status;
  StockAssetLicenseInfo info;
  info.message = kNoAnswer;
  {
    DiagnosticsCollector diagnostics;
    zorvcapsule::GetLicesneInfo(zorvcore::UTF8ToUTF16(options.id), identity.clientId, identity.credential,
                                identity.connection, info, identity.token);
    PrintDiagnostics(diagnostics, options.id, err);
  }
  if (info.message == kNoAnswer) {
    PrintError(err, options.id, "the stock service gave no licence information");
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
