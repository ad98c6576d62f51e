// PrivateFolder: a folder under a shared place (the system temporary folder) that only the current
// user can change.
//
// Every user of a machine may create names in the system temporary folder, so a folder found there
// under a predictable name may have been planted by someone else: a link to elsewhere, a folder
// they own, or one they can write into. MakePrivateFolder creates the folder with mode 0700 when it
// is missing, and accepts an existing one only when it is a real folder (not a symbolic link), owned
// by the current user, with no write permission for group or others. Only the folder itself is
// checked, never its parent.
//
// Thread safety: plain functions; any thread. Two processes creating the same folder at once both
// end up checking the one that won.

#ifndef ZORVCAPSULE_HOST_CORE_PRIVATE_FOLDER_H_
#define ZORVCAPSULE_HOST_CORE_PRIVATE_FOLDER_H_

#include <string>

#include "host/core/status.h"

namespace zorvcore {

// OK when `path` is (now) a private folder of the current user. Otherwise InvalidArgument for an
// empty path and IOError for anything else, with a message that says what is wrong with the path
// as the end of a sentence about it ("is a symbolic link").
Status MakePrivateFolder(const std::u16string& path);

// Creates a new private folder named `prefix` followed by six random characters; its path, or
// empty when none could be made.
std::u16string MakeUniquePrivateFolder(const std::u16string& prefix);

// The current user's numeric ID as decimal text.
std::u16string CurrentUserIDText();

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_PRIVATE_FOLDER_H_
