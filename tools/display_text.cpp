#include "tools/display_text.h"

#include <cstdio>

#include "host/core/locale.h"
#include "host/core/unicode.h"

namespace capsuletool {

std::string LocalizedText(const zorvcapsule::UIString& text) {
  const std::u16string* found = text.Find(zorvcore::Locale::ApplicationLangauge());
  if (found == nullptr) found = text.Find(zorvcapsule::kDefaultLocale);
  if (found == nullptr && !text.IsEmpty()) found = &text.GetLocaleMap().begin()->second;
  return found != nullptr ? zorvcore::UTF16ToUTF8(*found) : std::string();
}

std::string NumberText(double value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.6g", value);
  return text;
}

std::string SecondsText(const hostbridge::MediaTime& time) {
  const double seconds = static_cast<double>(time.numerator()) / static_cast<double>(time.denominator());
  char text[32];
  std::snprintf(text, sizeof(text), "%.4g s", seconds);
  return text;
}

std::string MillisecondsText(int64_t milliseconds) {
  return SecondsText(hostbridge::MediaTime(milliseconds, 1000));
}

std::string FrameRateText(zorvmediatypes::TickTime frameDuration) {
  if (frameDuration.Ticks() <= 0) return "-";
  char text[32];
  std::snprintf(text, sizeof(text), "%.5g fps",
                static_cast<double>(zorvmediatypes::TickTime::kTicksPerSecond) / static_cast<double>(frameDuration.Ticks()));
  return text;
}

std::string SampleRateText(zorvmediatypes::TickTime sampleDuration) {
  if (sampleDuration.Ticks() <= 0) return "-";
  char text[32];
  std::snprintf(text, sizeof(text), "%.4g kHz",
                static_cast<double>(zorvmediatypes::TickTime::kTicksPerSecond) /
                    static_cast<double>(sampleDuration.Ticks()) / 1000.0);
  return text;
}

std::string FrameSizeText(int64_t width, int64_t height) {
  return std::to_string(width) + "\u00d7" + std::to_string(height);
}

std::string ByteSizeText(uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " B";
  const char* units[] = {"KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1024.0;
  size_t unit = 0;
  while (value >= 1024.0 && unit + 1 < std::size(units)) {
    value /= 1024.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f %s", value, units[unit]);
  return text;
}

std::string Joined(const std::vector<std::string>& items, const std::string& separator) {
  std::string joined;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) joined += separator;
    joined += items[i];
  }
  return joined;
}

std::vector<std::string> ToUTF8(const std::vector<std::u16string>& texts) {
  std::vector<std::string> converted;
  converted.reserve(texts.size());
  for (const auto& text : texts) converted.push_back(zorvcore::UTF16ToUTF8(text));
  return converted;
}

}  // namespace capsuletool
