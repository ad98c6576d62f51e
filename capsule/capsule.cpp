#include "capsule/capsule.h"

#include <string_view>
#include <utility>

#include "capsule/api_version_check.h"
#include "host/core/locale.h"

namespace zorvcapsule {

const char* const CAPSULE_VERSION_UNSUPPORTED = "0";
const char* const CAPSULE_VERSION_FALL_2017 = "201710";
const char* const CAPSULE_VERSION_SPRING_2018 = "201804";
const char* const CAPSULE_VERSION_FALL_2018 = "201810";

const char* const CAPSULE_PLATFORMSUPPORT_TESSEL_STR = "tssl";
const char* const CAPSULE_PLATFORMSUPPORT_FLIT_STR = "flit";
const char* const CAPSULE_PLATFORMSUPPORT_QUAZEL_STR = "qzfx";

namespace {

std::u16string Unsupported() { return u"0"; }

std::u16string ApplicationLanguage() { return zorvcore::Locale::ApplicationLangauge(); }

// The entry of the application's language, else the first (smallest) entry, else nullptr.
template <typename Map>
const typename Map::mapped_type* FindForApplicationLanguage(const Map& map) {
  if (map.empty()) return nullptr;
  auto found = map.find(ApplicationLanguage());
  return found != map.end() ? &found->second : &map.begin()->second;
}

// The compliance markers with which each known API version may use the compositing library.
struct QZLibRule {
  std::string_view api_version;
  std::u16string_view markers[3];
};

constexpr QZLibRule kQZLibRules[] = {
    {"0.3", {}},
    {"1.2", {u"201710"}},
    {"1.3", {u"201710", u"201804"}},
    {"1.4", {u"201710", u"201804", u"201810"}},
};

}  // namespace

Capsule::Capsule() = default;

Capsule::Capsule(std::u16string author_app, std::u16string capsule_name, std::u16string capsule_id)
    : apiVersion_(serialization::kCurrentAPIVersion),
      authorApp_(std::move(author_app)),
      capsuleName_(std::move(capsule_name)),
      capsuleNameLocalized_(capsuleName_),
      capsuleID_(std::move(capsule_id)),
      qzlibCompliantVersion_(Unsupported()),
      mobileCompatibilityVersion_(Unsupported()),
      internalEffectsVersion_(Unsupported()),
      fontvaneOnlyVersion_(Unsupported()),
      responsiveDesignVersion_(Unsupported()) {}

Capsule::Capsule(std::u16string author_app, std::u16string author_id, std::u16string capsule_name,
                 std::u16string capsule_id, std::u16string capsule_desc,
                 std::vector<std::string> platform_support, hostbridge::SourceInfo source_info,
                 ClientControlList controls, std::vector<std::string> used_fonts,
                 std::vector<std::string> used_effects,
                 std::vector<std::string> used_comp_renderers,
                 std::vector<std::string> used_file_types, std::vector<std::string> tags,
                 std::u16string qzlib_compliant_version,
                 std::u16string mobile_compatibility_version,
                 std::u16string internal_effects_version, std::u16string fontvane_only_version)
    : apiVersion_(serialization::kCurrentAPIVersion),
      authorApp_(std::move(author_app)),
      authorID_(std::move(author_id)),
      capsuleName_(std::move(capsule_name)),
      capsuleNameLocalized_(capsuleName_),
      capsuleID_(std::move(capsule_id)),
      capsuleDesc_(std::move(capsule_desc)),
      platformSupport_(std::move(platform_support)),
      controls_(std::move(controls)),
      usedEffects_(std::move(used_effects)),
      usedCompRenderers_(std::move(used_comp_renderers)),
      usedFileTypes_(std::move(used_file_types)),
      tags_(std::move(tags)),
      qzlibCompliantVersion_(std::move(qzlib_compliant_version)),
      mobileCompatibilityVersion_(std::move(mobile_compatibility_version)),
      internalEffectsVersion_(std::move(internal_effects_version)),
      fontvaneOnlyVersion_(std::move(fontvane_only_version)),
      responsiveDesignVersion_(Unsupported()) {
  SetSourceInfo(std::move(source_info));
  SetUsedFonts(std::move(used_fonts));
}

Capsule::Capsule(const Capsule&) = default;
Capsule& Capsule::operator=(const Capsule&) = default;
Capsule::Capsule(Capsule&&) = default;
Capsule& Capsule::operator=(Capsule&&) = default;
Capsule::~Capsule() = default;

std::string Capsule::GetCurrentAPIVersion() { return std::string(serialization::kCurrentAPIVersion); }

std::u16string Capsule::GetDisplayName() const {
  const UIString::LocaleMap& names = capsuleNameLocalized_.GetLocaleMap();
  const std::u16string* name = capsuleNameLocalized_.Find(ApplicationLanguage());
  if (name == nullptr) name = capsuleNameLocalized_.Find(kDefaultLocale);
  if (name == nullptr && !names.empty()) name = &names.begin()->second;
  if (name == nullptr || name->empty()) return capsuleName_;
  return *name;
}

std::vector<std::string> Capsule::GetUsedFonts() const {
  const std::vector<std::string>* fonts = FindForApplicationLanguage(usedFonts_);
  return fonts != nullptr ? *fonts : std::vector<std::string>();
}

void Capsule::SetUsedFonts(std::vector<std::string> fonts) {
  usedFonts_.insert_or_assign(ApplicationLanguage(), std::move(fonts));
}

void Capsule::SetUsedFontsObsolete(std::vector<std::string> fonts) {
  if (usedFonts_.empty()) SetUsedFonts(std::move(fonts));
}

void Capsule::SetSourceInfoVector(SourceInfoMap source_info) {
  if (!source_info.empty()) sourceInfo_ = std::move(source_info);
}

hostbridge::SourceInfo Capsule::GetSourceInfo() const {
  const hostbridge::SourceInfo* source_info = FindForApplicationLanguage(sourceInfo_);
  return source_info != nullptr ? *source_info : hostbridge::SourceInfo();
}

void Capsule::SetSourceInfo(hostbridge::SourceInfo source_info) {
  sourceInfo_.insert_or_assign(ApplicationLanguage(), std::move(source_info));
}

void Capsule::SetSourceInfoObsolete(hostbridge::SourceInfo source_info) {
  if (sourceInfo_.empty()) SetSourceInfo(std::move(source_info));
}

bool Capsule::IsQZLibCompliant() const { return qzlibCompliantVersion_ != Unsupported(); }

bool Capsule::CanUseQZLib(bool* known) const {
  for (const QZLibRule& rule : kQZLibRules) {
    if (apiVersion_ != rule.api_version) continue;
    if (known != nullptr) *known = true;
    for (std::u16string_view marker : rule.markers) {
      if (!marker.empty() && qzlibCompliantVersion_ == marker) return true;
    }
    return false;
  }
  if (known != nullptr) *known = false;
  return false;
}

}  // namespace zorvcapsule
