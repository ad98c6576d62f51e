// Member names of the text, font and spreadsheet edit-info objects inside a description. They are
// the format's own and never change; unlike the description's top-level names they are not
// exported.
//
// Thread safety: constants.

#ifndef ZORVCAPSULE_CAPSULE_EDIT_INFO_JSON_KEYS_H_
#define ZORVCAPSULE_CAPSULE_EDIT_INFO_JSON_KEYS_H_

namespace zorvcapsule::serialization {

// Font edit information. The three "capProp..." flags also appear flat in text parameters of
// older descriptions.
inline constexpr char kFontEditKey[] = "capPropFontEdit";
inline constexpr char kFontEditValueKey[] = "fontEditValue";
inline constexpr char kFontSizeEditKey[] = "capPropFontSizeEdit";
inline constexpr char kFontSizeEditValueKey[] = "fontSizeEditValue";
inline constexpr char kFontFauxStyleEditKey[] = "capPropFontFauxStyleEdit";
inline constexpr char kFontBoldKey[] = "fontFSBoldValue";
inline constexpr char kFontItalicKey[] = "fontFSItalicValue";
inline constexpr char kFontAllCapsKey[] = "fontFSAllCapsValue";
inline constexpr char kFontSmallCapsKey[] = "fontFSSmallCapsValue";

// Text edit information; its font edit information sits under CAPSULE_STRING_FONTEDITINFO_STR.
inline constexpr char kTextEditValueKey[] = "textEditValue";

// The host's spreadsheet column record inside parameter lists.
inline constexpr char kParamColumnDataTypeKey[] = "capPropSpreadsheetColumnDataType";
inline constexpr char kParamColumnNameKey[] = "capPropSpreadsheetColumnName";
inline constexpr char kParamColumnMinValueKey[] = "capPropSpreadsheetColumnMinValue";
inline constexpr char kParamColumnMaxValueKey[] = "capPropSpreadsheetColumnMaxValue";

// Spreadsheet values.
inline constexpr char kActiveRowsKey[] = "activeRows";
inline constexpr char kColumnValuesKey[] = "columnValues";
inline constexpr char kNumberValuesKey[] = "numberValues";
inline constexpr char kTextValuesKey[] = "textValues";

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_EDIT_INFO_JSON_KEYS_H_
