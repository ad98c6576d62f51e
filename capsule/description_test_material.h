// Test material: realistic template descriptions for the round-trip tests and benchmarks of the
// description readers and writers: controls of every kind that round-trips, every field away from
// its default, texts in several locales, and source info of two locales (capsule parameters of all
// ten types, a remote-asset request with headers, a non-default colour space).
//
// Thread safety: the functions build new values; call them from any thread.

#ifndef ZORVCAPSULE_CAPSULE_DESCRIPTION_TEST_MATERIAL_H_
#define ZORVCAPSULE_CAPSULE_DESCRIPTION_TEST_MATERIAL_H_

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "capsule/capsule.h"
#include "capsule/client_control.h"
#include "capsule/control_factory.h"
#include "capsule/group_control.h"
#include "capsule/source_info_test_material.h"
#include "capsule/ui_string.h"

namespace zorvcapsule::testing {

// A text in English, German and Japanese.
inline UIString ThreeLanguages(const std::u16string& english, const std::u16string& german,
                               const std::u16string& japanese) {
  UIString text;
  text.SetString(u"en_US", english);
  text.SetString(u"de_DE", german);
  text.SetString(u"ja_JP", japanese);
  return text;
}

inline std::shared_ptr<ClientControl> Decorated(std::shared_ptr<ClientControl> control,
                                                const std::u16string& suffix, bool hidden) {
  UIString suffix_text;
  suffix_text.SetString(u"en_US", suffix);
  control->SetSuffix(std::move(suffix_text));
  control->SetToolTip(ThreeLanguages(u"Drag to change", u"Zum \u00c4ndern ziehen",
                                     u"\u30c9\u30e9\u30c3\u30b0\u3057\u3066\u5909\u66f4"));
  control->SetHidden(hidden);
  return control;
}

// One control of each kind 1 to 11, each field away from its default, in the order a lower third
// would list them; the group holds the slider and the colour.
inline ClientControlList MakeControlsOfEveryKind() {
  using namespace factory;
  const ControlProperties animated(true);
  const ControlProperties fixed(false);
  ClientControlList controls;
  controls.push_back(Decorated(
      CreateCheckboxControl(u"ctl-shadow", ThreeLanguages(u"Shadow", u"Schatten", u"\u5f71"),
                            animated, true),
      u"", true));
  controls.push_back(Decorated(
      CreateSliderControl(u"ctl-opacity",
                          ThreeLanguages(u"Opacity", u"Deckkraft", u"\u4e0d\u900f\u660e\u5ea6"),
                          animated, -10.5, 250.0, 42.25),
      u"%", false));
  controls.push_back(Decorated(
      CreateAngleControl(u"ctl-rotation", ThreeLanguages(u"Rotation", u"Drehung", u"\u56de\u8ee2"),
                         animated, -45.5),
      u"\u00b0", false));
  controls.push_back(Decorated(
      CreateColorControl(u"ctl-fill", ThreeLanguages(u"Fill", u"F\u00fcllung", u"\u5857\u308a"),
                         animated, {1.0f, 0.5f, 0.25f, 0.75f}),
      u"", false));
  controls.push_back(Decorated(
      CreatePoint2DControl(u"ctl-anchor",
                           ThreeLanguages(u"Anchor", u"Ankerpunkt", u"\u30a2\u30f3\u30ab\u30fc"),
                           animated, {960.5, -540.25}),
      u"px", false));
  hostbridge::SourceTextFontEditInfo font;
  font.font_editable = true;
  font.font_name = u"Sans Condensed \u00e9";
  font.font_size_editable = true;
  font.font_size = 36.5f;
  font.faux_styles_editable = true;
  font.bold = true;
  font.all_caps = true;
  controls.push_back(Decorated(
      CreateStringControl(
          u"ctl-headline", ThreeLanguages(u"Headline", u"Schlagzeile", u"\u898b\u51fa\u3057"),
          fixed, ThreeLanguages(u"Breaking \"news\"\nline 2", u"Eilmeldung", u"\u901f\u5831"),
          font),
      u"", false));
  controls.push_back(
      Decorated(CreateEnumControl(u"ctl-style",
                                  ThreeLanguages(u"Style", u"Stil", u"\u30b9\u30bf\u30a4\u30eb"),
                                  fixed, static_cast<EnumType>(3),
                                  {ThreeLanguages(u"Flat", u"Flach", u"\u30d5\u30e9\u30c3\u30c8"),
                                   ThreeLanguages(u"Glass", u"Glas", u"\u30ac\u30e9\u30b9"),
                                   ThreeLanguages(u"Neon", u"Neon", u"\u30cd\u30aa\u30f3")},
                                  2),
                u"", false));
  controls.push_back(
      Decorated(CreateCommentControl(
                    u"ctl-note", ThreeLanguages(u"Note", u"Hinweis", u"\u6ce8"), fixed,
                    ThreeLanguages(u"Keep titles short.", u"Titel kurz halten.", u"\u77ed\u304f")),
                u"", false));
  controls.push_back(Decorated(
      CreateScaleControl(u"ctl-scale",
                         ThreeLanguages(u"Scale", u"Skalierung", u"\u30b9\u30b1\u30fc\u30eb"),
                         animated, true, 3, {100.0, 80.5, -60.0}),
      u"%", false));
  controls.push_back(
      Decorated(CreateGroupControl(u"ctl-bar",
                                   ThreeLanguages(u"Accent bar", u"Akzentbalken", u"\u30d0\u30fc"),
                                   fixed, {u"ctl-opacity", u"ctl-fill"}, false),
                u"", false));
  hostbridge::SpreadsheetValue cells;
  cells.active_rows = 2;
  cells.column_values.push_back(hostbridge::SpreadsheetColumnValue::Texts({u"Home", u"Away"}));
  cells.column_values.push_back(hostbridge::SpreadsheetColumnValue::Numbers({3.0, 1.5}));
  controls.push_back(Decorated(
      CreateSpreadsheetControl(
          u"ctl-scores", ThreeLanguages(u"Scores", u"Spielstand", u"\u5f97\u70b9"), fixed, 1, 8,
          {SpreadsheetColumnInfoLoc(hostbridge::kSpreadsheetDataTypeText,
                                    ThreeLanguages(u"Team", u"Mannschaft", u"\u30c1\u30fc\u30e0")),
           SpreadsheetColumnInfoLoc(hostbridge::kSpreadsheetDataTypeNumber,
                                    ThreeLanguages(u"Goals", u"Tore", u"\u30b4\u30fc\u30eb"), -1.0,
                                    99.5)},
          cells),
      u"", false));
  return controls;
}

// A complete description: identity, names in three languages, every list filled, version
// markers, the controls above and source info for "en_US" and "de_DE".
inline std::shared_ptr<Capsule> MakeFullDescription() {
  auto capsule =
      std::make_shared<Capsule>(u"tssl", u"Lower Third", u"6F9619FF-8B86-D011-B42D-00C04FC964FF");
  capsule->SetAuthorID(u"studio@example.com");
  capsule->SetCapsuleDesc(
      u"A two-line lower third with an animated accent bar \u2014 \u00e9\u00e8.");
  capsule->SetCapsuleNameLocalized(
      ThreeLanguages(u"Lower Third", u"Bauchbinde", u"\u30c6\u30ed\u30c3\u30d7"));
  capsule->SetPlatformSupport({"tssl", "flit", "qzfx"});
  capsule->SetSourceInfoVector(
      {{u"en_US", MakeFullSourceInfo(0)}, {u"de_DE", MakeFullSourceInfo(1)}});
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
