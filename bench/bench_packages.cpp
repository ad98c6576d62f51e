#include "bench/bench_packages.h"

#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <system_error>

#include "capsule/capsule.h"
#include "capsule/capsule_json.h"
#include "capsule/control_factory.h"
#include "host/hostbridge/source_info.h"
#include "samples/png_image.h"

namespace zorvbench {
namespace {

namespace fs = std::filesystem;
namespace factory = zorvcapsule::factory;
using zorvcapsule::Capsule;
using zorvcapsule::ControlProperties;
using zorvcapsule::UIString;

constexpr int kCategories = 25;
constexpr int kControls = 30;
// The still thumbnail is a PNG of noise, 64 × 64 RGB pixels: about 12 KB, as little compressible as
// a photograph's.
constexpr uint32_t kStillSide = 64;
constexpr size_t kVideoBytes = 24 * 1024;
constexpr size_t kProjectBytes = 12 * 1024;

const char* const kTagWords[] = {
    "lower third", "title", "news", "corporate", "clean", "minimal", "sports", "social", "call out",
    "intro", "outro", "logo", "transition", "credits", "subscribe", "event", "wedding", "travel",
    "cinematic", "bold", "retro", "glitch", "neon", "elegant", "modern", "gradient", "kinetic", "map",
    "data", "chart", "countdown", "quote", "caption", "label", "frame", "badge", "ticker", "banner"};
const char* const kNameWords[] = {"Lower Third", "Title Card", "Call Out", "Caption", "Banner",
                                  "Ticker",      "Credits",    "Badge",    "Quote",   "Opener"};
const char* const kControlWords[] = {"Headline", "Subline", "Text colour", "Bar colour", "Bar width", "Shadow",
                                     "Position", "Scale",   "Opacity",     "Blur",       "Style",     "Speed"};

std::string StillThumbnail() {
  zorvsamples::RGBImage image(kStillSide, kStillSide);
  const std::string noise = IncompressibleBytes(size_t{kStillSide} * kStillSide * 3, 1);
  const auto byte = [&noise](size_t at) { return static_cast<uint8_t>(noise[at]); };
  for (uint32_t y = 0; y < kStillSide; ++y) {
    for (uint32_t x = 0; x < kStillSide; ++x) {
      const size_t at = (size_t{y} * kStillSide + x) * 3;
      image.Set(x, y, {byte(at), byte(at + 1), byte(at + 2)});
    }
  }
  return zorvsamples::EncodePNG(image);
}

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

UIString Localized(const std::string& english) {
  UIString text;
  text.SetString(u"en_US", Wide(english));
  text.SetString(u"de_DE", Wide(english + " (de)"));
  text.SetString(u"fr_FR", Wide(english + " (fr)"));
  text.SetString(u"ja_JP", Wide(english + " (ja)"));
  return text;
}

// Controls are labelled in two languages; their texts and the template's name come in four.
UIString Label(const std::string& english) {
  UIString text;
  text.SetString(u"en_US", Wide(english));
  text.SetString(u"de_DE", Wide(english + " (de)"));
  return text;
}

hostbridge::SourceTextFontEditInfo Font(int n) {
  hostbridge::SourceTextFontEditInfo font;
  font.font_editable = true;
  font.font_name = n % 2 ? u"SourceSans-Bold" : u"Montserrat-Black";
  font.font_size_editable = true;
  font.font_size = static_cast<float>(48 + 8 * (n % 5));
  font.faux_styles_editable = n % 3 == 0;
  return font;
}

// Control c of template n: mostly texts, colours and sliders, as in real templates.
factory::ControlPtr Control(int n, int c, const std::string& name) {
  const ControlProperties animated(true), still(false);
  const std::u16string id = Wide(std::to_string(c + 1));
  const UIString label = Label(std::string(kControlWords[c % std::size(kControlWords)]) + " " + std::to_string(c));
  switch (c % 10) {
    case 0:
    case 5:
      return factory::CreateStringControl(id, label, still, Localized(name + " line " + std::to_string(c)), Font(n + c));
    case 1:
    case 6:
      return factory::CreateColorControl(id, label, animated,
                                         {0.1f * static_cast<float>(c % 10), 0.5f, 1.0f, 1.0f});
    case 2:
    case 7: {
      auto slider = factory::CreateSliderControl(id, label, animated, 0, 200, 100 + (n + c) % 50);
      slider->SetSuffix(UIString(u"%"));
      return slider;
    }
    case 3:
      return factory::CreateCheckboxControl(id, label, still, (n + c) % 2 == 0);
    case 4:
      return factory::CreatePoint2DControl(id, label, animated, {960.0 + c, 540.0 - c});
    case 8:
      return factory::CreateEnumControl(id, label, still, zorvcapsule::EnumType::kDefault,
                                        {Label("Slide"), Label("Fade"), Label("Pop")}, (n + c) % 3);
    default:
      return factory::CreateAngleControl(id, label, animated, 15.0 * (c % 24));
  }
}

std::shared_ptr<Capsule> BenchCapsule(int n) {
  const std::string name = std::string(kNameWords[n % std::size(kNameWords)]) + " " + std::to_string(n);
  auto capsule = std::make_shared<Capsule>(u"tssl", Wide(name), Wide("6F9619FF-8B86-D011-" + std::to_string(n)));
  capsule->SetAuthorID(u"studio@example.com");
  capsule->SetCapsuleNameLocalized(Localized(name));
  capsule->SetCapsuleDesc(u"An animated " + Wide(name) +
                          u" with two editable lines of text, an accent bar that follows the text's "
                          u"width and a soft shadow. Colours and timing can be changed in the panel.");
  capsule->SetPlatformSupport({"tssl", "flit"});
  capsule->SetUsedFonts({"SourceSans-Bold", "SourceSans-Regular", "Montserrat-Black"});
  capsule->SetUsedEffects({"blur", "glow", "fill", "drop shadow", "transform"});
  capsule->SetUsedFileTypes({"png"});
  std::vector<std::string> tags;
  for (int i = 0; i < 8; ++i) tags.push_back(kTagWords[(n * 7 + i * 5) % std::size(kTagWords)]);
  capsule->SetTags(tags);
  hostbridge::SourceInfo info;
  info.name = Wide(name);
  info.duration = hostbridge::MediaTime(1001 * (150 + n % 300), 30000);
  info.frame_rect.size = {1920, 1080};
  capsule->SetSourceInfo(info);
  zorvcapsule::ClientControlList controls;
  for (int c = 0; c < kControls; ++c) controls.push_back(Control(n, c, name));
  capsule->SetControls(std::move(controls));
  return capsule;
}

void WritePackage(const fs::path& path, int n, const std::string& still, const std::string& video,
                  const std::string& project) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr) return;
  const std::string description = BenchDescription(n);
  auto add = [archive](const char* name, const std::string& bytes, bool store) {
    const zip_int64_t index =
        zip_file_add(archive, name, zip_source_buffer(archive, bytes.data(), bytes.size(), 0), 0);
    if (index >= 0 && store) zip_set_file_compression(archive, index, ZIP_CM_STORE, 0);
  };
  add("definition.json", description, false);
  add("thumb.png", still, true);
  add("thumb.mp4", video, true);
  add("project.tsgraphic/main.json", description, false);
  add("project.tsgraphic/media/assets.bin", project, true);
  zip_close(archive);
}

}  // namespace

