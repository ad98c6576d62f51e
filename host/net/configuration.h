// Configuration: how one request is carried out, and the limits every request lives under.
//
// A default-constructed Configuration is what most requests want: redirects followed, compressed
// transfer offered, no cookies, no overall time limit, bodies up to kMaxBodyBytes. The three flags
// can be given in order, as in Configuration{false, true, false}, which has a redirect answer handed
// back instead of followed.
//
// Limits that hold for every request, whatever its configuration:
// - TLS certificates and host names are always verified. The host setting "Net.CAFile", when set,
//   names the PEM bundle of certificate authorities to trust instead of the system's.
// - Connecting (name lookup, TCP and TLS handshakes) may take at most kConnectTimeoutMs.
// - A transfer that moves fewer than kLowSpeedLimitBytesPerSecond bytes per second for
//   kLowSpeedTimeSeconds in a row ends as timed out, so a server that accepts the connection and
//   then goes silent (or trickles) cannot hold a request for ever.
// - At most kMaxRedirects redirects are followed; a longer chain (a redirect loop) is a failure.
// - A body kept in memory may not exceed kMaxBodyBytes; a larger one ends the request as a failure
//   as soon as the excess is seen, rather than filling memory.
// - The header block of one answer may not exceed kMaxHeaderBytes.
//
// Thread safety: a plain value.

#ifndef ZORVCAPSULE_HOST_NET_CONFIGURATION_H_
#define ZORVCAPSULE_HOST_NET_CONFIGURATION_H_

#include <cstdint>

#include "host/core/immutable_string.h"

namespace zorvnet {

inline constexpr int64_t kMaxBodyBytes = 64LL * 1024 * 1024;
inline constexpr int64_t kMaxHeaderBytes = 1024 * 1024;
inline constexpr long kConnectTimeoutMs = 30000;
inline constexpr long kLowSpeedLimitBytesPerSecond = 1;
inline constexpr long kLowSpeedTimeSeconds = 60;
inline constexpr long kMaxRedirects = 10;

struct Configuration {
  Configuration() = default;
  // The three flags in order; everything else keeps its default.
  Configuration(bool useCookies, bool acceptCompressed, bool followRedirects)
      : useCookies(useCookies),
        acceptCompressed(acceptCompressed),
        followRedirects(followRedirects) {}

  // Flag 1: run a cookie engine for the request, so cookies the server sets along a redirect chain
  // are sent back on the following hops. Nothing is kept once the request ends.
  bool useCookies = false;
  // Flag 2: offer compressed transfer (gzip, deflate, brotli as available); the body handed back is
  // always the decoded one.
  bool acceptCompressed = true;
  // Flag 3: follow redirects. Off, a 3xx answer is the response, and its "Location" header tells the
  // caller where it points.
  bool followRedirects = true;

  // The whole request, redirects included, may take at most this long; 0 sets no limit beyond the
  // connect and low-speed limits above.
  int64_t timeoutMs = 0;
  // A lower cap on a body kept in memory; 0 (or anything above kMaxBodyBytes) means kMaxBodyBytes.
  int64_t maxBodyBytes = 0;
  // The "User-Agent" header; empty sends the host application's name and version.
  zorvcore::ImmutableString userAgent;

  // The cap that applies to this request's in-memory body.
  int64_t EffectiveMaxBodyBytes() const {
    return (maxBodyBytes > 0 && maxBodyBytes < kMaxBodyBytes) ? maxBodyBytes : kMaxBodyBytes;
  }
};

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_CONFIGURATION_H_
