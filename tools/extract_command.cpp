#include "tools/extract_command.h"

#include "host/core/unicode.h"
#include "package/capsule_zip.h"
#include "tools/exit_status.h"
#include "tools/package_file_check.h"

namespace capsuletool {

zorvcore::Status CheckFolderName(const std::string& name) {
  using zorvcore::Status;
  if (name.empty()) return Status::InvalidArgument("must not be empty");
  if (name == "." || name == "..") {
    return Status::InvalidArgument("must be a folder name, not \"" + name + "\"");
  }
  if (name.find('/') != std::string::npos) {
    return Status::InvalidArgument("must be a single folder name, without \"/\"");
  }
  if (name.find('\0') != std::string::npos) {
    return Status::InvalidArgument("must not hold a NUL character");
  }
  return Status::OK();
}

int RunExtractCommand(const ExtractOptions& options, std::ostream& out, std::ostream& err) {
  if (const zorvcore::Status checked = CheckFolderName(options.name); !checked.ok()) {
    PrintError(err, "--name", checked.message());
    return kExitUsage;
  }
  if (const zorvcore::Status checked = CheckPackageFile(options.package); !checked.ok()) {
    PrintError(err, options.package, checked.message());
    return kExitFailed;
  }
  const zorvcapsule::CapsuleZip package(zorvcore::UTF8ToUTF16(options.package), std::string());
  std::u16string outputFolder;
  if (!package.GetTPLXProjectPackage(zorvcore::UTF8ToUTF16(options.into), std::u16string(),
                                     zorvcore::UTF8ToUTF16(options.name), outputFolder)) {
    PrintError(err, options.package,
               "no project package could be extracted into " + options.into +
                   " (the package has no project member, or it is damaged, unsafe or cannot be written there)");
    return kExitFailed;
  }
  out << zorvcore::UTF16ToUTF8(outputFolder) << '\n';
  return out ? kExitSuccess : kExitFailed;
}

}  // namespace capsuletool
