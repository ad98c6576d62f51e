// The controls of the sample templates: what a user may change in them (their title text, colours,
// position, animation style, ...), with names in several of the sample languages.
//
// Across a sample set every control kind occurs: the first template carries all twelve, the others
// a text control and a few kinds drawn from the seed.
//
// Thread safety: the functions keep no state; the random generator is the caller's.

#ifndef ZORVCAPSULE_SAMPLES_SAMPLE_CONTROLS_H_
#define ZORVCAPSULE_SAMPLES_SAMPLE_CONTROLS_H_

#include <cstdint>
#include <vector>

#include "capsule/client_control_fwd.h"
#include "capsule/ui_string.h"
#include "samples/sample_random.h"
#include "samples/sample_themes.h"

namespace zorvsamples {

// The control type codes a sample template gets: all twelve when `everyKind`, else the text
// control and two to four other kinds.
std::vector<int32_t> SampleControlKinds(bool everyKind, SampleRandom& random);

// The controls of `kinds`, in that order. `title` is the template's name, the text control's value.
zorvcapsule::ClientControlList MakeSampleControls(const std::vector<int32_t>& kinds, const zorvcapsule::UIString& title,
                                                  const SampleTheme& theme, SampleRandom& random);

}  // namespace zorvsamples

#endif  // ZORVCAPSULE_SAMPLES_SAMPLE_CONTROLS_H_
