// Test material: a realistic template description for the round-trip tests and benchmarks of the
// description readers and writers: controls of every kind that round-trips, every field away from
// its default, texts in two locales, and source info of two locales.
//
// Thread safety: the functions build new values; call them from any thread.

#ifndef ZORVCAPSULE_CAPSULE_DESCRIPTION_TEST_MATERIAL_H_
#define ZORVCAPSULE_CAPSULE_DESCRIPTION_TEST_MATERIAL_H_

#include <memory>
#include <string>

#include "capsule/capsule.h"
#include "capsule/client_control.h"
#include "capsule/control_factory.h"
#include "capsule/source_info_test_material.h"
#include "capsule/ui_string.h"

namespace zorvcapsule::testing {

// A text in English and Japanese.
inline UIString TwoLanguages(const std::u16string& english, const std::u16string& japanese) {
  UIString text;
  text.SetString(u"en_US", english);
  text.SetString(u"ja_JP", japanese);
  return text;
}

// One control of each kind 1 to 11 with every field away from its default, in the order a lower
// third would list them; the group holds the slider and the colour. Only the first is hidden.
inline ClientControlList MakeControlsOfEveryKind() {
  using namespace factory;
  const ControlProperties animated(true);
  const ControlProperties fixed(false);
  const UIString name = TwoLanguages(u"Name", u"\u540d\u524d");
  const hostbridge::SpreadsheetValue cells{2, {hostbridge::SpreadsheetColumnValue::Texts({u"Home", u"Away"}),
                                               hostbridge::SpreadsheetColumnValue::Numbers({3.0, 1.5})}};
  ClientControlList controls = {
      CreateCheckboxControl(u"ctl-shadow", name, animated, true),
      CreateSliderControl(u"ctl-opacity", name, animated, -10.5, 250.0, 42.25),
      CreateAngleControl(u"ctl-rotation", name, animated, -45.5),
      CreateColorControl(u"ctl-fill", name, animated, {1.0f, 0.5f, 0.25f, 0.75f}),
      CreatePoint2DControl(u"ctl-anchor", name, animated, {960.5, -540.25}),
      CreateStringControl(u"ctl-headline", name, fixed, TwoLanguages(u"Breaking \"news\"\nline 2", u"\u901f\u5831"),
                          FullFont()),
      CreateEnumControl(u"ctl-style", name, fixed, static_cast<EnumType>(3),
                        {TwoLanguages(u"Flat", u"\u30d5\u30e9\u30c3\u30c8"), UIString(u"Neon")}, 1),
      CreateCommentControl(u"ctl-note", name, fixed, TwoLanguages(u"Keep titles short.", u"\u77ed\u304f")),
      CreateScaleControl(u"ctl-scale", name, animated, true, 3, {100.0, 80.5, -60.0}),
      CreateGroupControl(u"ctl-bar", name, fixed, {u"ctl-opacity", u"ctl-fill"}, false),
      CreateSpreadsheetControl(
          u"ctl-scores", name, fixed, 1, 8,
          {SpreadsheetColumnInfoLoc(hostbridge::kSpreadsheetDataTypeText, TwoLanguages(u"Team", u"\u30c1\u30fc\u30e0")),
           SpreadsheetColumnInfoLoc(hostbridge::kSpreadsheetDataTypeNumber, UIString(u"Goals"), -1.0, 99.5)},
          cells),
  };
  for (const auto& control : controls) {
    control->SetSuffix(UIString(u"%"));
    control->SetToolTip(TwoLanguages(u"Drag to change", u"\u30c9\u30e9\u30c3\u30b0"));
  }
  controls.front()->SetHidden(true);
  return controls;
}

// A complete description: identity, names in two languages, every list filled, version markers,
// the controls above and source info for "en_US" and "de_DE".
inline std::shared_ptr<Capsule> MakeFullDescription() {
  auto capsule = std::make_shared<Capsule>(u"tssl", u"Lower Third", u"6F9619FF-8B86-D011-B42D-00C04FC964FF");
  capsule->SetAuthorID(u"studio@example.com");
  capsule->SetCapsuleDesc(u"A two-line lower third with an animated accent bar \u2014 \u00e9\u00e8.");
  capsule->SetCapsuleNameLocalized(TwoLanguages(u"Lower Third", u"\u30c6\u30ed\u30c3\u30d7"));
  capsule->SetPlatformSupport({"tssl", "flit", "qzfx"});
  capsule->SetSourceInfoVector({{u"en_US", MakeFullSourceInfo(0)}, {u"de_DE", MakeFullSourceInfo(1)}});
  capsule->SetControls(MakeControlsOfEveryKind());
  capsule->SetUsedFontsVector({{u"en_US", {"SourceSans-Bold", "SourceSans-Regular"}},
                               {u"de_DE", {"SourceSans-Bold", "Fraktur-Regular"}}});
  capsule->SetUsedEffects({"blur", "glow", "fill"});
  capsule->SetUsedCompRenderers({"classic3d", "raytrace"});
  capsule->SetUsedFileTypes({"png", "mov"});
  capsule->SetTags({"lower third", "title", "news", "corporate"});
  capsule->SetQzlibCompliantVersion(u"201810");
  capsule->SetMobileCompatibilityVersion(u"201804");
  capsule->SetInternalEffectsVersion(u"201710");
  capsule->SetFontvaneOnlyVersion(u"0");
  capsule->SetResponsiveDesignTimeVersion(u"201810");
  return capsule;
}

}  // namespace zorvcapsule::testing

#endif  // ZORVCAPSULE_CAPSULE_DESCRIPTION_TEST_MATERIAL_H_
