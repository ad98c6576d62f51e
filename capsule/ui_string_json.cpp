#include "capsule/ui_string_json.h"

#include <utility>
#include <vector>

#include "capsule/capsule_json_keys.h"
#include "capsule/json_node.h"
#include "capsule/list_conversion.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;

LocStrPair LocStrPairFromJson(const JsonNode& value) {
  value.RequireObject();
  LocStrPair pair;
  if (auto locale = ReadUTF16Member(value, CAPSULE_LOCALE_STR)) pair.locale = std::move(*locale);
  if (auto text = ReadUTF16Member(value, CAPSULE_STR_STR)) pair.text = std::move(*text);
  return pair;
}

LocStrPair LocStrPairFromJson(const JSONValuePtr& value) {
  return LocStrPairFromJson(JsonNode::TreeRoot(value));
}

JSONValuePtr LocStrPairToJson(const LocStrPair& pair) {
  JSONObject object;
  zs::AddToObject(object, CAPSULE_LOCALE_STR, zs::MakeJSONString(std::u16string_view(pair.locale)));
  zs::AddToObject(object, CAPSULE_STR_STR, zs::MakeJSONString(std::u16string_view(pair.text)));
  return zs::MakeJSONObject(std::move(object));
}

UIString UIStringFromJson(const JsonNode& value) {
  value.RequireObject();
  UIString text;
  const std::optional<JsonNode> pairs = value.Member(CAPSULE_STRDB_STR);
  if (!pairs) return text;
  const auto read = [](const JsonNode& pair) { return LocStrPairFromJson(pair); };
  for (LocStrPair& pair : ConvertElements<LocStrPair>(*pairs, read)) {
    text.SetString(pair.locale, std::move(pair.text));
  }
  return text;
}

UIString UIStringFromJson(const JSONValuePtr& value) { return UIStringFromJson(JsonNode::TreeRoot(value)); }

JSONValuePtr UIStringToJson(const UIString& text) {
  std::vector<LocStrPair> pairs;
  pairs.reserve(text.Size());
  for (const auto& [locale, str] : text.GetLocaleMap()) pairs.emplace_back(locale, str);
  JSONObject object;
  zs::AddToObject(object, CAPSULE_STRDB_STR,
                  zs::MakeJSONArray(ConvertList<JSONValuePtr>(pairs, LocStrPairToJson)));
  return zs::MakeJSONObject(std::move(object));
}

std::optional<UIString> ReadUIStringMember(const JsonNode& object, std::string_view key) {
  const std::optional<JsonNode> value = object.Member(key);
  if (!value) return std::nullopt;
  return UIStringFromJson(*value);
}

std::optional<UIString> ReadUIStringMember(const JSONObject& object, std::string_view key) {
  const JSONValuePtr* value = FindMember(object, key);
  if (value == nullptr) return std::nullopt;
  return UIStringFromJson(*value);
}

}  // namespace zorvcapsule::serialization
