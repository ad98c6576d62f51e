#include "capsule/capsule_json_keys.h"

namespace zorvcapsule {

const char* const CAPSULE_API_VERSION_STR = "apiVersion";
const char* const CAPSULE_APP_STR = "authorApp";
const char* const CAPSULE_AUTHORID_STR = "authorID";
const char* const CAPSULE_CAPID_STR = "capsuleID";
const char* const CAPSULE_CAPNAME_STR = "capsuleName";
const char* const CAPSULE_LOCCAPNAME_STR = "capsuleNameLocalized";
const char* const CAPSULE_CAPDESC_STR = "description";
const char* const CAPSULE_SOURCE_INFO_STR = "sourceInfo";
const char* const CAPSULE_SOURCE_INFO_LOC_STR = "sourceInfoLocalized";
const char* const CAPSULE_CONTROLS_STR = "clientControls";
const char* const CAPSULE_USED_FONTS_STR = "usedFonts";
const char* const CAPSULE_USED_FONTS_LOC_STR = "usedFontsLocalized";
const char* const CAPSULE_USED_EFFECTS_STR = "usedEffects";
const char* const CAPSULE_USED_COMP_RENDERERS_STR = "usedCompRenderers";
const char* const CAPSULE_USED_FILE_TYPES_STR = "usedFileTypes";
const char* const CAPSULE_TAGS_STR = "capsuleTags";
const char* const CAPSULE_QZLIB_COMPLIANT_VERSION_STR = "qzlibCompliantVersion";
const char* const CAPSULE_FONTVANEONLY_VERSION_STR = "fontvaneOnlyVersion";
const char* const CAPSULE_INTERNALEFFFECTSONLY_VERSION_STR = "internalEffectsOnlyVersion";
const char* const CAPSULE_MOBILECOMPATIBILITY_VERSION_STR = "mobileCompatibilityVersion";
const char* const CAPSULE_RESPONSIVEDESIGN_VERSION_STR = "responsiveDesignVersion";
const char* const CAPSULE_LOCALE_STR = "localeString";
const char* const CAPSULE_STR_STR = "str";
const char* const CAPSULE_STRDB_STR = "strDB";

const char* const CAPSULE_CONTROL_ID_STR = "id";
const char* const CAPSULE_CONTROL_UINAME_STR = "uiName";
const char* const CAPSULE_CONTROL_UISUFFIX_STR = "uiSuffix";
const char* const CAPSULE_CONTROL_UITOOLTIP_STR = "uiToolTip";
const char* const CAPSULE_CONTROL_TYPE_STR = "type";
const char* const CAPSULE_CONTROL_PLATFORMSUPPORT_STR = "platformSupport";
const char* const CAPSULE_CONTROL_VALUE_STR = "value";
const char* const CAPSULE_CONTROL_HIDDEN_STR = "hidden";
const char* const CAPSULE_CONTROLPROPS_CANANIMATE_STR = "canAnimate";
const char* const CAPSULE_CONTROL_ENUM_TYPE = "enumType";
const char* const CAPSULE_CONTROL_ENUM_ITEMS = "enumItmes";
const char* const CAPSULE_SLIDERVALUE_MIN_STR = "min";
const char* const CAPSULE_SLIDERVALUE_MAX_STR = "max";
const char* const CAPSULE_SCALE_LINKED_STR = "linked";
const char* const CAPSULE_SCALE_DIMENSIONS_STR = "dimensions";
const char* const CAPSULE_SPREADSHEET_MINROWS_STR = "minRows";
const char* const CAPSULE_SPREADSHEET_MAXROWS_STR = "maxRows";
const char* const CAPSULE_SPREADSHEET_COLUMN_INFO_STR = "columnInfo";
const char* const CAPSULE_SPREADSHEET_COLUMN_NAME_STR = "columnName";
const char* const CAPSULE_SPREADSHEET_COLUMN_DATATYPE_STR = "columnDataType";
const char* const CAPSULE_SPREADSHEET_COLUMN_MINVAL_STR = "columnMinValue";
const char* const CAPSULE_SPREADSHEET_COLUMN_MAXVAL_STR = "columnMaxValue";
const char* const CAPSULE_STRING_FONTEDITINFO_STR = "fonteditinfo";
const char* const CAPSULE_GROUP_EXPANDED_STR = "groupexpanded";

const char* const CAPSULE_CONTROLTYPE_CHECKBOX_STR = "checkbox";
const char* const CAPSULE_CONTROLTYPE_SLIDER_STR = "slider";
const char* const CAPSULE_CONTROLTYPE_ANGLE_STR = "angle";
const char* const CAPSULE_CONTROLTYPE_COLOR_STR = "color";
const char* const CAPSULE_CONTROLTYPE_ENUM_STR = "enum";
const char* const CAPSULE_CONTROLTYPE_POINT2D_STR = "Point2D";
const char* const CAPSULE_CONTROLTYPE_STRING_STR = "string";
const char* const CAPSULE_CONTROLTYPE_COMMENT_STR = "comment";
const char* const CAPSULE_POINT2D_X_STR = "x";
const char* const CAPSULE_POINT2D_Y_STR = "y";
const char* const CAPSULE_COLOR_RED_STR = "red";
const char* const CAPSULE_COLOR_GREEN_STR = "green";
const char* const CAPSULE_COLOR_BLUE_STR = "blue";
const char* const CAPSULE_COLOR_ALPHA_STR = "alpha";

}  // namespace zorvcapsule
