// The themes the sample templates are drawn from: what a real template collection holds (titles,
// lower thirds, intros, social formats, ...), each with its names in the sample languages, the
// folder it is filed under, its search tags and the colours of its thumbnails.
//
// Thread safety: the tables are constant; read them from any thread.

#ifndef ZORVCAPSULE_SAMPLES_SAMPLE_THEMES_H_
#define ZORVCAPSULE_SAMPLES_SAMPLE_THEMES_H_

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "samples/png_image.h"

namespace zorvsamples {

// The languages sample names and thumbnails come in, "en_US" first.
inline constexpr size_t kSampleLanguageCount = 5;
extern const std::array<const char16_t*, kSampleLanguageCount> kSampleLocales;

struct SampleTheme {
  // Indexed like kSampleLocales (UTF-8).
  std::array<const char*, kSampleLanguageCount> names;
  const char* folder;  // relative, "/" between levels
  std::vector<std::string> tags;
  RGBColor base;
  RGBColor accent;
  bool vertical;  // a format for phones: taller than wide
};

const std::vector<SampleTheme>& SampleThemes();

// Fonts, effects, renderers and media file types templates commonly use.
const std::vector<std::string>& SampleFonts();
const std::vector<std::string>& SampleEffects();
const std::vector<std::string>& SampleRenderers();
const std::vector<std::string>& SampleFileTypes();
// Tags beyond the themes' own.
const std::vector<std::string>& SampleExtraTags();

}  // namespace zorvsamples

#endif  // ZORVCAPSULE_SAMPLES_SAMPLE_THEMES_H_
