#include "host/core/debug_database.h"

#include <charconv>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>

#include <simdjson.h>

namespace zorvcore {
namespace {

using SettingMap = std::map<std::string, std::string, std::less<>>;

struct Settings {
  std::mutex mutex;
  SettingMap from_code;
  std::optional<SettingMap> from_file;
};

Settings& TheSettings() {
  static Settings settings;
  return settings;
}

std::optional<std::string> SettingText(simdjson::dom::element value) {
  switch (value.type()) {
    case simdjson::dom::element_type::STRING:
      return std::string(std::string_view(value.get_string().value_unsafe()));
    case simdjson::dom::element_type::BOOL:
      return value.get_bool().value_unsafe() ? "true" : "false";
    case simdjson::dom::element_type::INT64:
      return std::to_string(value.get_int64().value_unsafe());
    case simdjson::dom::element_type::UINT64:
      return std::to_string(value.get_uint64().value_unsafe());
    case simdjson::dom::element_type::DOUBLE: {
      char buffer[64];
      auto result = std::to_chars(buffer, buffer + sizeof buffer, value.get_double().value_unsafe());
      return std::string(buffer, result.ptr);
    }
    default:
      return std::nullopt;
  }
}

SettingMap ReadSettingsFile() {
  SettingMap settings;
  const char* path = std::getenv(DebugDatabase::kSettingsFileVariable);
  if (path == nullptr || *path == '\0') return settings;
  simdjson::dom::parser parser;
  simdjson::dom::element root;
  if (parser.load(path).get(root) != simdjson::SUCCESS) return settings;
  simdjson::dom::object object;
  if (root.get_object().get(object) != simdjson::SUCCESS) return settings;
  for (auto field : object) {
    if (auto text = SettingText(field.value)) settings[std::string(field.key)] = std::move(*text);
  }
  return settings;
}

}  // namespace

std::string DebugDatabase::GetEntry(std::string_view key, std::string_view default_value) {
  Settings& settings = TheSettings();
  std::lock_guard<std::mutex> lock(settings.mutex);
  if (auto it = settings.from_code.find(key); it != settings.from_code.end()) return it->second;
  if (!settings.from_file) settings.from_file = ReadSettingsFile();
  if (auto it = settings.from_file->find(key); it != settings.from_file->end()) return it->second;
  return std::string(default_value);
}

void DebugDatabase::SetEntry(std::string_view key, std::string_view value) {
  std::lock_guard<std::mutex> lock(TheSettings().mutex);
  TheSettings().from_code[std::string(key)] = std::string(value);
}

void DebugDatabase::ClearEntry(std::string_view key) {
  std::lock_guard<std::mutex> lock(TheSettings().mutex);
  if (auto it = TheSettings().from_code.find(key); it != TheSettings().from_code.end()) {
    TheSettings().from_code.erase(it);
  }
}

void DebugDatabase::ClearAllEntries() {
  std::lock_guard<std::mutex> lock(TheSettings().mutex);
  TheSettings().from_code.clear();
}

void DebugDatabase::ReloadSettingsFile() {
  std::lock_guard<std::mutex> lock(TheSettings().mutex);
  TheSettings().from_file.reset();
}

}  // namespace zorvcore
