#include "tools/stock_serve_account.h"

#include <openssl/rand.h>

#include <stdexcept>
#include <vector>

#include "host/core/json_value.h"
#include "host/core/json_write.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;

constexpr size_t kSecretBytes = 16;

}  // namespace

std::string RandomHex(size_t bytes) {
  std::vector<unsigned char> random(bytes);
  if (bytes > 0 && RAND_bytes(random.data(), static_cast<int>(bytes)) != 1) {
    throw std::runtime_error("the system's random generator failed");
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes * 2);
  for (const unsigned char byte : random) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0xF]);
  }
  return text;
}

ServedAccount MakeServedAccount() {
  return {"capsule-stock-serve", RandomHex(kSecretBytes), RandomHex(kSecretBytes), RandomHex(kSecretBytes),
          RandomHex(kSecretBytes)};
}

std::string ConnectionRecordJSON(const ServedAccount& account) {
  json::JSONObject record;
  json::AddToObject(record, "product", json::MakeJSONString("capsule"));
  json::AddToObject(record, "productLocation", json::MakeJSONString("capsule/stock serve"));
  json::AddToObject(record, "tokenParamAProduction", json::MakeJSONString("production-a"));
  json::AddToObject(record, "tokenParamAStage", json::MakeJSONString("stage-a"));
  json::AddToObject(record, "tokenParamBProduction", json::MakeJSONString("production-b"));
  json::AddToObject(record, "tokenParamBStage", json::MakeJSONString("stage-b"));
  json::AddToObject(record, "apiKeyProduction", json::MakeJSONString(account.apiKeyProduction));
  json::AddToObject(record, "apiKeyStage", json::MakeJSONString(account.apiKeyStage));
  json::AddToObject(record, "galleryId", json::MakeJSONString("local"));
  // Not 7: that would ask for the editing application's templates only, and hide the others.
  json::AddToObject(record, "templateTypeId", json::MakeJSONInt64(1));
  return json::GetJSONUTF8String(json::JSONValue(std::move(record)), true);
}

}  // namespace capsuletool
