// HeaderCollector: gathers the header fields of an HTTP answer from its lines as they arrive.
//
// Lines are given as received, with or without their CR LF. A status line ("HTTP/...") starts a new
// answer and forgets the fields gathered so far, so that after a redirect chain, or an interim
// "100 Continue", only the final answer's fields remain. Values are trimmed of surrounding blanks; a
// line beginning with a blank continues the previous field's value (obsolete folding); a line
// without a colon is ignored. Names keep the case the server sent.
//
// The header block of one answer may not exceed kMaxHeaderBytes: AddLine refuses the line that
// would pass it, so a server cannot grow the map without bound.
//
// Thread safety: none; one collector belongs to one transfer.

#ifndef ZORVCAPSULE_HOST_NET_HEADER_COLLECTOR_H_
#define ZORVCAPSULE_HOST_NET_HEADER_COLLECTOR_H_

#include <cstdint>
#include <string_view>

#include "host/net/header_map.h"

namespace zorvnet {

class HeaderCollector {
 public:
  HeaderCollector() = default;
  HeaderCollector(const HeaderCollector&) = delete;
  HeaderCollector& operator=(const HeaderCollector&) = delete;

  // False when the answer's header block has grown past kMaxHeaderBytes.
  bool AddLine(std::string_view line);

  const HeaderMap& Headers() const { return headers_; }
  HeaderMap TakeHeaders();

 private:
  void Reset();

  HeaderMap headers_;
  HeaderMap::iterator last_ = headers_.end();
  int64_t blockBytes_ = 0;
};

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_HEADER_COLLECTOR_H_
