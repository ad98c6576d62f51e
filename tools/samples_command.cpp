#include "tools/samples_command.h"

#include "host/core/unicode.h"
#include "tools/exit_status.h"
#include "tools/terminal_progress.h"

namespace capsuletool {

int RunSamplesCommand(const SamplesOptions& options, std::ostream& out, std::ostream& err) {
  TerminalProgress progress;
  const zorvsamples::SampleSet set = zorvsamples::WriteSampleTemplates(
      zorvcore::UTF8ToUTF16(options.outDir), options.count, options.seed,
      [&progress](size_t written, size_t count) { progress.ShowCount("writing sample templates", written, count); });
  progress.Clear();
  if (!set.ok) {
    PrintError(err, std::string(), set.error);
    return kExitFailed;
  }
  out << set.templates.size() << (set.templates.size() == 1 ? " template" : " templates") << " written to "
      << options.outDir << '\n';
  return out ? kExitSuccess : kExitFailed;
}

}  // namespace capsuletool
