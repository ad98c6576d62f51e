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
    : api_version_(serialization::kCurrentAPIVersion),
      author_app_(std::move(author_app)),
      capsule_name_(std::move(capsule_name)),
      capsule_name_localized_(capsule_name_),
      capsule_id_(std::move(capsule_id)),
      qzlib_compliant_version_(Unsupported()),
      mobile_compatibility_version_(Unsupported()),
      internal_effects_version_(Unsupported()),
      fontvane_only_version_(Unsupported()),
      responsive_design_version_(Unsupported()) {}

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
    : api_version_(serialization::kCurrentAPIVersion),
      author_app_(std::move(author_app)),
      author_id_(std::move(author_id)),
      capsule_name_(std::move(capsule_name)),
      capsule_name_localized_(capsule_name_),
      capsule_id_(std::move(capsule_id)),
      capsule_desc_(std::move(capsule_desc)),
      platform_support_(std::move(platform_support)),
      controls_(std::move(controls)),
      used_effects_(std::move(used_effects)),
      used_comp_renderers_(std::move(used_comp_renderers)),
      used_file_types_(std::move(used_file_types)),
      tags_(std::move(tags)),
      qzlib_compliant_version_(std::move(qzlib_compliant_version)),
      mobile_compatibility_version_(std::move(mobile_compatibility_version)),
      internal_effects_version_(std::move(internal_effects_version)),
      fontvane_only_version_(std::move(fontvane_only_version)),
      responsive_design_version_(Unsupported()) {
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
  const UIString::LocaleMap& names = capsule_name_localized_.GetLocaleMap();
  const std::u16string* name = capsule_name_localized_.Find(ApplicationLanguage());
  if (name == nullptr) name = capsule_name_localized_.Find(kDefaultLocale);
  if (name == nullptr && !names.empty()) name = &names.begin()->second;
  if (name == nullptr || name->empty()) return capsule_name_;
  return *name;
}

std::vector<std::string> Capsule::GetUsedFonts() const {
  const std::vector<std::string>* fonts = FindForApplicationLanguage(used_fonts_);
  return fonts != nullptr ? *fonts : std::vector<std::string>();
}

void Capsule::SetUsedFonts(std::vector<std::string> fonts) {
  used_fonts_.insert_or_assign(ApplicationLanguage(), std::move(fonts));
}

void Capsule::SetUsedFontsObsolete(std::vector<std::string> fonts) {
  if (used_fonts_.empty()) SetUsedFonts(std::move(fonts));
}

void Capsule::SetSourceInfoVector(SourceInfoMap source_info) {
  if (!source_info.empty()) source_info_ = std::move(source_info);
}

hostbridge::SourceInfo Capsule::GetSourceInfo() const {
  const hostbridge::SourceInfo* source_info = FindForApplicationLanguage(source_info_);
  return source_info != nullptr ? *source_info : hostbridge::SourceInfo();
}

void Capsule::SetSourceInfo(hostbridge::SourceInfo source_info) {
  source_info_.insert_or_assign(ApplicationLanguage(), std::move(source_info));
}

void Capsule::SetSourceInfoObsolete(hostbridge::SourceInfo source_info) {
  if (source_info_.empty()) SetSourceInfo(std::move(source_info));
}

bool Capsule::IsQZLibCompliant() const { return qzlib_compliant_version_ != Unsupported(); }

bool Capsule::CanUseQZLib(bool* known) const {
  for (const QZLibRule& rule : kQZLibRules) {
    if (api_version_ != rule.api_version) continue;
    if (known != nullptr) *known = true;
    for (std::u16string_view marker : rule.markers) {
      if (!marker.empty() && qzlib_compliant_version_ == marker) return true;
    }
    return false;
  }
  if (known != nullptr) *known = false;
  return false;
}

}  // namespace zorvcapsule
