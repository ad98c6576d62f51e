// The texts `capsule` shows a person: localized texts in the application's language, media times
// and rates, sizes, lists.
//
// Thread safety: pure functions; use from any thread.

#ifndef ZORVCAPSULE_TOOLS_DISPLAY_TEXT_H_
#define ZORVCAPSULE_TOOLS_DISPLAY_TEXT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "capsule/ui_string.h"
#include "host/hostbridge/media_time.h"
#include "host/mediatypes/tick_time.h"

namespace capsuletool {

// The text for the application's language, else "en_US", else the smallest locale (UTF-8).
std::string LocalizedText(const zorvcapsule::UIString& text);

// "12.5 s"; "0 s" for zero.
std::string SecondsText(const hostbridge::MediaTime& time);
// From milliseconds: "12.5 s".
std::string MillisecondsText(int64_t milliseconds);
// The rate of a frame duration: "29.97 fps"; "-" for zero.
std::string FrameRateText(zorvmediatypes::TickTime frameDuration);
// "48 kHz" from an audio sample-frame duration.
std::string SampleRateText(zorvmediatypes::TickTime sampleDuration);
// "1920×1080".
std::string FrameSizeText(int64_t width, int64_t height);
// "512 B", "12.3 KB", "4.0 MB" (1024 bytes a kilobyte).
std::string ByteSizeText(uint64_t bytes);
// A compact number: "80", "0.5", "23.976".
std::string NumberText(double value);

std::string Joined(const std::vector<std::string>& items, const std::string& separator);
std::vector<std::string> ToUTF8(const std::vector<std::u16string>& texts);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_DISPLAY_TEXT_H_
