#include "tools/description_checks.h"

#include <boost/rational.hpp>

#include <exception>
#include <map>
#include <set>
#include <string>

#include "capsule/api_version_check.h"
#include "capsule/capsule_json.h"
#include "capsule/client_control.h"
#include "host/core/json_value.h"
#include "host/core/unicode.h"
#include "package/package_names.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;

const std::string& DescriptionMember() {
  static const std::string name = zorvcore::UTF16ToUTF8(zorvcapsule::kJSONFileName);
  return name;
}

Problem DescriptionProblem(const ProblemKind& kind, const std::string& message, std::string pointer = std::string()) {
  return Problem(kind, DescriptionMember() + " " + message, DescriptionMember(), std::move(pointer));
}

std::string Quoted(const std::u16string& text) { return "\"" + zorvcore::UTF16ToUTF8(text) + "\""; }

// The reader refuses a member of the wrong type with the bad-cast error, which names that member
// by its JSON Pointer; an error that names no member, or the document itself (""), means the text
// is no JSON object at all.
Problem BadCastProblem(const json::BadCastError& error) {
  const std::string* pointer = error.Pointer();
  if (pointer == nullptr || pointer->empty()) {
    return DescriptionProblem(kUnreadableDescription, "is not a JSON text with an object at its root");
  }
  return DescriptionProblem(kWrongType,
                            "has a value of another JSON type than the description format gives at " + *pointer,
                            *pointer);
}

std::shared_ptr<zorvcapsule::Capsule> ReadRecord(const std::string& text, std::vector<Problem>& problems) {
  // The library's reader answers the gate's refusal with an empty record; the verdict says why.
  const zorvcore::Status gate = zorvcapsule::serialization::CheckAPIVersion(text);
  if (gate.IsNotFound()) {
    problems.push_back(DescriptionProblem(kAPIVersionMissing, "has no apiVersion, so the library does not read it"));
    return nullptr;
  }
  if (!gate.ok()) {
    problems.push_back(DescriptionProblem(
        kAPIVersionNewer, "is written for a newer format version than this library's " +
                              zorvcapsule::Capsule::GetCurrentAPIVersion() + ", so the library does not read it"));
    return nullptr;
  }
  try {
    return zorvcapsule::serialization::CapsuleFromJson(text);
  } catch (const json::BadCastError& error) {
    problems.push_back(BadCastProblem(error));
  } catch (const boost::bad_rational&) {
    problems.push_back(DescriptionProblem(kBadValue, "holds a time with a zero or too large scale"));
  } catch (const std::exception& e) {
    problems.push_back(DescriptionProblem(kUnreadableDescription, std::string("cannot be read: ") + e.what()));
  }
  return nullptr;
}

void CheckControlIDs(const zorvcapsule::ClientControlList& controls, std::vector<Problem>& problems) {
  std::map<std::u16string, size_t> uses;
  for (const auto& control : controls) ++uses[control->GetID()];
  for (const auto& [id, count] : uses) {
    if (count < 2) continue;
    problems.push_back(DescriptionProblem(kDuplicateControlID, "gives the control id " + Quoted(id) + " to " +
                                                                   std::to_string(count) + " controls"));
  }
}

void CheckGroupChildren(const zorvcapsule::ClientControlList& controls, std::vector<Problem>& problems) {
  std::set<std::u16string> ids;
  for (const auto& control : controls) ids.insert(control->GetID());
  for (const auto& control : controls) {
    if (control->GetType() != zorvcapsule::kGroupControlType) continue;
    for (const auto& child : control->GetValueAs<zorvcapsule::ControlChildIDs>()) {
      if (ids.count(child) > 0) continue;
      problems.push_back(DescriptionProblem(
          kUnknownGroupChild, "has the group " + Quoted(control->GetID()) + " name the child " + Quoted(child) +
                                  ", which no control has"));
    }
  }
}

bool HasName(const zorvcapsule::Capsule& capsule) {
  if (!capsule.GetCapsuleNameObsolete().empty()) return true;
  const zorvcapsule::UIString names = capsule.GetCapsuleNameLocalized();  // by value: keep it alive
  for (const auto& [locale, text] : names.GetLocaleMap()) {
    if (!text.empty()) return true;
  }
  return false;
}

}  // namespace

std::shared_ptr<zorvcapsule::Capsule> CheckDescriptionText(std::string_view bytes, std::vector<Problem>& problems) {
  std::string text(bytes);
  if (!zorvcore::IsWellFormedUTF8(text)) {
    problems.push_back(DescriptionProblem(
        kNotUTF8, "is not well-formed UTF-8; the library reads it with each ill-formed sequence replaced by U+FFFD"));
    text = zorvcore::UTF16ToUTF8(zorvcore::StdToUTF16String(text));
  }
  return ReadRecord(text, problems);
}

void CheckDescriptionRecord(const zorvcapsule::Capsule& capsule, std::vector<Problem>& problems) {
  CheckControlIDs(capsule.GetControls(), problems);
  CheckGroupChildren(capsule.GetControls(), problems);
  if (!HasName(capsule)) {
    problems.push_back(DescriptionProblem(kNoName, "gives the template no name, so hosts show the file title"));
  }
}

}  // namespace capsuletool
