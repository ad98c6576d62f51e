// `capsule samples OUTDIR [--count N] [--seed S]`: writes generated sample template packages
// (samples/sample_templates.h) for trying out the library and the catalogue.
//
// Thread safety: run from the program's main thread.

#ifndef ZORVCAPSULE_TOOLS_SAMPLES_COMMAND_H_
#define ZORVCAPSULE_TOOLS_SAMPLES_COMMAND_H_

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "samples/sample_templates.h"

namespace capsuletool {

inline constexpr size_t kDefaultSampleCount = 24;

struct SamplesOptions {
  std::string outDir;  // UTF-8
  size_t count = kDefaultSampleCount;
  uint64_t seed = zorvsamples::kDefaultSampleSeed;
};

// Returns the exit status.
int RunSamplesCommand(const SamplesOptions& options, std::ostream& out, std::ostream& err);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_SAMPLES_COMMAND_H_
