// The member names of the description document "definition.json" and of the objects inside it.
//
// They are exported so that hosts reading or patching a description by hand use the same names as
// the library. The values are fixed: documents written by every version of the format use them.
//
// Thread safety: constants; read them from any thread.

#ifndef ZORVCAPSULE_CAPSULE_CAPSULE_JSON_KEYS_H_
#define ZORVCAPSULE_CAPSULE_CAPSULE_JSON_KEYS_H_

#include "capsule/capsule_export.h"

namespace zorvcapsule {

// The description object, and the localized-text form shared with the controls.
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_API_VERSION_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_APP_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_AUTHORID_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CAPID_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CAPNAME_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_LOCCAPNAME_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CAPDESC_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SOURCE_INFO_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SOURCE_INFO_LOC_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROLS_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_USED_FONTS_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_USED_FONTS_LOC_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_USED_EFFECTS_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_USED_COMP_RENDERERS_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_USED_FILE_TYPES_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_TAGS_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_QZLIB_COMPLIANT_VERSION_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_FONTVANEONLY_VERSION_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_INTERNALEFFFECTSONLY_VERSION_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_MOBILECOMPATIBILITY_VERSION_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_RESPONSIVEDESIGN_VERSION_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_LOCALE_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_STR_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_STRDB_STR;

// Members of a control object.
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROL_ID_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROL_UINAME_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROL_UISUFFIX_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROL_UITOOLTIP_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROL_TYPE_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROL_PLATFORMSUPPORT_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROL_VALUE_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROL_HIDDEN_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROLPROPS_CANANIMATE_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROL_ENUM_TYPE;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROL_ENUM_ITEMS;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SLIDERVALUE_MIN_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SLIDERVALUE_MAX_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SCALE_LINKED_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SCALE_DIMENSIONS_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SPREADSHEET_MINROWS_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SPREADSHEET_MAXROWS_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SPREADSHEET_COLUMN_INFO_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SPREADSHEET_COLUMN_NAME_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SPREADSHEET_COLUMN_DATATYPE_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SPREADSHEET_COLUMN_MINVAL_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_SPREADSHEET_COLUMN_MAXVAL_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_STRING_FONTEDITINFO_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_GROUP_EXPANDED_STR;

// Names of control kinds and of point and colour components, for hosts that describe controls in
// their own words; the description document itself stores kinds as numbers and colours as arrays.
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROLTYPE_CHECKBOX_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROLTYPE_SLIDER_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROLTYPE_ANGLE_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROLTYPE_COLOR_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROLTYPE_ENUM_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROLTYPE_POINT2D_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROLTYPE_STRING_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_CONTROLTYPE_COMMENT_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_POINT2D_X_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_POINT2D_Y_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_COLOR_RED_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_COLOR_GREEN_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_COLOR_BLUE_STR;
ZORVCAPSULE_EXPORT extern const char* const CAPSULE_COLOR_ALPHA_STR;

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_CAPSULE_JSON_KEYS_H_
