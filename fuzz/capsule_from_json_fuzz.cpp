// libFuzzer target: CapsuleFromJson on arbitrary bytes. Every input must end in a record, an empty
// pointer, the bad-cast error or (for a time with a zero scale) the bad-rational error; a crash, a
// hang, a sanitizer report or any other exception is a finding. A record that was read must also
// write and read back again. The other readers of a description must agree with it: reading from a
// value tree gives the same record, and the catalogue's reading (controls checked, not built) the
// same outcome and the same record without controls.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>

#include <boost/rational.hpp>

#include "capsule/api_version_check.h"
#include "capsule/capsule_json.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"

namespace {

namespace serialization = zorvcapsule::serialization;

// "bad cast", "bad rational", "refused", or the record's text (without controls when asked).
std::string Outcome(const std::function<std::shared_ptr<zorvcapsule::Capsule>()>& read, bool withoutControls) {
  try {
    std::shared_ptr<zorvcapsule::Capsule> capsule = read();
    if (!capsule) return "refused";
    if (withoutControls) capsule->SetControls({});
    return serialization::CapsuleToJson(capsule);
  } catch (const zorvcore::serialization::BadCastError&) {
    return "bad cast";
  } catch (const boost::bad_rational&) {
    return "bad rational";
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string read = Outcome([&] { return serialization::CapsuleFromJson(text); }, false);
  if (read != "refused" && read != "bad cast" && read != "bad rational" && !serialization::CapsuleFromJson(read)) {
    std::abort();
  }
  const std::string fromTree = Outcome(
      [&] {
        if (!serialization::HasReadableAPIVersion(text)) return std::shared_ptr<zorvcapsule::Capsule>();
        const zorvcore::serialization::JSONValuePtr root = zorvcore::serialization::JSONParse(text);
        if (!root) throw zorvcore::serialization::BadCastError();
        return serialization::CapsuleFromJsonValue(root);
      },
      false);
  if (fromTree != read) std::abort();
  const std::string withoutControls = Outcome([&] { return serialization::CapsuleWithoutControlsFromJson(text); }, true);
  if (withoutControls != Outcome([&] { return serialization::CapsuleFromJson(text); }, true)) std::abort();
  return 0;
}
