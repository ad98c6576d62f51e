// Capsule: the description of one motion-graphics template, as "definition.json" carries it.
//
// It says who made the template and with which application, what it is called in each language,
// which controls a user may edit, what its source project looks like per language, which fonts,
// effects, renderers and media file types it needs, its search tags, and a few feature-version
// markers. The record is plain data; capsule/capsule_json.h turns it into its document and back.
//
// The used fonts and the source info are kept per locale. Older descriptions had one value for
// each; their single-value accessors read and write the entry of the application's language
// (zorvcore::Locale::ApplicationLangauge), falling back to the smallest locale on reading.
//
// Thread safety: a Capsule is not synchronized. Any number of threads may call the const members of
// one record at once; changing it needs exclusive access. Catalogue entries share records through
// std::shared_ptr and treat them as read-only once published.

#ifndef ZORVCAPSULE_CAPSULE_CAPSULE_H_
#define ZORVCAPSULE_CAPSULE_CAPSULE_H_

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "capsule/capsule_export.h"
#include "capsule/client_control_fwd.h"
#include "capsule/ui_string.h"
#include "host/hostbridge/source_info.h"

namespace zorvcapsule {

// Feature-version marker values.
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_VERSION_UNSUPPORTED;  // "0"
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_VERSION_FALL_2017;    // "201710"
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_VERSION_SPRING_2018;  // "201804"
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_VERSION_FALL_2018;    // "201810"

// Platform-support identifiers of the applications a template can run in.
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_PLATFORMSUPPORT_TESSEL_STR;  // "tssl"
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_PLATFORMSUPPORT_FLIT_STR;    // "flit"
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_PLATFORMSUPPORT_QUAZEL_STR;  // "qzfx"

class ZORVCAPSULE_EXPORT Capsule {
 public:
  // Maps keyed by locale ("en_US"), ordered by the locale's UTF-16 code units.
  using UsedFontsMap = std::map<std::u16string, std::vector<std::string>, std::less<>>;
  using SourceInfoMap = std::map<std::u16string, hostbridge::SourceInfo, std::less<>>;

  // Every text empty (the API version and the version markers included), every list and map empty.
  Capsule();

  // A new template: API version current, localized name {"en_US": capsule_name}, version markers
  // CAPSULE_VERSION_UNSUPPORTED, everything else empty.
  Capsule(std::u16string author_app, std::u16string capsule_name, std::u16string capsule_id);

  // A new template described in full. The API version is current, the localized name is
  // {"en_US": capsule_name}, source_info and used_fonts become the entries of the application's
  // language, and the responsive design marker is CAPSULE_VERSION_UNSUPPORTED.
  Capsule(std::u16string author_app, std::u16string author_id, std::u16string capsule_name,
          std::u16string capsule_id, std::u16string capsule_desc,
          std::vector<std::string> platform_support, hostbridge::SourceInfo source_info,
          ClientControlList controls, std::vector<std::string> used_fonts,
          std::vector<std::string> used_effects, std::vector<std::string> used_comp_renderers,
          std::vector<std::string> used_file_types, std::vector<std::string> tags,
          std::u16string qzlib_compliant_version, std::u16string mobile_compatibility_version,
          std::u16string internal_effects_version, std::u16string fontvane_only_version);

  // A copy shares its control objects with the original: controls are copied as pointers.
  Capsule(const Capsule&);
  Capsule& operator=(const Capsule&);
  Capsule(Capsule&&);
  Capsule& operator=(Capsule&&);
  virtual ~Capsule();

  // The description format version this library writes, "1.4" (UTF-8).
  static std::string GetCurrentAPIVersion();

  // The format version the record's document was written with ("1.2", "1.4"; UTF-8).
  std::string GetAPIVersion() const { return apiVersion_; }
  void SetAPIVersion(std::string version) { apiVersion_ = std::move(version); }

  std::u16string GetAuthorApp() const { return authorApp_; }
  void SetAuthorApp(std::u16string app) { authorApp_ = std::move(app); }

  std::u16string GetAuthorID() const { return authorID_; }
  void SetAuthorID(std::u16string id) { authorID_ = std::move(id); }

  // The single-language name older descriptions carried; GetDisplayName falls back to it.
  std::u16string GetCapsuleNameObsolete() const { return capsuleName_; }
  void SetCapsuleNameObsolete(std::u16string name) { capsuleName_ = std::move(name); }

  UIString GetCapsuleNameLocalized() const { return capsuleNameLocalized_; }
  void SetCapsuleNameLocalized(UIString name) { capsuleNameLocalized_ = std::move(name); }

  // The name to show: the application's language, else "en_US", else the smallest locale; an empty
  // text there gives the single-language name instead.
  std::u16string GetDisplayName() const;

  std::u16string GetCapsuleID() const { return capsuleID_; }
  void SetCapsuleID(std::u16string id) { capsuleID_ = std::move(id); }

  std::u16string GetCapsuleDesc() const { return capsuleDesc_; }
  void SetCapsuleDesc(std::u16string desc) { capsuleDesc_ = std::move(desc); }

