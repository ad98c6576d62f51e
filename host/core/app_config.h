// config: who the host application is.
//
// The application name and client version keep different hosts, and different versions of one host,
// from sharing working folders. A host sets them once at start-up; until then they are "zorvhost" and
// "1.0".
//
// Thread safety: every function may be called from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_APP_CONFIG_H_
#define ZORVCAPSULE_HOST_CORE_APP_CONFIG_H_

#include <string>

namespace zorvcore::config {

std::u16string GetApplicationName();
std::u16string GetClientVersion();

// REQUIRES: name and version are usable as folder names (no separators).
void SetApplicationName(const std::u16string& name);
void SetClientVersion(const std::u16string& version);

}  // namespace zorvcore::config

#endif  // ZORVCAPSULE_HOST_CORE_APP_CONFIG_H_