std::string BenchDescription(int index) { return zorvcapsule::serialization::CapsuleToJson(BenchCapsule(index)); }

std::vector<fs::path> WriteBenchPackages(const fs::path& folder, int count) {
  const std::string still = StillThumbnail(), video = IncompressibleBytes(kVideoBytes, 2), project = IncompressibleBytes(kProjectBytes, 3);
  std::vector<fs::path> packages;
  for (int n = 0; n < count; ++n) {
    const fs::path category = folder / ("Category " + std::to_string(n % kCategories));
    std::error_code error;
    fs::create_directories(category, error);
    const fs::path path = category / ("template-" + std::to_string(n) + ".tplx");
    WritePackage(path, n, still, video, project);
    if (fs::exists(path, error)) packages.push_back(path);
  }
  return packages;
}

std::vector<fs::path> FindPackages(const fs::path& folder) {
  std::vector<fs::path> packages;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    if (it->is_regular_file(error) && it->path().extension() == ".tplx") packages.push_back(it->path());
  }
  return packages;
}

bool RawReadAndParse(const fs::path& package, simdjson::dom::parser& parser, std::string& buffer) {
  int error = 0;
  zip_t* archive = zip_open(package.c_str(), ZIP_RDONLY, &error);
  if (archive == nullptr) return false;
  bool ok = false;
  zip_stat_t stat;
  if (zip_stat(archive, "definition.json", 0, &stat) == 0) {
    buffer.resize(stat.size);
    if (zip_file_t* member = zip_fopen(archive, "definition.json", 0)) {
      ok = zip_fread(member, buffer.data(), buffer.size()) == static_cast<zip_int64_t>(stat.size);
      zip_fclose(member);
    }
  }
  zip_discard(archive);
  return ok && parser.parse(buffer).error() == simdjson::SUCCESS;
}

std::string IncompressibleBytes(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

}  // namespace zorvbench
