// Forward declaration of ClientControl, the base of the user-editable controls of a template, for
// code that only stores or passes controls around by shared pointer.

#ifndef ZORVCAPSULE_CAPSULE_CLIENT_CONTROL_FWD_H_
#define ZORVCAPSULE_CAPSULE_CLIENT_CONTROL_FWD_H_

#include <memory>
#include <vector>

namespace zorvcapsule {

class ClientControl;

// The controls of a template in display order.
using ClientControlList = std::vector<std::shared_ptr<ClientControl>>;

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_CLIENT_CONTROL_FWD_H_
