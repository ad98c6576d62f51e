// AudioChannel: one channel of a source's audio layout, identified by the host's channel-label
// code (left, right, centre, ...; the codes are the host's).
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_AUDIO_CHANNEL_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_AUDIO_CHANNEL_H_

#include <cstdint>

namespace hostbridge {

struct AudioChannel {
  int32_t channel_label = 0;

  friend constexpr bool operator==(const AudioChannel&, const AudioChannel&) = default;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_AUDIO_CHANNEL_H_
