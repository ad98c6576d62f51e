#include "capsule/string_guid.h"

#include "host/core/guid.h"

namespace zorvcapsule::utils {

std::u16string GenerateStringGuid() { return zorvcore::Guid::CreateUnique().AsString(); }

}  // namespace zorvcapsule::utils
