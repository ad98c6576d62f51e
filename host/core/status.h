// Status: the outcome of an operation inside the library and its host layer, for the code that
// decides what to do about a failure. A success carries nothing; a failure carries a kind, which
// callers branch on, and a message for people (UTF-8), which they only pass on.
//
// The interfaces hosts call keep their own forms (a bool with an output, an error code read
// afterwards, an empty pointer); a Status is what those forms are made from underneath.
//
// Thread safety: a plain value; copies may travel between threads freely.

#ifndef ZORVCAPSULE_HOST_CORE_STATUS_H_
#define ZORVCAPSULE_HOST_CORE_STATUS_H_

#include <string>
#include <string_view>

namespace zorvcore {

class Status {
 public:
  enum class Code {
    kOk = 0,
    kNotFound,         // what was asked for is not there
    kCorruption,       // stored or received data is damaged or not of the expected form
    kNotSupported,     // the data is well formed but of a kind or version this code does not handle
    kInvalidArgument,  // the caller asked for something that cannot be done
    kIOError,          // the system, a file or a database engine failed
    kBusy,             // someone else holds what is needed; trying again later may succeed
    kUnavailable,      // a service gave no usable answer
  };

  // A success.
  Status() = default;
  // A failure of kind `code`, for code that computes the kind (a success when code is kOk).
  Status(Code code, std::string_view message)
      : code_(code), message_(code == Code::kOk ? std::string_view() : message) {}

  static Status OK() { return Status(); }
  static Status NotFound(std::string_view message) { return Status(Code::kNotFound, message); }
  static Status Corruption(std::string_view message) { return Status(Code::kCorruption, message); }
  static Status NotSupported(std::string_view message) { return Status(Code::kNotSupported, message); }
  static Status InvalidArgument(std::string_view message) { return Status(Code::kInvalidArgument, message); }
  static Status IOError(std::string_view message) { return Status(Code::kIOError, message); }
  static Status Busy(std::string_view message) { return Status(Code::kBusy, message); }
  static Status Unavailable(std::string_view message) { return Status(Code::kUnavailable, message); }

  bool ok() const { return code_ == Code::kOk; }
  bool IsNotFound() const { return code_ == Code::kNotFound; }
  bool IsCorruption() const { return code_ == Code::kCorruption; }
  bool IsNotSupported() const { return code_ == Code::kNotSupported; }
  bool IsInvalidArgument() const { return code_ == Code::kInvalidArgument; }
  bool IsIOError() const { return code_ == Code::kIOError; }
  bool IsBusy() const { return code_ == Code::kBusy; }
  bool IsUnavailable() const { return code_ == Code::kUnavailable; }

  Code code() const { return code_; }
  // Empty for a success.
  const std::string& message() const { return message_; }

  // "OK", or the kind's name, ": " and the message ("Corruption: file is not a database").
  std::string ToString() const;

  // The same failure with `context` put before its message ("index \"/a\": " + message); a
  // success stays a success.
  Status WithContext(std::string_view context) const;

 private:
  Code code_ = Code::kOk;
  std::string message_;
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_STATUS_H_
