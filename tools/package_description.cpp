#include "tools/package_description.h"

#include <boost/rational.hpp>

#include <exception>

#include "capsule/capsule_json.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/core/unicode.h"

namespace capsuletool {
namespace {

namespace json = zorvcore::serialization;

constexpr const char* kMissing =
    "no readable definition.json (the member is missing or empty, or the file is not a template package)";

// Why a well-formed object was still refused or failed: the version, or a member's type.
std::string ObjectProblem(const json::JSONValuePtr& root, bool refused) {
  const json::JSONValuePtr version = json::GetVariantInObject(root, std::string_view("apiVersion"));
  if (!version) return "definition.json has no apiVersion";
  if (!version->IsString()) return "definition.json has an apiVersion that is not a string (bad cast)";
  if (refused) {
    return "definition.json is written for format version " + json::AsString(version) +
           ", newer than this library's " + zorvcapsule::Capsule::GetCurrentAPIVersion();
  }
  return "definition.json has a member of the wrong JSON type (bad cast)";
}

std::string Explain(const std::string& text, bool refused) {
  const json::JSONValuePtr root = json::JSONParse(text);
  if (!root) {
    if (refused) return "definition.json has no apiVersion, or names a newer format version";
    return "definition.json is not valid JSON";
  }
  if (!root->IsObject()) return "definition.json is not a JSON object";
  return ObjectProblem(root, refused);
}

}  // namespace

std::string DescriptionProblem(const std::string& utf8Text) {
  try {
    if (zorvcapsule::serialization::CapsuleFromJson(utf8Text)) return std::string();
    return Explain(utf8Text, true);
  } catch (const json::BadCastError&) {
    return Explain(utf8Text, false);
  } catch (const boost::bad_rational&) {
    return "definition.json holds a time with a zero or too large scale";
  } catch (const std::exception& e) {
    return std::string("definition.json cannot be read: ") + e.what();
  }
}

PackageDescription ReadPackageDescription(const zorvcapsule::CapsuleZip& package) {
  PackageDescription result;
  const std::u16string text = package.GetTPLXDescriptionJSON();
  if (text.empty()) {
    result.problem = kMissing;
    return result;
  }
  const std::string utf8 = zorvcore::UTF16ToUTF8(text);
  try {
    result.capsule = zorvcapsule::serialization::CapsuleFromJson(utf8);
  } catch (...) {
    result.capsule.reset();
  }
  if (!result.capsule) result.problem = DescriptionProblem(utf8);
  return result;
}

}  // namespace capsuletool
