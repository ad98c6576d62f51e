#include "tools/stock_identity.h"

#include <stdlib.h>

#include <fstream>
#include <limits>
#include <sstream>

#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/core/unicode.h"
#include "tools/exit_status.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;
using zorvcapsule::ClientStockConnection;
using zorvcore::ImmutableString;
using zorvcore::Status;

// A connection file is a handful of short texts; anything larger is not one.
constexpr std::streamsize kMaxConnectionFileBytes = 1 << 20;

const std::pair<const char*, ImmutableString ClientStockConnection::*> kTextFields[] = {
    {"product", &ClientStockConnection::product},
    {"productLocation", &ClientStockConnection::productLocation},
    {"tokenParamAProduction", &ClientStockConnection::tokenParamAProduction},
    {"tokenParamAStage", &ClientStockConnection::tokenParamAStage},
    {"tokenParamBProduction", &ClientStockConnection::tokenParamBProduction},
    {"tokenParamBStage", &ClientStockConnection::tokenParamBStage},
    {"apiKeyProduction", &ClientStockConnection::apiKeyProduction},
    {"apiKeyStage", &ClientStockConnection::apiKeyStage},
};

// Sets the member `key` of `connection`; InvalidArgument for an unknown key or a wrong type.
Status SetField(ClientStockConnection& connection, const std::string& key, const json::JSONValuePtr& value) {
  for (const auto& [name, field] : kTextFields) {
    if (key != name) continue;
    if (!value->IsString()) return Status::InvalidArgument("\"" + key + "\" must be a text");
    connection.*field = ImmutableString::CreateDynamic(json::AsString(value));
    return Status::OK();
  }
  if (key == "galleryId") {
    if (!value->IsString()) return Status::InvalidArgument("\"galleryId\" must be a text");
    connection.galleryId = json::AsString(value);
    return Status::OK();
  }
  if (key == "templateTypeId") {
    if (!value->IsInt64() || json::AsInt64(value) < std::numeric_limits<int32_t>::min() ||
        json::AsInt64(value) > std::numeric_limits<int32_t>::max()) {
      return Status::InvalidArgument("\"templateTypeId\" must be a 32-bit integer");
    }
    connection.templateTypeId = static_cast<int32_t>(json::AsInt64(value));
    return Status::OK();
  }
  return Status::InvalidArgument("unknown member \"" + key + "\"");
}

std::optional<std::string> ReadSmallFile(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return std::nullopt;
  std::string text(static_cast<size_t>(kMaxConnectionFileBytes) + 1, '\0');
  stream.read(text.data(), kMaxConnectionFileBytes + 1);
  if (stream.bad()) return std::nullopt;
  text.resize(static_cast<size_t>(stream.gcount()));
  return text;
}

std::optional<std::string> FromOptionOrEnvironment(const std::optional<std::string>& option, const char* variable) {
  if (option) return option;
  if (const char* value = ::getenv(variable); value != nullptr && *value != '\0') return std::string(value);
  return std::nullopt;
}

}  // namespace

Status ParseStockConnection(const std::string& text, std::shared_ptr<ClientStockConnection>* connection) {
  const json::JSONValuePtr root = json::JSONParse(text);
  if (!root || !root->IsObject()) return Status::InvalidArgument("not a JSON object");
  auto parsed = std::make_shared<ClientStockConnection>();
  for (const auto& [key, value] : json::AsObject(root)) {
    if (Status set = SetField(*parsed, key, value); !set.ok()) return set;
  }
  *connection = std::move(parsed);
  return Status::OK();
}

std::optional<int> LoadStockIdentity(const StockIdentityOptions& options, StockIdentity& identity,
                                     std::ostream& err) {
  if (options.connectionFile.empty()) {
    identity.connection = std::make_shared<ClientStockConnection>();
  } else {
    const std::optional<std::string> text = ReadSmallFile(options.connectionFile);
    if (!text) {
      PrintError(err, options.connectionFile, "cannot read the connection file");
      return kExitFailed;
    }
    if (text->size() > static_cast<size_t>(kMaxConnectionFileBytes)) {
      PrintError(err, options.connectionFile, "too large for a connection file");
      return kExitFailed;
    }
    if (const Status parsed = ParseStockConnection(*text, &identity.connection); !parsed.ok()) {
      PrintError(err, options.connectionFile, "not a connection file: " + parsed.message());
      return kExitFailed;
    }
  }
  identity.clientId = options.clientId;
  const auto token = FromOptionOrEnvironment(options.token, kStockTokenVariable);
  const auto credential = FromOptionOrEnvironment(options.credential, kStockCredentialVariable);
  if (!token && !credential) {
    PrintError(err, "stock",
               std::string("the stock service needs an access token or a user credential: give --token or "
                           "--credential, or set ") +
                   kStockTokenVariable + " or " + kStockCredentialVariable);
    return kExitFailed;
  }
  identity.token = token ? zorvcore::UTF8ToUTF16(*token) : std::u16string();
  identity.credential = credential.value_or(std::string());
  return std::nullopt;
}

}  // namespace capsuletool
