#include "capsule/pending_members_json.h"

#include <memory>
#include <vector>

#include "capsule/list_conversion.h"

namespace zorvcapsule::serialization {

ClientControlList ClientControlsFromJson(const JSONValuePtr& value) {
  ClientControlList controls = ConvertList<std::shared_ptr<ClientControl>>(
      ArrayFromJson(value), [](const JSONValuePtr& element) {
        ObjectFromJson(element);
        return std::shared_ptr<ClientControl>();
      });
  // Elements that make no control leave no empty slot behind.
  std::erase(controls, nullptr);
  return controls;
}

JSONValuePtr ClientControlsToJson(const ClientControlList&) {
  return zorvcore::serialization::MakeJSONArray();
}

}  // namespace zorvcapsule::serialization
