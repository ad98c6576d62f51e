// SampleTemplate: one generated sample template, complete but not yet written: where it goes, its
// description and the package members besides "definition.json".
//
// MakeSampleTemplate draws template `index` of the set made from `seed`; the same pair always gives
// the same template, whichever other templates are made. Across the first templates of every set
// the variety a real collection has is guaranteed, not left to chance:
//
//   0  every control kind (readers drop the drop zone, which has no members of its own); named
//      in all five sample languages; localized still thumbnails;
//      a video thumbnail; a single-member project package of the editing application and a
//      German one
//   1  made in the compositing application, which it may use; no English name (German and French);
//      a project package that is a folder of members
//   2  English and German names; a video thumbnail; the editing application's project as a folder
//   3  made in the compositing application, but too old to use its library (requiresQuazel);
//      English and Japanese names; a Japanese still thumbnail
//   4  English only
//
// Later templates draw these choices from the seed. Every template has a still thumbnail
// ("thumb.png", a real PNG), a project package, tags, fonts and a source info; the frame size,
// rate, duration and audio vary. Templates are filed in folders by theme ("Titles/Elegant").
//
// Thread safety: MakeSampleTemplate keeps no state; call it from any thread.

#ifndef ZORVCAPSULE_SAMPLES_SAMPLE_TEMPLATE_H_
#define ZORVCAPSULE_SAMPLES_SAMPLE_TEMPLATE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "capsule/capsule.h"
#include "samples/template_package_writer.h"

namespace zorvsamples {

struct SampleTemplate {
  std::u16string relativePath;  // below the set's folder, "/" between levels, ending in ".tplx"
  std::shared_ptr<zorvcapsule::Capsule> capsule;
  std::vector<PackageMember> members;  // thumbnails and project package
};

SampleTemplate MakeSampleTemplate(size_t index, uint64_t seed);

}  // namespace zorvsamples

#endif  // ZORVCAPSULE_SAMPLES_SAMPLE_TEMPLATE_H_
