#include "stock/stock_response.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>
#include <utility>

#include "host/core/json_parse.h"

namespace zorvcapsule {

using zorvcore::serialization::JSONObject;
using zorvcore::serialization::JSONValuePtr;

JSONValuePtr ParseStockResponseRoot(std::string_view payload) {
  JSONValuePtr root = zorvcore::serialization::JSONParse(payload);
  if (!root) throw std::runtime_error(kStockMalformedJSONText);
  if (root->IsObject()) {
    const auto& object = root->Get<JSONObject>();
    if (const JSONValuePtr* wrapped = serialization::FindMember(object, kStockWrappedObjectMember)) {
      JSONValuePtr inner = *wrapped;
      return inner;
    }
  }
  return root;
}

void ReadStockText(const JSONObject& object, std::string_view key, std::string& text) {
  if (std::optional<std::string> value = serialization::ReadUTF8Member(object, key)) text = std::move(*value);
}

void ReadStockText(const JSONObject& object, std::string_view key, zorvcore::ImmutableString& text) {
  if (std::optional<std::string> value = serialization::ReadUTF8Member(object, key)) {
    text = zorvcore::ImmutableString::CreateDynamic(std::move(*value));
  }
}

void ReadStockInt32(const JSONObject& object, std::string_view key, int32_t& number) {
  const JSONValuePtr* value = serialization::FindMember(object, key);
  if (value == nullptr) return;
  if (*value && (*value)->IsUInt64()) {
    number = std::numeric_limits<int32_t>::max();
    return;
  }
  number = static_cast<int32_t>(std::clamp<int64_t>(serialization::Int64FromJson(*value),
                                                    std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace zorvcapsule
