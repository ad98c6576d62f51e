// ServedLicences: which assets the account of `capsule stock serve` has licensed. Every asset starts
// unlicensed; the content-licence endpoint licenses one for the rest of the run.
//
// Thread safety: any method from any thread.

#ifndef ZORVCAPSULE_TOOLS_STOCK_SERVE_LICENCES_H_
#define ZORVCAPSULE_TOOLS_STOCK_SERVE_LICENCES_H_

#include <cstdint>
#include <mutex>
#include <set>

namespace capsuletool {

class ServedLicences {
 public:
  bool IsLicensed(int32_t id) const;
  // Licenses `id`; true when it was not licensed before.
  bool License(int32_t id);

 private:
  mutable std::mutex mutex_;
  std::set<int32_t> licensed_;  // guarded by mutex_
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_STOCK_SERVE_LICENCES_H_
