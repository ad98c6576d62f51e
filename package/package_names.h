// The names of a template package and of its members, shared by the library and its host.
//
// Built once when the library loads; read-only afterwards, so any thread may read them.

#ifndef ZORVCAPSULE_PACKAGE_PACKAGE_NAMES_H_
#define ZORVCAPSULE_PACKAGE_PACKAGE_NAMES_H_

#include <string>
#include <string_view>

#include "capsule/capsule_export.h"

namespace zorvcapsule {

ZORVCAPSULE_EXPORT extern const std::u16string kCapsuleExtn;         // ".tplx"
ZORVCAPSULE_EXPORT extern const std::u16string kJSONFileName;        // "definition.json"
ZORVCAPSULE_EXPORT extern const std::u16string kThumbFileName;       // "thumb.png"
ZORVCAPSULE_EXPORT extern const std::u16string kVideoThumbFileName;  // "thumb.mp4"
ZORVCAPSULE_EXPORT extern const std::u16string kQzProjectFileName;   // "project.qzgraphic"
ZORVCAPSULE_EXPORT extern const std::u16string kTsProjectFileName;   // "project.tsgraphic"

// The member names as the archive stores them (UTF-8). A thumbnail or project package may also come
// localized, named "<stem>_<language><extension>" ("thumb_en_US.png", "project_fr_FR.tsgraphic").
inline constexpr char kDescriptionMember[] = "definition.json";
inline constexpr char kThumbStem[] = "thumb";
inline constexpr char kProjectStem[] = "project";
inline constexpr char kStillThumbExtension[] = ".png";
inline constexpr char kVideoThumbExtension[] = ".mp4";
inline constexpr char kTsProjectExtension[] = ".tsgraphic";
inline constexpr char kQzProjectExtension[] = ".qzgraphic";

inline std::string PlainMemberName(std::string_view stem, std::string_view extension) {
  return std::string(stem).append(extension);
}

inline std::string LocalizedMemberName(std::string_view stem, std::string_view language, std::string_view extension) {
  return std::string(stem).append("_").append(language).append(extension);
}

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_PACKAGE_PACKAGE_NAMES_H_
