#include "tools/capsule_text.h"

#include <vector>

#include "capsule/client_control.h"
#include "host/core/unicode.h"
#include "tools/control_text.h"
#include "tools/display_text.h"
#include "tools/text_columns.h"

namespace capsuletool {
namespace {

using zorvcapsule::Capsule;

constexpr size_t kLabelWidth = 23;

// One field: the label, then the lines of its value, the later ones indented under the first.
void Field(std::ostream& out, const std::string& label, const std::vector<std::string>& lines) {
  out << "  " << FitToWidth(label, kLabelWidth - 2);
  if (lines.empty()) out << "-\n";
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out << std::string(kLabelWidth, ' ');
    out << lines[i] << '\n';
  }
}

void Field(std::ostream& out, const std::string& label, const std::string& value) {
  Field(out, label, value.empty() ? std::vector<std::string>{} : std::vector<std::string>{value});
}

std::string ListOrDash(const std::vector<std::string>& items) { return items.empty() ? "-" : Joined(items, ", "); }

std::string CompositingLibraryText(const Capsule& capsule) {
  bool known = false;
  const bool usable = capsule.CanUseQZLib(&known);
  if (!known) return "unknown for API version \"" + capsule.GetAPIVersion() + "\"";
  return usable ? "usable" : "not usable";
}

std::vector<std::string> NameLines(const Capsule& capsule) {
  std::vector<std::string> lines;
  const zorvcapsule::UIString names = capsule.GetCapsuleNameLocalized();
  for (const auto& [locale, name] : names.GetLocaleMap()) {
    lines.push_back(zorvcore::UTF16ToUTF8(locale) + "  " + zorvcore::UTF16ToUTF8(name));
  }
  if (lines.empty()) lines.push_back(zorvcore::UTF16ToUTF8(capsule.GetCapsuleNameObsolete()));
  return lines;
}

std::vector<std::string> FontLines(const Capsule& capsule) {
  std::vector<std::string> lines;
  for (const auto& [locale, fonts] : capsule.GetUsedFontsLocalized()) {
    lines.push_back(zorvcore::UTF16ToUTF8(locale) + "  " + ListOrDash(fonts));
  }
  return lines;
}

std::string AudioText(const hostbridge::SourceInfo& info) {
  if (!info.has_audio) return "no audio";
  const size_t channels = info.audio_channel_layout.size();
  const std::string layout = channels == 1 ? "mono" : channels == 2 ? "stereo" : std::to_string(channels) + " channels";
  return layout + " audio at " + SampleRateText(info.audio_sample_rate);
}

std::string SourceInfoText(const hostbridge::SourceInfo& info) {
  return FrameSizeText(info.frame_rect.size.x, info.frame_rect.size.y) + ", " + FrameRateText(info.frame_rate) + ", " +
         SecondsText(info.duration) + ", " + AudioText(info);
}

std::vector<std::string> SourceInfoLines(const Capsule& capsule) {
  std::vector<std::string> lines;
  for (const auto& [locale, info] : capsule.GetSourceInfoLocalized()) {
    lines.push_back(zorvcore::UTF16ToUTF8(locale) + "  " + SourceInfoText(info));
  }
  return lines;
}

void WriteControls(std::ostream& out, const Capsule& capsule) {
  const auto& controls = capsule.GetControls();
  Field(out, "controls", std::to_string(controls.size()));
  for (const auto& control : controls) {
    if (!control) continue;
    std::string line = "    " + FitToWidth(ControlKindName(control->GetType()), 12) + " " +
                       FitToWidth(zorvcore::UTF16ToUTF8(control->GetID()), 16) + " " +
                       FitToWidth(LocalizedText(control->GetName()), 18) + " " + ControlValueText(*control);
    if (control->IsHidden()) line += " (hidden)";
    out << line << '\n';
  }
}

}  // namespace

std::set<std::u16string> LocalesOf(const Capsule& capsule) {
  std::set<std::u16string> locales;
  const zorvcapsule::UIString names = capsule.GetCapsuleNameLocalized();
  for (const auto& entry : names.GetLocaleMap()) locales.insert(entry.first);
  for (const auto& entry : capsule.GetSourceInfoLocalized()) locales.insert(entry.first);
  for (const auto& entry : capsule.GetUsedFontsLocalized()) locales.insert(entry.first);
  return locales;
}

void WriteCapsuleText(std::ostream& out, const std::string& packagePath, const Capsule& capsule,
                      const PackageMembers& members) {
  out << zorvcore::UTF16ToUTF8(capsule.GetDisplayName()) << '\n';
  Field(out, "package", packagePath);
  Field(out, "capsule ID", zorvcore::UTF16ToUTF8(capsule.GetCapsuleID()));
  Field(out, "author app", zorvcore::UTF16ToUTF8(capsule.GetAuthorApp()));
  Field(out, "API version", capsule.GetAPIVersion());
  Field(out, "compositing library", CompositingLibraryText(capsule));
  Field(out, "names", NameLines(capsule));
  Field(out, "description", zorvcore::UTF16ToUTF8(capsule.GetCapsuleDesc()));
  Field(out, "tags", ListOrDash(capsule.GetTags()));
  Field(out, "fonts", FontLines(capsule));
  Field(out, "effects", ListOrDash(capsule.GetUsedEffects()));
  WriteControls(out, capsule);
  Field(out, "source info", SourceInfoLines(capsule));
  Field(out, "still thumbnail", ListOrDash(members.stillThumbnails));
  Field(out, "video thumbnail", ListOrDash(members.videoThumbnails));
  Field(out, "project package", ListOrDash(members.projects));
}

}  // namespace capsuletool
