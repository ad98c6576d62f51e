// libFuzzer target: CapsuleFromJson on arbitrary bytes. Every input must end in a record, an empty
// pointer, the bad-cast error or (for a time with a zero scale) the bad-rational error; a crash, a
// hang, a sanitizer report or any other exception is a finding. A record that was read must also
// write and read back again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <boost/rational.hpp>

#include "capsule/capsule_json.h"
#include "host/core/json_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    std::shared_ptr<zorvcapsule::Capsule> capsule =
        zorvcapsule::serialization::CapsuleFromJson(text);
    if (capsule) {
      const std::string written = zorvcapsule::serialization::CapsuleToJson(capsule);
      if (!zorvcapsule::serialization::CapsuleFromJson(written)) std::abort();
    }
  } catch (const zorvcore::serialization::BadCastError&) {
  } catch (const boost::bad_rational&) {
  }
  return 0;
}
