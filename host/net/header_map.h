// HeaderMap: the header fields of an HTTP request or answer.
//
// HTTP header names are case-insensitive, so the map orders its names without regard to ASCII case:
// find("content-type") finds a field the server sent as "Content-Type". A name may appear more than
// once (several "Set-Cookie" fields); fields of one name keep the order in which they were added.
//
// Thread safety: a plain value (see ImmutableString).

#ifndef ZORVCAPSULE_HOST_NET_HEADER_MAP_H_
#define ZORVCAPSULE_HOST_NET_HEADER_MAP_H_

#include <map>

#include "host/core/immutable_string.h"

namespace zorvnet {

using HeaderMap =
    std::multimap<zorvcore::ImmutableString, zorvcore::ImmutableString,
                  zorvcore::ImmutableStringLessNoCase>;

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_HEADER_MAP_H_
