#include "host/core/app_config.h"

#include <mutex>

namespace zorvcore::config {
namespace {

struct Identity {
  std::mutex mutex;
  std::u16string name = u"zorvhost";
  std::u16string version = u"1.0";
};

Identity& TheIdentity() {
  static Identity identity;
  return identity;
}

}  // namespace

std::u16string GetApplicationName() {
  std::lock_guard<std::mutex> lock(TheIdentity().mutex);
  return TheIdentity().name;
}

std::u16string GetClientVersion() {
  std::lock_guard<std::mutex> lock(TheIdentity().mutex);
  return TheIdentity().version;
}

void SetApplicationName(const std::u16string& name) {
  std::lock_guard<std::mutex> lock(TheIdentity().mutex);
  TheIdentity().name = name;
}

void SetClientVersion(const std::u16string& version) {
  std::lock_guard<std::mutex> lock(TheIdentity().mutex);
  TheIdentity().version = version;
}

}  // namespace zorvcore::config
