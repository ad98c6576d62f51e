#include "tools/package_description.h"

#include <boost/rational.hpp>

#include <exception>

#include "capsule/api_version_check.h"
#include "capsule/capsule_json.h"
#include "host/core/json_value.h"
#include "host/core/unicode.h"

namespace capsuletool {
namespace {

using zorvcore::Status;

constexpr const char* kMissing =
    "no readable definition.json (the member is missing or empty, or the file is not a template package)";

Status Refused(const Status& gate) {
  if (gate.IsNotFound()) return Status::NotSupported("definition.json has no apiVersion");
  return Status::NotSupported("definition.json is written for format version " + gate.message() +
                              ", newer than this library's " + zorvcapsule::Capsule::GetCurrentAPIVersion());
}

// The reader names the value of the wrong type by its JSON Pointer: none when the text did not
// parse, "" when the document itself is no object.
Status BadCast(const zorvcore::serialization::BadCastError& error) {
  const std::string* pointer = error.Pointer();
  if (pointer == nullptr) return Status::Corruption("definition.json is not valid JSON");
  if (pointer->empty()) return Status::Corruption("definition.json is not a JSON object");
  if (*pointer == "/apiVersion") {
    return Status::Corruption("definition.json has an apiVersion that is not a string (bad cast)");
  }
  return Status::Corruption("definition.json has a member of the wrong JSON type (bad cast)");
}

}  // namespace

Status ReadDescription(const std::string& utf8Text, std::shared_ptr<zorvcapsule::Capsule>* capsule) {
  capsule->reset();
  // CapsuleFromJson applies the same gate first and answers its refusal with an empty record.
  if (const Status gate = zorvcapsule::serialization::CheckAPIVersion(utf8Text); !gate.ok()) {
    return Refused(gate);
  }
  try {
    *capsule = zorvcapsule::serialization::CapsuleFromJson(utf8Text);
    return Status::OK();
  } catch (const zorvcore::serialization::BadCastError& error) {
    return BadCast(error);
  } catch (const boost::bad_rational&) {
    return Status::Corruption("definition.json holds a time with a zero or too large scale");
  } catch (const std::exception& e) {
    return Status::Corruption(std::string("definition.json cannot be read: ") + e.what());
  } catch (...) {
    return Status::Corruption("definition.json cannot be read");
  }
}

PackageDescription ReadPackageDescription(const zorvcapsule::CapsuleZip& package) {
  PackageDescription result;
  const std::u16string text = package.GetTPLXDescriptionJSON();
  result.status = text.empty() ? Status::NotFound(kMissing)
                              : ReadDescription(zorvcore::UTF16ToUTF8(text), &result.capsule);
  return result;
}

}  // namespace capsuletool
