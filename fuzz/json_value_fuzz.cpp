// libFuzzer target: the JSON value layer (JSONParse, the value model, GetJSONUTF8String and
// GetJSONString) on arbitrary bytes.
//
// Properties checked, each a finding when it fails (std::abort):
// - every parse overload (view, padded string, NUL-terminated, UTF-16) agrees on whether the text
//   is one JSON value, and on the value;
// - a parsed value written compact or pretty parses again to an equal value (same kinds, same
//   doubles bit for bit, same keys and order), and writing that again gives the same text;
// - the UTF-16 writer's text parses to the same value;
// - a string made from the raw bytes (ill-formed UTF-8 allowed) writes text that parses, to the
//   bytes with every ill-formed sequence replaced by U+FFFD; the same as an object key;
// - a double made from the first eight bytes writes text that reads back to the same double, or
//   null for NaN and the infinities.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"

namespace {

namespace zs = zorvcore::serialization;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Deep equality; an empty pointer equals JSON null, as the model reads it.
bool Equal(const zs::JSONValuePtr& a, const zs::JSONValuePtr& b) {
  const zs::JSONKind kindA = a ? a->Kind() : zs::JSONKind::kNull;
  const zs::JSONKind kindB = b ? b->Kind() : zs::JSONKind::kNull;
  if (kindA != kindB) return false;
  switch (kindA) {
    case zs::JSONKind::kNull:
      return true;
    case zs::JSONKind::kBool:
      return a->Get<bool>() == b->Get<bool>();
    case zs::JSONKind::kInt64:
      return a->Get<int64_t>() == b->Get<int64_t>();
    case zs::JSONKind::kUInt64:
      return a->Get<uint64_t>() == b->Get<uint64_t>();
    case zs::JSONKind::kDouble:
      return SameDouble(a->Get<double>(), b->Get<double>());
    case zs::JSONKind::kString:
      return a->Get<std::string>() == b->Get<std::string>();
    case zs::JSONKind::kObject: {
      const zs::JSONObject& x = a->Get<zs::JSONObject>();
      const zs::JSONObject& y = b->Get<zs::JSONObject>();
      if (x.size() != y.size()) return false;
      for (auto i = x.begin(), j = y.begin(); i != x.end(); ++i, ++j) {
        if (i->first != j->first || !Equal(i->second, j->second)) return false;
      }
      return true;
    }
    case zs::JSONKind::kArray: {
      const zs::JSONArray& x = a->Get<zs::JSONArray>();
      const zs::JSONArray& y = b->Get<zs::JSONArray>();
      if (x.size() != y.size()) return false;
      for (size_t i = 0; i < x.size(); ++i) {
        if (!Equal(x[i], y[i])) return false;
      }
      return true;
    }
  }
  return false;
}

void CheckRoundTrip(const zs::JSONValuePtr& value) {
  for (const bool pretty : {false, true}) {
    const std::string written = zs::GetJSONUTF8String(value, pretty);
    const zs::JSONValuePtr again = zs::JSONParse(written);
    Require(again != nullptr && Equal(value, again));
    Require(zs::GetJSONUTF8String(again, pretty) == written);
  }
  const zs::JSONValuePtr fromUTF16 = zs::JSONParse(zs::GetJSONString(value, false));
  Require(fromUTF16 != nullptr && Equal(value, fromUTF16));
}

void CheckParsers(std::string_view text) {
  const zs::JSONValuePtr value = zs::JSONParse(text);
  std::string roomy;  // with room after the text, so the parser may read ahead
  roomy.reserve(text.size() + 64);
  roomy.assign(text);
  const zs::JSONValuePtr padded = zs::JSONParse(roomy);
  Require((value == nullptr) == (padded == nullptr));
  if (text.find('\0') == std::string_view::npos) {
    const zs::JSONValuePtr terminated = zs::JSONParse(std::string(text).c_str());
    Require((value == nullptr) == (terminated == nullptr));
  }
  // UTF-16 text cannot hold ill-formed UTF-8, so only well-formed text must agree.
  const std::u16string wide = zorvcore::UTF8ToUTF16(text);
  const zs::JSONValuePtr fromWide = zs::JSONParse(std::u16string_view(wide));
  if (zorvcore::UTF16ToUTF8(wide) == text) Require((value == nullptr) == (fromWide == nullptr));
  if (value == nullptr) return;
  Require(Equal(value, padded));
  if (fromWide) Require(Equal(value, fromWide));
  CheckRoundTrip(value);
}

void CheckRawString(std::string_view bytes) {
  const std::string repaired = zorvcore::UTF16ToUTF8(zorvcore::UTF8ToUTF16(bytes));
  const zs::JSONValuePtr text = zs::JSONParse(zs::GetJSONUTF8String(zs::MakeJSONString(bytes), false));
  Require(text != nullptr && text->IsString() && text->Get<std::string>() == repaired);

  const zs::JSONValuePtr object = zs::MakeJSONObject();
  zs::AddToObject(object, bytes, zs::MakeJSONBool(true));
  const zs::JSONValuePtr keyed = zs::JSONParse(zs::GetJSONUTF8String(object, true));
  Require(keyed != nullptr && keyed->IsObject() && zs::AsObject(keyed).size() == 1 &&
          zs::AsObject(keyed).begin()->first == repaired);
}

void CheckDouble(std::string_view bytes) {
  double number = 0;
  if (bytes.size() < sizeof number) return;
  std::memcpy(&number, bytes.data(), sizeof number);
  const zs::JSONValuePtr value = zs::JSONParse(zs::GetJSONUTF8String(zs::MakeJSONDouble(number), false));
  Require(value != nullptr);
  if (std::isfinite(number)) {
    Require(value->IsDouble() && SameDouble(value->Get<double>(), number));
  } else {
    Require(value->IsNull());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckParsers(bytes);
  CheckRawString(bytes);
  CheckDouble(bytes);
  return 0;
}
