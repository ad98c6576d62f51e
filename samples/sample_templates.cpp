#include "samples/sample_templates.h"

#include "samples/sample_template.h"
#include "samples/template_package_writer.h"

namespace zorvsamples {

SampleSet WriteSampleTemplates(const std::u16string& outDir, size_t count, uint64_t seed,
                               const SampleProgress& progress) {
  SampleSet set;
  set.templates.reserve(count);
  std::u16string folder = outDir;
  if (folder.empty() || folder.back() != u'/') folder += u'/';
  for (size_t index = 0; index < count; ++index) {
    SampleTemplate sample = MakeSampleTemplate(index, seed);
    const std::u16string path = folder + sample.relativePath;
    const WriteResult written = WriteTemplatePackage(path, sample.capsule, sample.members);
    if (!written.ok) {
      set.error = written.error;
      return set;
    }
    set.templates.push_back({path, std::move(sample.capsule)});
    if (progress) progress(index + 1, count);
  }
  set.ok = true;
  return set;
}

}  // namespace zorvsamples
