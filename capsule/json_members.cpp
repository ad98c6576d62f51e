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

template <typename T, typename ReadElement>
std::optional<std::vector<T>> ReadListMember(const JSONObject& object, std::string_view key,
                                             ReadElement read_element) {
  const JSONArray* array = ReadArrayMember(object, key);
  if (array == nullptr) return std::nullopt;
  return ConvertList<T>(*array, read_element);
}

}  // namespace

const JSONObject& ObjectFromJson(const JSONValuePtr& value) { return zs::AsObject(value); }
const JSONArray& ArrayFromJson(const JSONValuePtr& value) { return zs::AsArray(value); }

double NumberFromJson(const JSONValuePtr& value) { return zs::AsNumber(value); }
int64_t Int64FromJson(const JSONValuePtr& value) { return zs::AsAnyInt64(value); }
uint64_t UInt64FromJson(const JSONValuePtr& value) { return zs::AsAnyUInt64(value); }
int32_t Int32FromJson(const JSONValuePtr& value) {
  return static_cast<int32_t>(zs::AsAnyInt64(value));
}
uint32_t UInt32FromJson(const JSONValuePtr& value) {
  return static_cast<uint32_t>(zs::AsAnyUInt64(value));
}

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
std::u16string UTF16FromJson(const JSONValuePtr& value) { return zs::AsUTF16String(value); }

const JSONValuePtr* FindMember(const JSONObject& object, std::string_view key) {
  auto found = object.find(key);
  return found == object.end() ? nullptr : &found->second;
}

std::optional<std::string> ReadUTF8Member(const JSONObject& object, std::string_view key) {
  return ReadMember<std::string>(object, key, UTF8FromJson);
}
std::optional<std::u16string> ReadUTF16Member(const JSONObject& object, std::string_view key) {
  return ReadMember<std::u16string>(object, key, UTF16FromJson);
}
std::optional<double> ReadNumberMember(const JSONObject& object, std::string_view key) {
  return ReadMember<double>(object, key, NumberFromJson);
}
std::optional<int64_t> ReadInt64Member(const JSONObject& object, std::string_view key) {
  return ReadMember<int64_t>(object, key, Int64FromJson);
}
std::optional<uint64_t> ReadUInt64Member(const JSONObject& object, std::string_view key) {
  return ReadMember<uint64_t>(object, key, UInt64FromJson);
}
std::optional<int32_t> ReadInt32Member(const JSONObject& object, std::string_view key) {
  return ReadMember<int32_t>(object, key, Int32FromJson);
}
std::optional<uint32_t> ReadUInt32Member(const JSONObject& object, std::string_view key) {
  return ReadMember<uint32_t>(object, key, UInt32FromJson);
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

std::optional<std::vector<std::string>> ReadUTF8ListMember(const JSONObject& object,
                                                           std::string_view key) {
  return ReadListMember<std::string>(object, key, UTF8FromJson);
}
std::optional<std::vector<std::u16string>> ReadUTF16ListMember(const JSONObject& object,
                                                               std::string_view key) {
  return ReadListMember<std::u16string>(object, key, UTF16FromJson);
}
std::optional<std::vector<double>> ReadNumberListMember(const JSONObject& object,
                                                        std::string_view key) {
  return ReadListMember<double>(object, key, NumberFromJson);
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
