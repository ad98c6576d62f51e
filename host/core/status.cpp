#include "host/core/status.h"

namespace zorvcore {
namespace {

const char* KindName(Status::Code code) {
  switch (code) {
    case Status::Code::kOk: return "OK";
    case Status::Code::kNotFound: return "NotFound";
    case Status::Code::kCorruption: return "Corruption";
    case Status::Code::kNotSupported: return "Not supported";
    case Status::Code::kInvalidArgument: return "Invalid argument";
    case Status::Code::kIOError: return "IO error";
    case Status::Code::kBusy: return "Busy";
    case Status::Code::kUnavailable: return "Unavailable";
  }
  return "Unknown";
}

}  // namespace

std::string Status::ToString() const {
  if (ok()) return "OK";
  return std::string(KindName(code_)) + ": " + message_;
}

Status Status::WithContext(std::string_view context) const {
  if (ok()) return *this;
  return Status(code_, std::string(context) + message_);
}

}  // namespace zorvcore
