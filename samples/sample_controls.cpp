#include "samples/sample_controls.h"

#include <algorithm>

#include "capsule/control_factory.h"
#include "host/core/unicode.h"

namespace zorvsamples {
namespace {

namespace factory = zorvcapsule::factory;
using zorvcapsule::ControlProperties;
using zorvcapsule::UIString;

constexpr int32_t kFirstKind = zorvcapsule::kCheckboxControlType;
constexpr int32_t kLastKind = zorvcapsule::kGroupDropZoneControlType;

// A name in English and German; the other languages fall back to English.
UIString Named(const char16_t* english, const char16_t* german) {
  UIString name(english);
  name.SetString(u"de_DE", german);
  return name;
}

float Component(uint8_t value) { return static_cast<float>(value) / 255.0f; }

hostbridge::SourceTextFontEditInfo TitleFont(SampleRandom& random) {
  hostbridge::SourceTextFontEditInfo font;
  font.font_editable = true;
  font.font_name = zorvcore::StdToUTF16String(random.Pick(SampleFonts()));
  font.font_size_editable = true;
  font.font_size = static_cast<float>(48 + 12 * random.Below(6));
  font.faux_styles_editable = random.Chance(50);
  font.bold = random.Chance(40);
  return font;
}

hostbridge::SpreadsheetValue ScoreTable() {
  hostbridge::SpreadsheetValue value;
  value.active_rows = 3;
  value.column_values.push_back(hostbridge::SpreadsheetColumnValue::Texts({u"Harbour FC", u"Valley United", u"Ridge Rovers"}));
  value.column_values.push_back(hostbridge::SpreadsheetColumnValue::Numbers({3, 1, 0}));
  return value;
}

// The group holds the title and, where the template has one, the hint: a group names only
// controls that exist.
zorvcapsule::ControlChildIDs GroupChildren(const std::vector<int32_t>& kinds) {
  zorvcapsule::ControlChildIDs children{u"titleText"};
  if (std::find(kinds.begin(), kinds.end(), zorvcapsule::kCommentControlType) != kinds.end()) children.push_back(u"hint");
  return children;
}

factory::ControlPtr MakeControl(int32_t kind, const std::vector<int32_t>& kinds, const UIString& title,
                                const SampleTheme& theme, SampleRandom& random) {
  const ControlProperties animated(true);
  const ControlProperties still(false);
  switch (kind) {
    case zorvcapsule::kCheckboxControlType:
      return factory::CreateCheckboxControl(u"showBackground", Named(u"Show background", u"Hintergrund anzeigen"),
                                            still, random.Chance(50));
    case zorvcapsule::kSliderControlType: {
      auto slider = factory::CreateSliderControl(u"opacity", Named(u"Opacity", u"Deckkraft"), animated, 0, 100,
                                                 static_cast<double>(50 + 10 * random.Below(6)));
      slider->SetSuffix(UIString(u"%"));
      return slider;
    }
    case zorvcapsule::kAngleControlType:
      return factory::CreateAngleControl(u"rotation", Named(u"Rotation", u"Drehung"), animated,
                                         static_cast<double>(15 * random.Below(24)));
    case zorvcapsule::kColorControlType:
      return factory::CreateColorControl(
          u"accentColor", Named(u"Accent colour", u"Akzentfarbe"), animated,
          {Component(theme.accent.red), Component(theme.accent.green), Component(theme.accent.blue), 1.0f});
    case zorvcapsule::kPoint2DControlType:
      return factory::CreatePoint2DControl(u"position", Named(u"Position", u"Position"), animated,
                                           {static_cast<double>(100 + 20 * random.Below(40)),
                                            static_cast<double>(100 + 20 * random.Below(40))});
    case zorvcapsule::kStringControlType:
      return factory::CreateStringControl(u"titleText", Named(u"Title", u"Titel"), still, title, TitleFont(random));
    case zorvcapsule::kEnumControlType:
      return factory::CreateEnumControl(u"animationStyle", Named(u"Animation style", u"Animationsstil"), still,
                                        zorvcapsule::EnumType::kDefault,
                                        {Named(u"Slide", u"Schieben"), Named(u"Fade", u"Blenden"), Named(u"Pop", u"Aufploppen")},
                                        static_cast<int32_t>(random.Below(3)));
    case zorvcapsule::kCommentControlType:
      return factory::CreateCommentControl(u"hint", Named(u"Hint", u"Hinweis"), still,
                                           Named(u"Keep the title short.", u"Halten Sie den Titel kurz."));
    case zorvcapsule::kScaleControlType: {
      const double factor = static_cast<double>(80 + 10 * random.Below(5));
      return factory::CreateScaleControl(u"scale", Named(u"Scale", u"Skalierung"), animated, true, 2, {factor, factor});
    }
    case zorvcapsule::kGroupControlType:
      return factory::CreateGroupControl(u"textGroup", Named(u"Text", u"Text"), still, GroupChildren(kinds),
                                         random.Chance(70));
    case zorvcapsule::kSpreadsheetControlType:
      return factory::CreateSpreadsheetControl(
          u"scores", Named(u"Scores", u"Ergebnisse"), still, 1, 10,
          {zorvcapsule::SpreadsheetColumnInfoLoc(hostbridge::kSpreadsheetDataTypeText, Named(u"Team", u"Mannschaft")),
           zorvcapsule::SpreadsheetColumnInfoLoc(hostbridge::kSpreadsheetDataTypeNumber, Named(u"Points", u"Punkte"), 0,
                                                 200)},
          ScoreTable());
    case zorvcapsule::kGroupDropZoneControlType:
      return factory::CreateGroupDropZoneControl(u"dropZone", Named(u"Drop zone", u"Ablagebereich"), still, {});
    default:
      return nullptr;
  }
}

}  // namespace

std::vector<int32_t> SampleControlKinds(bool everyKind, SampleRandom& random) {
  std::vector<int32_t> kinds;
  if (everyKind) {
    for (int32_t kind = kFirstKind; kind <= kLastKind; ++kind) kinds.push_back(kind);
    return kinds;
  }
  kinds.push_back(zorvcapsule::kStringControlType);
  const size_t extra = 2 + random.Below(3);
  while (kinds.size() < extra + 1) {
    const auto kind = static_cast<int32_t>(kFirstKind + random.Below(kLastKind - kFirstKind + 1));
    if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) kinds.push_back(kind);
  }
  return kinds;
}

zorvcapsule::ClientControlList MakeSampleControls(const std::vector<int32_t>& kinds, const UIString& title,
                                                  const SampleTheme& theme, SampleRandom& random) {
  zorvcapsule::ClientControlList controls;
  for (int32_t kind : kinds) {
    if (auto control = MakeControl(kind, kinds, title, theme, random)) controls.push_back(std::move(control));
  }
  return controls;
}

}  // namespace zorvsamples
