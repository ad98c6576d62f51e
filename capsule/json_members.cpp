#include "capsule/json_members.h"

#include "capsule/list_conversion.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;

namespace {

[[noreturn]] void ThrowBadCast() { throw zs::BadCastError(); }

template <typename T, typename Read>
std::optional<T> ReadMember(const JSONObject& object, std::string_view key, Read read) {
  const JSONValuePtr* value = FindMember(object, key);
  if (value == nullptr) return std::nullopt;
  return read(*value);
}

}  // namespace

const JSONObject& ObjectFromJson(const JSONValuePtr& value) { return zs::AsObject(value); }
const JSONArray& ArrayFromJson(const JSONValuePtr& value) { return zs::AsArray(value); }

int64_t Int64FromJson(const JSONValuePtr& value) { return zs::AsAnyInt64(value); }

bool BoolFromJson(const JSONValuePtr& value) {
  if (value && value->IsString()) {
    const std::string& text = value->Get<std::string>();
    if (text == "true") return true;
    if (text == "false") return false;
    ThrowBadCast();
  }
  return zs::AsBool(value);
}

std::string UTF8FromJson(const JSONValuePtr& value) { return zs::AsString(value); }

const JSONValuePtr* FindMember(const JSONObject& object, std::string_view key) {
  auto found = object.find(key);
  return found == object.end() ? nullptr : &found->second;
}

std::optional<std::string> ReadUTF8Member(const JSONObject& object, std::string_view key) {
  return ReadMember<std::string>(object, key, UTF8FromJson);
}
std::optional<bool> ReadBoolMember(const JSONObject& object, std::string_view key) {
  return ReadMember<bool>(object, key, BoolFromJson);
}

const JSONObject* ReadObjectMember(const JSONObject& object, std::string_view key) {
  const JSONValuePtr* value = FindMember(object, key);
  return value == nullptr ? nullptr : &ObjectFromJson(*value);
}

const JSONArray* ReadArrayMember(const JSONObject& object, std::string_view key) {
  const JSONValuePtr* value = FindMember(object, key);
  return value == nullptr ? nullptr : &ArrayFromJson(*value);
}

JSONValuePtr UTF8ListToJson(const std::vector<std::string>& list) {
  return zs::MakeJSONArray(ConvertList<JSONValuePtr>(
      list, [](const std::string& text) { return zs::MakeJSONString(text); }));
}

JSONValuePtr UTF16ListToJson(const std::vector<std::u16string>& list) {
  return zs::MakeJSONArray(ConvertList<JSONValuePtr>(list, [](const std::u16string& text) {
    return zs::MakeJSONString(std::u16string_view(text));
  }));
}

JSONValuePtr NumberListToJson(const std::vector<double>& list) {
  return zs::MakeJSONArray(
      ConvertList<JSONValuePtr>(list, [](double number) { return zs::MakeJSONDouble(number); }));
}

}  // namespace zorvcapsule::serialization
