#include "host/qvlib/manifest.h"

#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/qvlib/library_layout.h"
#include "host/qvlib/regular_file_reader.h"

namespace zorvqvlib {

std::optional<std::string> ReadManifestName(const std::string& resolvedPath) {
  namespace json = zorvcore::serialization;
  const std::optional<std::string> text = ReadRegularFile(resolvedPath, kMaxManifestBytes, FinalLink::kRefuse);
  if (!text) return std::nullopt;
  const json::JSONValuePtr root = json::JSONParse(*text);
  if (!root || !root->IsObject()) return std::nullopt;
  const json::JSONObject& object = json::AsObject(root);
  const auto name = object.find(kManifestNameKey);
  if (name == object.end()) return std::string();
  if (!name->second || !name->second->IsString()) return std::nullopt;
  return json::AsString(name->second);
}

}  // namespace zorvqvlib
