#include "capsule/capsule_json.h"

#include <optional>
#include <utility>
#include <vector>

#include "capsule/api_version_check.h"
#include "capsule/capsule_json_keys.h"
#include "capsule/control_json.h"
#include "capsule/json_members.h"
#include "capsule/list_conversion.h"
#include "capsule/source_info_json.h"
#include "capsule/ui_string_json.h"
#include "host/core/json_parse.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;

namespace {

using StringList = std::vector<std::string>;

// ---- Reading ------------------------------------------------------------------------------

void ReadIdentity(const JSONObject& object, Capsule& capsule) {
  if (auto v = ReadUTF8Member(object, CAPSULE_API_VERSION_STR)) {
    capsule.SetAPIVersion(std::move(*v));
  }
  if (auto v = ReadUTF16Member(object, CAPSULE_APP_STR)) capsule.SetAuthorApp(std::move(*v));
  if (auto v = ReadUTF16Member(object, CAPSULE_AUTHORID_STR)) capsule.SetAuthorID(std::move(*v));
  if (auto v = ReadUTF16Member(object, CAPSULE_CAPID_STR)) capsule.SetCapsuleID(std::move(*v));
  if (auto v = ReadUTF16Member(object, CAPSULE_CAPNAME_STR)) {
    capsule.SetCapsuleNameObsolete(std::move(*v));
  }
  // A description without a localized name still has an "en_US" entry, so that the display name
  // falls back to "capsuleName" through its empty text.
  capsule.SetCapsuleNameLocalized(
      ReadUIStringMember(object, CAPSULE_LOCCAPNAME_STR).value_or(UIString(std::u16string())));
  if (auto v = ReadUTF16Member(object, CAPSULE_CAPDESC_STR)) capsule.SetCapsuleDesc(std::move(*v));
  if (auto v = ReadUTF8ListMember(object, CAPSULE_CONTROL_PLATFORMSUPPORT_STR)) {
    capsule.SetPlatformSupport(std::move(*v));
  }
}

// The single-language source info becomes the application language's entry; a non-empty per-locale
// object then replaces it altogether.
void ReadSourceInfo(const JSONObject& object, Capsule& capsule) {
  const JSONValuePtr* single = FindMember(object, CAPSULE_SOURCE_INFO_STR);
  capsule.SetSourceInfo(single != nullptr ? SourceInfoFromJsonValue(*single)
                                          : hostbridge::SourceInfo());
  const JSONValuePtr* localized = FindMember(object, CAPSULE_SOURCE_INFO_LOC_STR);
  if (localized != nullptr) {
    capsule.SetSourceInfoVector(SourceInfoLocaleMapFromJsonValue(*localized));
  }
}

void ReadControls(const JSONObject& object, Capsule& capsule) {
  const JSONValuePtr* controls = FindMember(object, CAPSULE_CONTROLS_STR);
  if (controls != nullptr) capsule.SetControls(ClientControlListFromJsonValue(*controls));
}

// The per-locale fonts win; the single-language list counts only when there are none.
void ReadUsedFonts(const JSONObject& object, Capsule& capsule) {
  Capsule::UsedFontsMap localized;
  if (const JSONObject* locales = ReadObjectMember(object, CAPSULE_USED_FONTS_LOC_STR)) {
    for (const auto& [locale, value] : *locales) {
      localized.emplace(zorvcore::UTF8ToUTF16(locale),
                        ConvertList<std::string>(ArrayFromJson(value), UTF8FromJson));
    }
  }
  capsule.SetUsedFontsVector(std::move(localized));
  StringList single = ReadUTF8ListMember(object, CAPSULE_USED_FONTS_STR).value_or(StringList());
  if (capsule.GetUsedFontsLocalized().empty()) capsule.SetUsedFonts(std::move(single));
}

void ReadUsage(const JSONObject& object, Capsule& capsule) {
  if (auto v = ReadUTF8ListMember(object, CAPSULE_USED_EFFECTS_STR)) {
    capsule.SetUsedEffects(std::move(*v));
  }
  if (auto v = ReadUTF8ListMember(object, CAPSULE_USED_COMP_RENDERERS_STR)) {
    capsule.SetUsedCompRenderers(std::move(*v));
  }
  if (auto v = ReadUTF8ListMember(object, CAPSULE_USED_FILE_TYPES_STR)) {
    capsule.SetUsedFileTypes(std::move(*v));
  }
  if (auto v = ReadUTF8ListMember(object, CAPSULE_TAGS_STR)) capsule.SetTags(std::move(*v));
}

void ReadVersionMarkers(const JSONObject& object, Capsule& capsule) {
  if (auto v = ReadUTF16Member(object, CAPSULE_QZLIB_COMPLIANT_VERSION_STR)) {
    capsule.SetQzlibCompliantVersion(std::move(*v));
  }
  if (auto v = ReadUTF16Member(object, CAPSULE_MOBILECOMPATIBILITY_VERSION_STR)) {
    capsule.SetMobileCompatibilityVersion(std::move(*v));
  }
  if (auto v = ReadUTF16Member(object, CAPSULE_INTERNALEFFFECTSONLY_VERSION_STR)) {
    capsule.SetInternalEffectsVersion(std::move(*v));
  }
  if (auto v = ReadUTF16Member(object, CAPSULE_FONTVANEONLY_VERSION_STR)) {
    capsule.SetFontvaneOnlyVersion(std::move(*v));
  }
  if (auto v = ReadUTF16Member(object, CAPSULE_RESPONSIVEDESIGN_VERSION_STR)) {
    capsule.SetResponsiveDesignTimeVersion(std::move(*v));
  }
}

// ---- Writing ------------------------------------------------------------------------------

void AddText(JSONObject& object, const char* key, const std::u16string& text) {
  zs::AddToObject(object, key, zs::MakeJSONString(std::u16string_view(text)));
}

JSONValuePtr UsedFontsMapToJson(const Capsule::UsedFontsMap& fonts) {
  JSONObject object;
  for (const auto& [locale, list] : fonts) {
    zs::AddToObject(object, std::u16string_view(locale), UTF8ListToJson(list));
  }
  return zs::MakeJSONObject(std::move(object));
}

JSONObject CapsuleToObject(const Capsule& capsule) {
  JSONObject object;
  zs::AddToObject(object, CAPSULE_API_VERSION_STR,
                  zs::MakeJSONString(Capsule::GetCurrentAPIVersion()));
  AddText(object, CAPSULE_APP_STR, capsule.GetAuthorApp());
  AddText(object, CAPSULE_AUTHORID_STR, capsule.GetAuthorID());
  AddText(object, CAPSULE_CAPID_STR, capsule.GetCapsuleID());
  AddText(object, CAPSULE_CAPNAME_STR, capsule.GetCapsuleNameObsolete());
  zs::AddToObject(object, CAPSULE_LOCCAPNAME_STR,
                  UIStringToJson(capsule.GetCapsuleNameLocalized()));
  AddText(object, CAPSULE_CAPDESC_STR, capsule.GetCapsuleDesc());
  zs::AddToObject(object, CAPSULE_CONTROL_PLATFORMSUPPORT_STR,
                  UTF8ListToJson(capsule.GetPlatformSupport()));
  zs::AddToObject(object, CAPSULE_SOURCE_INFO_LOC_STR,
                  SourceInfoLocaleMapToJsonValue(capsule.GetSourceInfoLocalized()));
  zs::AddToObject(object, CAPSULE_CONTROLS_STR,
                  ClientControlListToJsonValue(capsule.GetControls()));
  zs::AddToObject(object, CAPSULE_USED_FONTS_LOC_STR,
                  UsedFontsMapToJson(capsule.GetUsedFontsLocalized()));
  zs::AddToObject(object, CAPSULE_USED_EFFECTS_STR, UTF8ListToJson(capsule.GetUsedEffects()));
  zs::AddToObject(object, CAPSULE_USED_COMP_RENDERERS_STR,
                  UTF8ListToJson(capsule.GetUsedCompRenderers()));
  zs::AddToObject(object, CAPSULE_USED_FILE_TYPES_STR, UTF8ListToJson(capsule.GetUsedFileTypes()));
  zs::AddToObject(object, CAPSULE_TAGS_STR, UTF8ListToJson(capsule.GetTags()));
  AddText(object, CAPSULE_QZLIB_COMPLIANT_VERSION_STR, capsule.GetQzlibCompliantVersion());
  AddText(object, CAPSULE_MOBILECOMPATIBILITY_VERSION_STR,
          capsule.GetMobileCompatibilityVersion());
  AddText(object, CAPSULE_INTERNALEFFFECTSONLY_VERSION_STR, capsule.GetInternalEffectsVersion());
  AddText(object, CAPSULE_FONTVANEONLY_VERSION_STR, capsule.GetFontvaneOnlyVersion());
  AddText(object, CAPSULE_RESPONSIVEDESIGN_VERSION_STR, capsule.GetResponsiveDesignTimeVersion());
  return object;
}

}  // namespace

std::shared_ptr<Capsule> CapsuleFromJson(std::string_view text) {
  if (!HasReadableAPIVersion(text)) return nullptr;
  const JSONValuePtr root = zs::JSONParse(text);
  const JSONObject& object = ObjectFromJson(root);
  // Filled privately and handed out only once every member has been read: a member of the wrong
  // type throws out of here and takes the half-read record with it.
  auto capsule = std::make_shared<Capsule>();
  ReadIdentity(object, *capsule);
  ReadSourceInfo(object, *capsule);
  ReadControls(object, *capsule);
  ReadUsedFonts(object, *capsule);
  ReadUsage(object, *capsule);
  ReadVersionMarkers(object, *capsule);
  return capsule;
}

std::string CapsuleToJson(const std::shared_ptr<Capsule>& capsule) {
  if (!capsule) return std::string();
  return zs::GetJSONUTF8String(zs::JSONValue(CapsuleToObject(*capsule)), false);
}

}  // namespace zorvcapsule::serialization
