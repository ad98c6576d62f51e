// The root folder under which the cloud-library client keeps the user's libraries.
//
// It is the host setting "Libraries.Root". When the setting is unset or empty, it is the folder
// "zorvcapsule/libraries" in the user's data folder: $XDG_DATA_HOME when that is an absolute path,
// else "~/.local/share" ($HOME). The setting is read afresh at every call, so a host may point the
// managers at another root at any time.
//
// Thread safety: any thread.

#ifndef ZORVCAPSULE_HOST_QVLIB_LIBRARY_ROOT_H_
#define ZORVCAPSULE_HOST_QVLIB_LIBRARY_ROOT_H_

#include <string>

namespace zorvqvlib {

inline constexpr const char* kLibraryRootSetting = "Libraries.Root";

// The root as an absolute, lexically normal UTF-8 path without a trailing separator ("/" stays
// "/"); a relative setting is taken relative to the working folder. Empty when neither the setting
// nor the environment names one. The folder need not exist.
std::string ConfiguredLibraryRoot();

}  // namespace zorvqvlib

#endif  // ZORVCAPSULE_HOST_QVLIB_LIBRARY_ROOT_H_
