// The on-disk layout of the user's cloud libraries, as the cloud-library client keeps it under its
// root folder (library_root.h) and as both library managers read it:
//
//   ROOT/<library id>/library.json                   {"name": "Brand Kit"}; a folder without it is no library
//   ROOT/<library id>/<element id>/element.json      {"name": "Lower Third"}; absent: the name is the ID
//   ROOT/<library id>/<element id>/template.tplx     the template package
//   ROOT/<library id>/<element id>/definition.json   the template's description
//   ROOT/<library id>/<element id>/thumb.png         the still thumbnail
//   ROOT/<library id>/<element id>/thumb.mp4         the video thumbnail
//
// A library or element ID is its folder's name. Folders whose names begin with "." are the client's
// own and are never libraries or elements, so an ID is never "." or "..".
//
// Thread safety: constants and pure functions; any thread.

#ifndef ZORVCAPSULE_HOST_QVLIB_LIBRARY_LAYOUT_H_
#define ZORVCAPSULE_HOST_QVLIB_LIBRARY_LAYOUT_H_

#include <string_view>

namespace zorvqvlib {

inline constexpr std::string_view kLibraryManifestName = "library.json";
inline constexpr std::string_view kElementManifestName = "element.json";
inline constexpr std::string_view kTemplatePackageName = "template.tplx";
inline constexpr std::string_view kDescriptionName = "definition.json";
inline constexpr std::string_view kStillThumbnailName = "thumb.png";
inline constexpr std::string_view kVideoThumbnailName = "thumb.mp4";

// The member of a manifest that holds the display name.
inline constexpr std::string_view kManifestNameKey = "name";

// True when `name` can be a library or element ID: a single, non-hidden path component in
// well-formed UTF-8 (a name without an exact UTF-16 form could not be handed on as a path). Both
// managers refuse any other ID a caller passes, so no ID can name something outside the root.
bool IsLayoutName(std::string_view name);

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_LIBRARY_LAYOUT_H_
