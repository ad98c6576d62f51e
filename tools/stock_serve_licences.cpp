#include "tools/stock_serve_licences.h"

namespace capsuletool {

bool ServedLicences::IsLicensed(int32_t id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return licensed_.count(id) > 0;
}

bool ServedLicences::License(int32_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return licensed_.insert(id).second;
}

}  // namespace capsuletool
