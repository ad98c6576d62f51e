#include "samples/sample_template.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "capsule/capsule.h"
#include "host/core/unicode.h"
#include "package/package_names.h"
#include "samples/png_image.h"
#include "samples/sample_controls.h"
#include "samples/sample_random.h"
#include "samples/sample_themes.h"
#include "samples/video_thumbnail.h"

namespace zorvsamples {
namespace {

using zorvcapsule::Capsule;
using zorvcapsule::UIString;

// Indexes into kSampleLocales.
constexpr size_t kEnglish = 0;
constexpr size_t kGerman = 1;
constexpr size_t kFrench = 2;
constexpr size_t kSpanish = 3;
constexpr size_t kJapanese = 4;

constexpr const char16_t* kEditingApp = u"tssl";
constexpr const char16_t* kCompositingApp = u"qzfx";
constexpr uint32_t kThumbnailWidth = 160;
constexpr int64_t kTicksPerSecond = zorvmediatypes::TickTime::kTicksPerSecond;

struct FrameRate {
  int64_t numerator;  // frames per `denominator` seconds
  int64_t denominator;
};

// The choices that make one template what it is.
struct Plan {
  const SampleTheme* theme = nullptr;
  size_t number = 0;  // the template's number within its theme
  std::vector<size_t> languages;
  bool compositing = false;
  bool compositingLibraryOK = true;
  bool everyControlKind = false;
  bool video = false;
  bool projectIsFolder = false;
  std::vector<size_t> localizedThumbnails;
  std::vector<size_t> localizedProjects;
};

// Each seed files the themes in its own order, so sets of different seeds differ from the start.
std::vector<size_t> ThemeOrder(uint64_t seed) {
  std::vector<size_t> order(SampleThemes().size());
  std::iota(order.begin(), order.end(), size_t{0});
  SampleRandom random(seed);
  for (size_t i = order.size() - 1; i > 0; --i) std::swap(order[i], order[random.Below(i + 1)]);
  return order;
}

std::vector<size_t> DrawLanguages(SampleRandom& random) {
  switch (random.Below(5)) {
    case 0: return {kEnglish};
    case 1: return {kEnglish, kGerman};
    case 2: return {kEnglish, kGerman, kFrench, kSpanish, kJapanese};
    case 3: return {kEnglish, kJapanese};
    default: return {kGerman, kFrench};
  }
}

void PlanFixedTemplate(size_t index, Plan& plan) {
  switch (index) {
    case 0:
      plan.languages = {kEnglish, kGerman, kFrench, kSpanish, kJapanese};
      plan.everyControlKind = true;
      plan.video = true;
      plan.localizedThumbnails = {kGerman, kJapanese};
      plan.localizedProjects = {kGerman};
      break;
    case 1:
      plan.languages = {kGerman, kFrench};
      plan.compositing = true;
      plan.projectIsFolder = true;
      break;
    case 2:
      plan.languages = {kEnglish, kGerman};
      plan.video = true;
      plan.projectIsFolder = true;
      break;
    case 3:
      plan.languages = {kEnglish, kJapanese};
      plan.compositing = true;
      plan.compositingLibraryOK = false;
      plan.localizedThumbnails = {kJapanese};
      break;
    default:
      plan.languages = {kEnglish};
      break;
  }
}

void PlanDrawnTemplate(SampleRandom& random, Plan& plan) {
  plan.languages = DrawLanguages(random);
  plan.compositing = random.Chance(40);
  plan.compositingLibraryOK = !plan.compositing || random.Chance(75);
  plan.video = random.Chance(50);
  plan.projectIsFolder = random.Chance(50);
  for (size_t language : plan.languages) {
    if (language != kEnglish && random.Chance(50)) plan.localizedThumbnails.push_back(language);
    if (language != kEnglish && random.Chance(20)) plan.localizedProjects.push_back(language);
  }
}

constexpr size_t kFixedTemplates = 5;

Plan MakePlan(size_t index, uint64_t seed, SampleRandom& random) {
  Plan plan;
  const std::vector<size_t> order = ThemeOrder(seed);
  plan.theme = &SampleThemes()[order[index % order.size()]];
  plan.number = index / order.size() + 1;
  if (index < kFixedTemplates) {
    PlanFixedTemplate(index, plan);
  } else {
    PlanDrawnTemplate(random, plan);
  }
  return plan;
}

std::u16string Locale(size_t language) { return kSampleLocales[language]; }

std::u16string NameIn(const Plan& plan, size_t language) {
  char number[16];
  std::snprintf(number, sizeof(number), " %02zu", plan.number);
  return zorvcore::UTF8ToUTF16(std::string(plan.theme->names[language]) + number);
}

UIString LocalizedName(const Plan& plan) {
  UIString names;
  for (size_t language : plan.languages) names.SetString(Locale(language), NameIn(plan, language));
  return names;
}

std::string GuidText(SampleRandom& random) {
  const uint64_t high = random.Next();
  const uint64_t low = random.Next();
  char text[40];
  std::snprintf(text, sizeof(text), "%08x-%04x-4%03x-%04x-%012llx", static_cast<unsigned>(high >> 32),
                static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0xFFF),
                static_cast<unsigned>(0x8000 | ((low >> 48) & 0x3FFF)),
                static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
  return text;
}

hostbridge::FramePoint DrawFrameSize(const SampleTheme& theme, SampleRandom& random) {
  if (theme.vertical) return random.Pick(std::vector<hostbridge::FramePoint>{{1080, 1920}, {720, 1280}});
  return random.Pick(std::vector<hostbridge::FramePoint>{{1920, 1080}, {3840, 2160}, {1280, 720}, {1080, 1080}, {2048, 858}});
}

hostbridge::SourceInfo DrawSourceInfo(const std::u16string& name, const SampleTheme& theme, SampleRandom& random) {
  static const std::vector<FrameRate> rates = {{24, 1},         {25, 1},         {30, 1},        {50, 1},
                                               {60, 1},         {24000, 1001},  {30000, 1001}, {60000, 1001}};
  static const std::vector<int64_t> seconds = {3, 4, 5, 6, 8, 10, 12, 15, 20, 30};
  const FrameRate rate = random.Pick(rates);
  const int64_t frames = random.Pick(seconds) * ((rate.numerator + rate.denominator / 2) / rate.denominator);

  hostbridge::SourceInfo info;
  info.name = name;
  info.has_video = true;
  info.frame_rect.size = DrawFrameSize(theme, random);
  info.frame_rate = zorvmediatypes::TickTime::FromTicks(kTicksPerSecond * rate.denominator / rate.numerator);
  info.duration = hostbridge::MediaTime(frames * rate.denominator, rate.numerator);
  info.work_out_point = info.duration;
  info.out_point = info.duration;
  info.field_type = hostbridge::kFieldTypeProgressive;
  info.native_field_type = hostbridge::kFieldTypeProgressive;
  info.is_drop_frame = rate.denominator == 1001 && random.Chance(50);
  if (random.Chance(40)) {
    info.has_audio = true;
    info.audio_sample_rate = zorvmediatypes::TickTime::FromTicks(kTicksPerSecond / (random.Chance(80) ? 48000 : 44100));
    const int32_t channels = random.Chance(80) ? 2 : 6;
    for (int32_t label = 1; label <= channels; ++label) info.audio_channel_layout.push_back({label});
  }
  return info;
}

// The source info per language: translated texts run longer, so some languages get an extra second.
Capsule::SourceInfoMap SourceInfoPerLanguage(const Plan& plan, const hostbridge::SourceInfo& base, SampleRandom& random) {
  Capsule::SourceInfoMap infos;
  for (size_t language : plan.languages) {
    hostbridge::SourceInfo info = base;
    info.name = NameIn(plan, language);
    if (language != kEnglish && random.Chance(50)) {
      info.duration += hostbridge::MediaTime(1);
      info.work_out_point = info.duration;
      info.out_point = info.duration;
    }
    infos.emplace(Locale(language), std::move(info));
  }
  return infos;
}

template <class T>
std::vector<T> DrawSome(const std::vector<T>& pool, size_t least, size_t most, SampleRandom& random) {
  const size_t count = least + random.Below(most - least + 1);
  std::vector<T> drawn;
  while (drawn.size() < count && drawn.size() < pool.size()) {
    const T& one = random.Pick(pool);
    if (std::find(drawn.begin(), drawn.end(), one) == drawn.end()) drawn.push_back(one);
  }
  return drawn;
}

Capsule::UsedFontsMap FontsPerLanguage(const Plan& plan, SampleRandom& random) {
  const std::vector<std::string> fonts = DrawSome(SampleFonts(), 1, 3, random);
  Capsule::UsedFontsMap perLanguage;
  for (size_t language : plan.languages) {
    std::vector<std::string> these = fonts;
    if (language == kJapanese) these.front() = "NotoSansJP-Medium";
    perLanguage.emplace(Locale(language), std::move(these));
  }
  return perLanguage;
}

std::vector<std::string> TagsOf(const Plan& plan, const hostbridge::SourceInfo& info, SampleRandom& random) {
  std::vector<std::string> tags = plan.theme->tags;
  for (const std::string& extra : DrawSome(SampleExtraTags(), 1, 2, random)) tags.push_back(extra);
  const hostbridge::FramePoint size = info.frame_rect.size;
  if (size.x >= 3840) tags.push_back("4k");
  if (size.x == size.y) tags.push_back("square");
  if (size.y > size.x && std::find(tags.begin(), tags.end(), "vertical") == tags.end()) tags.push_back("vertical");
  return tags;
}

std::u16string DescriptionOf(const Plan& plan, const hostbridge::SourceInfo& info) {
  const double fps = static_cast<double>(kTicksPerSecond) / static_cast<double>(info.frame_rate.Ticks());
  char text[160];
  std::snprintf(text, sizeof(text), "An animated %s template, %dx%d at %.5g frames per second.",
                plan.theme->tags.front().c_str(), info.frame_rect.size.x, info.frame_rect.size.y, fps);
  return zorvcore::UTF8ToUTF16(text);
}

std::shared_ptr<Capsule> MakeCapsule(const Plan& plan, SampleRandom& random) {
  const UIString names = LocalizedName(plan);
  const std::u16string firstName = NameIn(plan, plan.languages.front());
  auto capsule = std::make_shared<Capsule>(plan.compositing ? kCompositingApp : kEditingApp, firstName,
                                           zorvcore::UTF8ToUTF16(GuidText(random)));
  capsule->SetCapsuleNameLocalized(names);
  capsule->SetAuthorID(u"sample-author-" + zorvcore::UTF8ToUTF16(std::to_string(1 + random.Below(5))));
  capsule->SetPlatformSupport(plan.compositing ? std::vector<std::string>{"qzfx", "tssl"}
                                               : std::vector<std::string>{"tssl", "flit"});
  const hostbridge::SourceInfo base = DrawSourceInfo(firstName, *plan.theme, random);
  capsule->SetSourceInfoVector(SourceInfoPerLanguage(plan, base, random));
  capsule->SetCapsuleDesc(DescriptionOf(plan, base));
  capsule->SetUsedFontsVector(FontsPerLanguage(plan, random));
  capsule->SetUsedEffects(DrawSome(SampleEffects(), 0, 3, random));
  capsule->SetUsedCompRenderers(DrawSome(SampleRenderers(), 1, 1, random));
  capsule->SetUsedFileTypes(DrawSome(SampleFileTypes(), 0, 2, random));
  capsule->SetTags(TagsOf(plan, base, random));
  capsule->SetControls(MakeSampleControls(SampleControlKinds(plan.everyControlKind, random), names, *plan.theme, random));
  capsule->SetQzlibCompliantVersion(plan.compositing ? (plan.compositingLibraryOK ? u"201810" : u"0") : u"");
  capsule->SetMobileCompatibilityVersion(random.Chance(50) ? u"201810" : u"0");
  capsule->SetInternalEffectsVersion(random.Chance(50) ? u"201804" : u"0");
  capsule->SetFontvaneOnlyVersion(u"0");
  capsule->SetResponsiveDesignTimeVersion(random.Chance(30) ? u"201810" : u"0");
  return capsule;
}

uint8_t Mix(uint8_t from, uint8_t to, uint32_t step, uint32_t steps) {
  return static_cast<uint8_t>(from + (static_cast<int>(to) - from) * static_cast<int>(step) / static_cast<int>(steps));
}

RGBColor Darker(RGBColor color) {
  return {static_cast<uint8_t>(color.red / 2), static_cast<uint8_t>(color.green / 2), static_cast<uint8_t>(color.blue / 2)};
}

// A gradient in the theme's colours with an accent band where the title sits, and `marks` small
// squares in the corner telling the languages' thumbnails apart.
std::string ThumbnailPNG(const SampleTheme& theme, hostbridge::FramePoint frame, size_t marks) {
  const uint32_t height = std::max<uint32_t>(
      1, static_cast<uint32_t>(uint64_t{kThumbnailWidth} * static_cast<uint32_t>(frame.y) / static_cast<uint32_t>(frame.x)));
  RGBImage image(kThumbnailWidth, height);
  const RGBColor bottom = Darker(theme.base);
  for (uint32_t y = 0; y < height; ++y) {
    const RGBColor row{Mix(theme.base.red, bottom.red, y, height), Mix(theme.base.green, bottom.green, y, height),
                       Mix(theme.base.blue, bottom.blue, y, height)};
    const bool band = y >= height * 5 / 8 && y < height * 6 / 8;
    for (uint32_t x = 0; x < kThumbnailWidth; ++x) {
      image.Set(x, y, band && x >= kThumbnailWidth / 10 && x < kThumbnailWidth * 7 / 10 ? theme.accent : row);
    }
  }
  for (size_t mark = 0; mark < marks; ++mark) {
    for (uint32_t y = 2; y < 6 && y < height; ++y) {
      for (uint32_t x = 2 + 6 * static_cast<uint32_t>(mark); x < 6 + 6 * static_cast<uint32_t>(mark); ++x) {
        image.Set(x, y, theme.accent);
      }
    }
  }
  return EncodePNG(image);
}

std::string ProjectBytes(const std::shared_ptr<Capsule>& capsule, const std::u16string& locale) {
  return "sample project\nname: " + zorvcore::UTF16ToUTF8(capsule->GetDisplayName()) +
         "\nlanguage: " + zorvcore::UTF16ToUTF8(locale) + "\n";
}

// The project package (plain for an empty locale): one member, or a folder of members (a project
// file and its assets).
void AddProject(const Plan& plan, const std::shared_ptr<Capsule>& capsule, const std::u16string& locale,
                std::vector<PackageMember>& members) {
  const std::string_view extension =
      plan.compositing ? zorvcapsule::kQzProjectExtension : zorvcapsule::kTsProjectExtension;
  const std::string name =
      locale.empty() ? zorvcapsule::PlainMemberName(zorvcapsule::kProjectStem, extension)
                     : zorvcapsule::LocalizedMemberName(zorvcapsule::kProjectStem, zorvcore::UTF16ToUTF8(locale), extension);
  if (!plan.projectIsFolder) {
    members.push_back({name, ProjectBytes(capsule, locale)});
    return;
  }
  members.push_back({name + "/main" + (plan.compositing ? ".qzproj" : ".tsproj"), ProjectBytes(capsule, locale)});
  members.push_back({name + "/Assets/texture.png", ThumbnailPNG(*plan.theme, {16, 16}, 0)});
}

std::vector<PackageMember> MembersOf(const Plan& plan, const std::shared_ptr<Capsule>& capsule) {
  const hostbridge::FramePoint frame = capsule->GetSourceInfoLocalized().begin()->second.frame_rect.size;
  std::vector<PackageMember> members;
  using zorvcapsule::kStillThumbExtension;
  using zorvcapsule::kThumbStem;
  members.push_back({zorvcapsule::PlainMemberName(kThumbStem, kStillThumbExtension), ThumbnailPNG(*plan.theme, frame, 0)});
  for (size_t language : plan.localizedThumbnails) {
    members.push_back(
        {zorvcapsule::LocalizedMemberName(kThumbStem, zorvcore::UTF16ToUTF8(Locale(language)), kStillThumbExtension),
         ThumbnailPNG(*plan.theme, frame, language)});
  }
  if (plan.video) {
    members.push_back({zorvcapsule::PlainMemberName(kThumbStem, zorvcapsule::kVideoThumbExtension),
                       MakeVideoThumbnail(zorvcore::UTF16ToUTF8(capsule->GetCapsuleID()))});
  }
  AddProject(plan, capsule, u"", members);
  for (size_t language : plan.localizedProjects) {
    AddProject(plan, capsule, Locale(language), members);
  }
  return members;
}

}  // namespace

SampleTemplate MakeSampleTemplate(size_t index, uint64_t seed) {
  SampleRandom random(seed ^ (0xD1B54A32D192ED03ull * (index + 1)));
  const Plan plan = MakePlan(index, seed, random);
  SampleTemplate sample;
  sample.capsule = MakeCapsule(plan, random);
  sample.members = MembersOf(plan, sample.capsule);
  sample.relativePath = zorvcore::UTF8ToUTF16(plan.theme->folder) + u"/" + NameIn(plan, plan.languages.front()) + u".tplx";
  return sample;
}

}  // namespace zorvsamples
