#include "host/net/header_collector.h"

#include <string>
#include <utility>

#include "host/net/configuration.h"

namespace zorvnet {
namespace {

using zorvcore::ImmutableString;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view StripLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

bool HeaderCollector::AddLine(std::string_view rawLine) {
  const std::string_view line = StripLineEnd(rawLine);
  if (line.starts_with("HTTP/")) {
    Reset();
    return true;
  }
  blockBytes_ += static_cast<int64_t>(rawLine.size());
  if (blockBytes_ > kMaxHeaderBytes) return false;
  if (line.empty()) return true;

  if (IsBlank(line.front())) {
    if (last_ == headers_.end()) return true;
    const std::string_view more = Trim(line);
    if (more.empty()) return true;
    std::string joined(last_->second.view());
    if (!joined.empty()) joined += ' ';
    joined += more;
    last_->second = ImmutableString::CreateDynamic(std::move(joined));
    return true;
  }

  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) return true;
  const std::string_view name = Trim(line.substr(0, colon));
  if (name.empty()) return true;
  last_ = headers_.emplace(ImmutableString::CreateDynamic(std::string(name)),
                           ImmutableString::CreateDynamic(std::string(Trim(line.substr(colon + 1)))));
  return true;
}

HeaderMap HeaderCollector::TakeHeaders() {
  HeaderMap taken = std::move(headers_);
  Reset();
  return taken;
}

void HeaderCollector::Reset() {
  headers_.clear();
  last_ = headers_.end();
  blockBytes_ = 0;
}

}  // namespace zorvnet
