#include "capsule/capsule_json.h"

#include <optional>
#include <utility>
#include <vector>

#include "capsule/api_version_check.h"
#include "capsule/capsule_json_keys.h"
#include "capsule/control_json.h"
#include "capsule/json_members.h"
#include "capsule/json_node.h"
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

// Texts above this size are parsed with a parser of their own, as JSONParse does, so that one huge
// description does not pin its buffers to the thread for good.
constexpr size_t kLargestReusedCapacity = size_t{2} << 20;

void ReadIdentity(const JsonNode& object, Capsule& capsule) {
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
void ReadSourceInfo(const JsonNode& object, Capsule& capsule) {
  const std::optional<JsonNode> single = object.Member(CAPSULE_SOURCE_INFO_STR);
  capsule.SetSourceInfo(single ? SourceInfoFromJson(*single) : hostbridge::SourceInfo());
  if (const std::optional<JsonNode> localized = object.Member(CAPSULE_SOURCE_INFO_LOC_STR)) {
    capsule.SetSourceInfoVector(SourceInfoLocaleMapFromJson(*localized));
  }
}

// Controls are read into the record, or only checked (see CapsuleWithoutControlsFromJson).
enum class Controls { kRead, kCheck };

void ReadControls(const JsonNode& object, Capsule& capsule, Controls controls) {
  const std::optional<JsonNode> list = object.Member(CAPSULE_CONTROLS_STR);
  if (!list) return;
  if (controls == Controls::kRead) {
    capsule.SetControls(ClientControlListFromJson(*list));
  } else {
    CheckClientControlList(*list);
  }
}

std::string UTF8Of(const JsonNode& value) { return std::string(value.String()); }

// The per-locale fonts win; the single-language list counts only when there are none.
void ReadUsedFonts(const JsonNode& object, Capsule& capsule) {
  Capsule::UsedFontsMap localized;
  if (const std::optional<JsonNode> locales = object.Member(CAPSULE_USED_FONTS_LOC_STR)) {
    locales->ForEachMember([&localized](std::string_view locale, const JsonNode& fonts) {
      localized.emplace(zorvcore::UTF8ToUTF16(locale), ConvertElements<std::string>(fonts, UTF8Of));
    });
  }
  capsule.SetUsedFontsVector(std::move(localized));
  StringList single = ReadUTF8ListMember(object, CAPSULE_USED_FONTS_STR).value_or(StringList());
  if (capsule.GetUsedFontsLocalized().empty()) capsule.SetUsedFonts(std::move(single));
}

void ReadUsage(const JsonNode& object, Capsule& capsule) {
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

void ReadVersionMarkers(const JsonNode& object, Capsule& capsule) {
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

// Filled privately and handed out only once every member has been read: a member of the wrong
// type throws out of here and takes the half-read record with it.
std::shared_ptr<Capsule> CapsuleFromRoot(const JsonNode& root, Controls controls) {
  root.RequireObject();
  auto capsule = std::make_shared<Capsule>();
  ReadIdentity(root, *capsule);
  ReadSourceInfo(root, *capsule);
  ReadControls(root, *capsule, controls);
  ReadUsedFonts(root, *capsule);
  ReadUsage(root, *capsule);
  ReadVersionMarkers(root, *capsule);
  return capsule;
}

// Parses text into a simdjson document and reads the record straight from it. Text that is not one
// complete JSON value fails as JSONParse's empty result would: a bad cast, here without a place.
std::shared_ptr<Capsule> CapsuleFromText(std::string_view text, Controls controls) {
  if (text.empty()) throw zs::BadCastError();
  std::optional<simdjson::dom::parser> own;
  simdjson::dom::parser* parser;
  if (text.size() > kLargestReusedCapacity) {
    parser = &own.emplace();
  } else {
    // The thread's parser keeps its buffers between descriptions. The document it holds is read
    // (by this thread and by pool threads converting long lists for it) before this thread parses
    // again: nothing below parses.
    thread_local simdjson::dom::parser reused;
    parser = &reused;
  }
  simdjson::dom::element root;
  simdjson::error_code error;
  try {
    error = parser->parse(text.data(), text.size(), true).get(root);
  } catch (const std::exception&) {  // memory ran out
    error = simdjson::MEMALLOC;
  }
  if (error != simdjson::SUCCESS) throw zs::BadCastError();
  return CapsuleFromRoot(JsonNode::DomRoot(root), controls);
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
  return CapsuleFromText(text, Controls::kRead);
}

std::shared_ptr<Capsule> CapsuleFromJsonValue(const JSONValuePtr& root) {
  return CapsuleFromRoot(JsonNode::TreeRoot(root), Controls::kRead);
}

std::shared_ptr<Capsule> CapsuleWithoutControlsFromJson(std::string_view text) {
  if (!HasReadableAPIVersion(text)) return nullptr;
  return CapsuleFromText(text, Controls::kCheck);
}

std::string CapsuleToJson(const std::shared_ptr<Capsule>& capsule) {
  if (!capsule) return std::string();
  return zs::GetJSONUTF8String(zs::JSONValue(CapsuleToObject(*capsule)), false);
}

}  // namespace zorvcapsule::serialization
