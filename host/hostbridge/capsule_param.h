// CapsuleParam: the host's description of one template parameter, kept as a property map.
//
// Every parameter carries kMatchName, kUIName, kAnimatable and kType; the other properties depend
// on the type (a slider has a range and decimals, a group its children, ...). Which properties a
// type carries, and the alternative each property holds:
//
//   kMatchName std::u16string, kUIName std::u16string, kAnimatable bool, kType uint32_t (a
//   CapsuleParamType code; unknown codes are kept as they are)
//   kText:        kDefault std::u16string, kFontEditInfo SourceTextFontEditInfo
//   kSlider:      kDefault double, kMin double, kMax double, kDecimals int32_t
//   kCheckbox:    kDefault bool
//   kColor:       kDefault std::vector<double> (colour components)
//   kString:      kDefault std::u16string
//   kAngle:       kDefault double
//   kPoint:       kDefault std::vector<double> (coordinates)
//   kScale:       kDefault std::vector<double>, kLinked bool, kDimensions int32_t
//   kGroup:       kDefault std::vector<std::u16string> (child ids), kGroupExpanded bool
//   kSpreadsheet: kDefault SpreadsheetValue, kSpreadsheetMinRows uint32_t,
//                 kSpreadsheetMaxRows uint32_t,
//                 kSpreadsheetColumnInfo std::vector<SpreadsheetColumnInfo>
//
// Thread safety: a plain value; distinct values may be used from any thread, and a value nobody
// changes may be read from several threads at once.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_CAPSULE_PARAM_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_CAPSULE_PARAM_H_

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "host/hostbridge/source_text_font_edit_info.h"
#include "host/hostbridge/spreadsheet_column_info.h"
#include "host/hostbridge/spreadsheet_value.h"

namespace hostbridge {

enum class CapsuleParamType : uint32_t {
  kText = 0,
  kSlider = 1,
  kCheckbox = 2,
  kColor = 3,
  kString = 4,
  kAngle = 5,
  kPoint = 6,
  kScale = 7,
  kGroup = 8,
  kSpreadsheet = 9,
};

enum class CapsuleParamKey {
  kMatchName,
  kUIName,
  kAnimatable,
  kType,
  kDefault,
  kFontEditInfo,
  kMin,
  kMax,
  kDecimals,
  kLinked,
  kDimensions,
  kGroupExpanded,
  kSpreadsheetMinRows,
  kSpreadsheetMaxRows,
  kSpreadsheetColumnInfo,
};

using CapsuleParamValue =
    std::variant<bool, int32_t, uint32_t, double, std::u16string, std::vector<double>,
                 std::vector<std::u16string>, SourceTextFontEditInfo, SpreadsheetValue,
                 std::vector<SpreadsheetColumnInfo>>;

class CapsuleParam {
 public:
  using PropertyMap = std::map<CapsuleParamKey, CapsuleParamValue>;

  CapsuleParam() = default;  // no properties at all

  bool Has(CapsuleParamKey key) const { return properties_.count(key) != 0; }

  // Throws std::out_of_range ("invalid map<K, T> key") when the property is not set.
  const CapsuleParamValue& At(CapsuleParamKey key) const;

  // The property as alternative T. Throws std::out_of_range when it is not set and
  // std::bad_variant_access when it holds another alternative.
  template <typename T>
  const T& Get(CapsuleParamKey key) const {
    return std::get<T>(At(key));
  }

  // Sets or replaces the property.
  void Set(CapsuleParamKey key, CapsuleParamValue value) {
    properties_.insert_or_assign(key, std::move(value));
  }

  const PropertyMap& Properties() const { return properties_; }

  friend bool operator==(const CapsuleParam&, const CapsuleParam&) = default;

 private:
  PropertyMap properties_;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_CAPSULE_PARAM_H_
