#include "capsule/ui_string_json.h"

#include <utility>
#include <vector>

#include "capsule/capsule_json_keys.h"
#include "capsule/list_conversion.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;

LocStrPair LocStrPairFromJson(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  LocStrPair pair;
  if (auto locale = ReadUTF16Member(object, CAPSULE_LOCALE_STR)) pair.locale = std::move(*locale);
  if (auto text = ReadUTF16Member(object, CAPSULE_STR_STR)) pair.text = std::move(*text);
  return pair;
}

JSONValuePtr LocStrPairToJson(const LocStrPair& pair) {
  JSONObject object;
  zs::AddToObject(object, CAPSULE_LOCALE_STR, zs::MakeJSONString(std::u16string_view(pair.locale)));
  zs::AddToObject(object, CAPSULE_STR_STR, zs::MakeJSONString(std::u16string_view(pair.text)));
  return zs::MakeJSONObject(std::move(object));
}

UIString UIStringFromJson(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  UIString text;
  const JSONArray* pairs = ReadArrayMember(object, CAPSULE_STRDB_STR);
  if (pairs == nullptr) return text;
  for (LocStrPair& pair : ConvertList<LocStrPair>(*pairs, LocStrPairFromJson)) {
    text.SetString(pair.locale, std::move(pair.text));
  }
  return text;
}

JSONValuePtr UIStringToJson(const UIString& text) {
  std::vector<LocStrPair> pairs;
  pairs.reserve(text.Size());
  for (const auto& [locale, str] : text.GetLocaleMap()) pairs.emplace_back(locale, str);
  JSONObject object;
  zs::AddToObject(object, CAPSULE_STRDB_STR,
                  zs::MakeJSONArray(ConvertList<JSONValuePtr>(pairs, LocStrPairToJson)));
  return zs::MakeJSONObject(std::move(object));
}

std::optional<UIString> ReadUIStringMember(const JSONObject& object, std::string_view key) {
  const JSONValuePtr* value = FindMember(object, key);
  if (value == nullptr) return std::nullopt;
  return UIStringFromJson(*value);
}

}  // namespace zorvcapsule::serialization