  const std::vector<std::string>& GetPlatformSupport() const { return platformSupport_; }
  void SetPlatformSupport(std::vector<std::string> ids) { platformSupport_ = std::move(ids); }

  const ClientControlList& GetControls() const { return controls_; }
  void SetControls(ClientControlList controls) { controls_ = std::move(controls); }

  // ---- Used fonts, per locale -------------------------------------------------------------
  const UsedFontsMap& GetUsedFontsLocalized() const { return usedFonts_; }
  // Replaces the whole map, also with an empty one.
  void SetUsedFontsVector(UsedFontsMap fonts) { usedFonts_ = std::move(fonts); }
  // The application language's fonts, else the smallest locale's, else none.
  std::vector<std::string> GetUsedFonts() const;
  // Inserts or replaces the application language's entry.
  void SetUsedFonts(std::vector<std::string> fonts);
  // As SetUsedFonts, but only while there are no fonts for any locale.
  void SetUsedFontsObsolete(std::vector<std::string> fonts);

  const std::vector<std::string>& GetUsedEffects() const { return usedEffects_; }
  void SetUsedEffects(std::vector<std::string> ids) { usedEffects_ = std::move(ids); }

  const std::vector<std::string>& GetUsedCompRenderers() const { return usedCompRenderers_; }
  void SetUsedCompRenderers(std::vector<std::string> ids) { usedCompRenderers_ = std::move(ids); }

  const std::vector<std::string>& GetUsedFileTypes() const { return usedFileTypes_; }
  void SetUsedFileTypes(std::vector<std::string> types) { usedFileTypes_ = std::move(types); }

  const std::vector<std::string>& GetTags() const { return tags_; }
  void SetTags(std::vector<std::string> tags) { tags_ = std::move(tags); }

  // ---- Feature-version markers ------------------------------------------------------------
  std::u16string GetQzlibCompliantVersion() const { return qzlibCompliantVersion_; }
  void SetQzlibCompliantVersion(std::u16string v) { qzlibCompliantVersion_ = std::move(v); }

  std::u16string GetMobileCompatibilityVersion() const { return mobileCompatibilityVersion_; }
  void SetMobileCompatibilityVersion(std::u16string v) {
    mobileCompatibilityVersion_ = std::move(v);
  }

  std::u16string GetInternalEffectsVersion() const { return internalEffectsVersion_; }
  void SetInternalEffectsVersion(std::u16string v) { internalEffectsVersion_ = std::move(v); }

  std::u16string GetFontvaneOnlyVersion() const { return fontvaneOnlyVersion_; }
  void SetFontvaneOnlyVersion(std::u16string v) { fontvaneOnlyVersion_ = std::move(v); }

  std::u16string GetResponsiveDesignTimeVersion() const { return responsiveDesignVersion_; }
  void SetResponsiveDesignTimeVersion(std::u16string v) {
    responsiveDesignVersion_ = std::move(v);
  }

  // False only when the compliance marker is exactly CAPSULE_VERSION_UNSUPPORTED; a template that
  // carries no marker predates it and counts as compliant.
  bool IsQZLibCompliant() const;

  // Whether the compositing application's library may render this template, judged from the API
  // version and the compliance marker. *known (when known != nullptr) tells whether the API version
  // is one this rule knows; when it is false the result says nothing.
  bool CanUseQZLib(bool* known) const;

  // ---- Source info, per locale ------------------------------------------------------------
  const SourceInfoMap& GetSourceInfoLocalized() const { return sourceInfo_; }
  // Replaces the whole map with a non-empty one; an empty one changes nothing.
  void SetSourceInfoVector(SourceInfoMap source_info);
  // The application language's source info, else the smallest locale's, else a default one.
  hostbridge::SourceInfo GetSourceInfo() const;
  // Inserts or replaces the application language's entry.
  void SetSourceInfo(hostbridge::SourceInfo source_info);
  // As SetSourceInfo, but only while there is no source info for any locale.
  void SetSourceInfoObsolete(hostbridge::SourceInfo source_info);

 private:
  std::string apiVersion_;
  std::u16string authorApp_;
  std::u16string authorID_;
  std::u16string capsuleName_;
  UIString capsuleNameLocalized_;
  std::u16string capsuleID_;
  std::u16string capsuleDesc_;
  std::vector<std::string> platformSupport_;
  ClientControlList controls_;
  UsedFontsMap usedFonts_;
  std::vector<std::string> usedEffects_;
  std::vector<std::string> usedCompRenderers_;
  std::vector<std::string> usedFileTypes_;
  std::vector<std::string> tags_;
  std::u16string qzlibCompliantVersion_;
  std::u16string mobileCompatibilityVersion_;
  std::u16string internalEffectsVersion_;
  std::u16string fontvaneOnlyVersion_;
  std::u16string responsiveDesignVersion_;
  SourceInfoMap sourceInfo_;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_CAPSULE_H_
