#include "tools/info_command.h"

#include "capsule/capsule_json.h"
#include "host/core/unicode.h"
#include "package/capsule_zip.h"
#include "tools/capsule_text.h"
#include "tools/exit_status.h"
#include "tools/package_description.h"
#include "tools/package_file_check.h"
#include "tools/package_members.h"

namespace capsuletool {

int RunInfoCommand(const InfoOptions& options, std::ostream& out, std::ostream& err) {
  if (const zorvcore::Status checked = CheckPackageFile(options.package); !checked.ok()) {
    PrintError(err, options.package, checked.message());
    return kExitFailed;
  }
  const zorvcapsule::CapsuleZip package(zorvcore::UTF8ToUTF16(options.package), std::string());
  const PackageDescription description = ReadPackageDescription(package);
  if (!description.capsule) {
    PrintError(err, options.package, description.status.message());
    return kExitFailed;
  }
  if (options.json) {
    out << zorvcapsule::serialization::CapsuleToJson(description.capsule) << '\n';
  } else {
    const PackageMembers members = FindPackageMembers(package, LocalesOf(*description.capsule));
    WriteCapsuleText(out, options.package, *description.capsule, members);
  }
  return out ? kExitSuccess : kExitFailed;
}

}  // namespace capsuletool
