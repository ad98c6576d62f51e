// ReadDescriptionUTF8: a package's description as the UTF-8 text the description reader takes.
//
// The package hands its description out as UTF-16 (CapsuleZip::GetTPLXDescriptionJSON), and the
// reader wants UTF-8 again; a listing does that for every template it shows. This gives the same text
// without the two conversions: well-formed UTF-8 is passed on as it is in the package, and only a
// description holding ill-formed sequences takes the round trip, so each such sequence becomes
// U+FFFD exactly as the conversions make it.
//
// Thread safety: as CapsuleZip: one reader per task; the functions keep no state.

#ifndef ZORVCAPSULE_CATALOGUE_PACKAGE_DESCRIPTION_H_
#define ZORVCAPSULE_CATALOGUE_PACKAGE_DESCRIPTION_H_

#include <string>

#include "package/capsule_zip.h"

namespace zorvcapsule {

// The text of "definition.json" in UTF-8; empty when it is missing, empty or unreadable. Equal to
// UTF16ToUTF8(package.GetTPLXDescriptionJSON()).
std::string ReadDescriptionUTF8(const CapsuleZip& package);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CATALOGUE_PACKAGE_DESCRIPTION_H_
