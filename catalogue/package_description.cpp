#include "catalogue/package_description.h"

#include "host/core/unicode.h"
#include "package/package_names.h"

namespace zorvcapsule {

std::string ReadDescriptionUTF8(const CapsuleZip& package) {
  const auto block = package.UnzipItem(zorvcore::UTF16ToUTF8(kJSONFileName));
  if (block == nullptr || block->Size() == 0) return std::string();
  const std::string_view bytes(reinterpret_cast<const char*>(block->Buffer()), block->Size());
  if (zorvcore::IsWellFormedUTF8(bytes)) return std::string(bytes);
  return zorvcore::UTF16ToUTF8(zorvcore::StdToUTF16String(bytes));
}

}  // namespace zorvcapsule
