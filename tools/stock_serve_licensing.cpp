#include "tools/stock_serve_licensing.h"

#include <time.h>

#include <optional>

#include "host/core/json_value.h"
#include "tools/stock_serve_reply.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;

// The asset the text names, or nullopt after answering 404.
std::optional<int32_t> KnownAsset(const ServedStock& stock, const std::string& text, httplib::Response& res) {
  const std::optional<int32_t> id = ParseAssetId(text);
  if (!id || !stock.catalogue.Find(*id)) {
    SetErrorReply(res, 404, "content_not_found", "no asset with the ID \"" + text + "\"");
    return std::nullopt;
  }
  return id;
}

std::string UtcNow() {
  const time_t now = ::time(nullptr);
  struct tm parts = {};
  ::gmtime_r(&now, &parts);
  char text[32];
  ::strftime(text, sizeof(text), "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

json::JSONValuePtr Entitlement() {
  json::JSONObject entitlement;
  json::AddToObject(entitlement, "quota", json::MakeJSONInt64(0));
  json::AddToObject(entitlement, "has_credit_model", json::MakeJSONBool(false));
  json::AddToObject(entitlement, "has_agency_model", json::MakeJSONBool(false));
  json::AddToObject(entitlement, "is_cce", json::MakeJSONBool(false));
  return json::MakeJSONObject(std::move(entitlement));
}

json::JSONValuePtr PurchaseOptions(bool licensed) {
  json::JSONObject options;
  json::AddToObject(options, "state", json::MakeJSONString(licensed ? "purchased" : "possible"));
  json::AddToObject(options, "requires_checkout", json::MakeJSONBool(false));
  json::AddToObject(options, "message", json::MakeJSONString(licensed ? "This template is licensed to your account."
                                                                      : "This template can be licensed at no cost."));
  json::AddToObject(options, "url", json::MakeJSONString(""));
  return json::MakeJSONObject(std::move(options));
}

json::JSONValuePtr LicensedContent(const ServedStock& stock, bool stage, int32_t id, bool justLicensed) {
  const auto entry = stock.catalogue.Find(id);
  json::JSONObject details;
  json::AddToObject(details, "state", json::MakeJSONString(justLicensed ? "just_purchased" : "already_purchased"));
  json::AddToObject(details, "license", json::MakeJSONString("Standard"));
  json::AddToObject(details, "date", json::MakeJSONString(UtcNow()));
  json::AddToObject(details, "url", json::MakeJSONString(stock.addresses.DownloadURL(stage, id)));
  json::AddToObject(details, "content_type", json::MakeJSONString("application/zip"));
  json::AddToObject(details, "width", json::MakeJSONInt64(entry->frameWidth));
  json::AddToObject(details, "height", json::MakeJSONInt64(entry->frameHeight));
  json::AddToObject(details, "duration", json::MakeJSONInt64(entry->durationMs));
  json::JSONObject content;
  json::AddToObject(content, "content_id", json::MakeJSONString(std::to_string(id)));
  json::AddToObject(content, "size", json::MakeJSONString(std::to_string(entry->fileSize)));
  json::AddToObject(content, "purchase_details", json::MakeJSONObject(std::move(details)));
  return json::MakeJSONObject(std::move(content));
}

}  // namespace

void HandleMemberProfile(ServedStock& stock, const httplib::Request& req, httplib::Response& res) {
  const auto id = KnownAsset(stock, req.get_param_value("content_id"), res);
  if (!id) return;
  json::JSONObject profile;
  json::AddToObject(profile, "available_entitlement", Entitlement());
  json::AddToObject(profile, "purchase_options", PurchaseOptions(stock.licences.IsLicensed(*id)));
  SetJSONReply(res, json::MakeJSONObject(std::move(profile)));
}

void HandleContentLicense(ServedStock& stock, bool stage, const httplib::Request& req, httplib::Response& res) {
  const auto id = KnownAsset(stock, req.get_param_value("content_id"), res);
  if (!id) return;
  const bool justLicensed = stock.licences.License(*id);
  json::JSONObject contents;
  json::AddToObject(contents, std::to_string(*id), LicensedContent(stock, stage, *id, justLicensed));
  json::JSONObject reply;
  json::AddToObject(reply, "contents", json::MakeJSONObject(std::move(contents)));
  SetJSONReply(res, json::MakeJSONObject(std::move(reply)));
}

void HandleDownloadRedirect(ServedStock& stock, const std::string& assetId, httplib::Response& res) {
  const auto id = KnownAsset(stock, assetId, res);
  if (!id) return;
  if (!stock.licences.IsLicensed(*id)) {
    SetErrorReply(res, 403, "content_not_licensed", "license asset " + assetId + " before downloading it");
    return;
  }
  res.set_redirect(stock.addresses.PackageURL(*id), 302);
}

}  // namespace capsuletool
