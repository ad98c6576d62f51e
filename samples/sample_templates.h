// WriteSampleTemplates: a folder of generated template packages, varied as real template
// collections are (see samples/sample_template.h for what the templates hold).
//
// The packages are written below the folder in theme subfolders ("Titles/Bold Title 01.tplx"),
// in template order. A given count and seed always give the same packages, byte for byte; a larger
// count with the same seed gives the same templates and more.
//
// Thread safety: the function keeps no state; concurrent calls must write to different folders.

#ifndef ZORVCAPSULE_SAMPLES_SAMPLE_TEMPLATES_H_
#define ZORVCAPSULE_SAMPLES_SAMPLE_TEMPLATES_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capsule/capsule.h"

namespace zorvsamples {

// The seed the command-line tool and the demonstration use.
inline constexpr uint64_t kDefaultSampleSeed = 2017;

struct WrittenTemplate {
  std::u16string path;  // the package
  std::shared_ptr<zorvcapsule::Capsule> capsule;
};

struct SampleSet {
  bool ok = false;
  std::string error;  // when !ok: the first failure, naming its file (UTF-8)
  std::vector<WrittenTemplate> templates;  // the packages written, also those before a failure
};

// Called after each package with the number written so far and `count`.
using SampleProgress = std::function<void(size_t written, size_t count)>;

// Writes templates 0 to count-1 of the set made from `seed` below `outDir` (made when missing),
// replacing packages of the same names. Stops at the first package that cannot be written.
SampleSet WriteSampleTemplates(const std::u16string& outDir, size_t count, uint64_t seed,
                               const SampleProgress& progress = nullptr);

}  // namespace zorvsamples

#endif  // ZORVCAPSULE_SAMPLES_SAMPLE_TEMPLATES_H_
