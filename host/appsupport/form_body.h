// Form bodies: fields encoded as "application/x-www-form-urlencoded", as an HTML form posts them.
//
// Each name and value is taken as UTF-8 bytes: ASCII letters, digits and "*-._" stay as they are, a
// space becomes "+", and every other byte becomes "%" and two upper-case hexadecimal digits. Fields
// are joined with "&" in the order given.
//
// Thread safety: pure functions; any thread.

#ifndef ZORVCAPSULE_HOST_APPSUPPORT_FORM_BODY_H_
#define ZORVCAPSULE_HOST_APPSUPPORT_FORM_BODY_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvappsupport {

using FormFields = std::vector<std::pair<std::string, std::string>>;

std::string FormEncode(std::string_view text);
std::string EncodeFormBody(const FormFields& fields);

}  // namespace zorvappsupport

#endif  // ZORVCAPSULE_HOST_APPSUPPORT_FORM_BODY_H_
