// ScopedEnvironmentVariable: sets (or, given nullopt, unsets) one environment variable of the process
// for a scope and puts back what was there. Test code only.
//
// Thread safety: the environment is the process's; use from one thread while no other reads it.

#ifndef ZORVCAPSULE_HOST_CORE_TEST_ENVIRONMENT_VARIABLE_H_
#define ZORVCAPSULE_HOST_CORE_TEST_ENVIRONMENT_VARIABLE_H_

#include <stdlib.h>

#include <optional>
#include <string>

namespace zorvcore {

class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
    if (const char* old = ::getenv(name_.c_str())) old_ = old;
    Set(value);
  }
  ~ScopedEnvironmentVariable() { Set(old_); }
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

  void Set(const std::optional<std::string>& value) const {
    value ? ::setenv(name_.c_str(), value->c_str(), 1) : ::unsetenv(name_.c_str());
  }

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_TEST_ENVIRONMENT_VARIABLE_H_
