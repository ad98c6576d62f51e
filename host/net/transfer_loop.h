// TransferLoop: the network thread's work, driving every transfer of one processor through one
// libcurl multi handle.
//
// Other threads hand it transfers (Submit), ask it to end one (Cancel) or to stop (Stop); each of
// these queues the wish under the loop's mutex and wakes the thread. The thread (Run) takes the
// wishes, lets libcurl move data, and delivers each finished transfer's response to its callback,
// outside the mutex. After Stop, Run ends every unfinished transfer with RequestError::kShutdown and
// returns; Submit refuses from then on. Internal to the networking layer.
//
// Thread safety: Submit, Cancel and Stop may be called from any thread, the network thread
// included (from a callback). Run is called once, by the network thread.

#ifndef ZORVCAPSULE_HOST_NET_TRANSFER_LOOP_H_
#define ZORVCAPSULE_HOST_NET_TRANSFER_LOOP_H_

#include <curl/curl.h>

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "host/core/guid.h"
#include "host/net/curl_transfer.h"
#include "host/net/response.h"

namespace zorvnet {

class TransferLoop {
 public:
  // Null when libcurl cannot make a multi handle.
  static std::shared_ptr<TransferLoop> Create();
  TransferLoop(const TransferLoop&) = delete;
  TransferLoop& operator=(const TransferLoop&) = delete;
  // REQUIRES: Run has returned, or was never called.
  ~TransferLoop();

  // False when the loop is stopping or the transfer's id belongs to an unfinished transfer.
  bool Submit(std::unique_ptr<CurlTransfer> transfer);
  void Cancel(const zorvcore::Guid& id);
  void Stop();

  void Run();

 private:
  explicit TransferLoop(CURLM* multi);

  void Activate(std::unique_ptr<CurlTransfer> transfer);
  void Abort(const zorvcore::Guid& id, RequestError error, const char* detail);
  void CollectFinished();
  std::unique_ptr<CurlTransfer> Detach(CURL* easy);
  void Deliver(std::unique_ptr<CurlTransfer> transfer, std::shared_ptr<Response> response);
  void Wake();

  CURLM* const multi_;

  std::mutex mutex_;
  std::vector<std::unique_ptr<CurlTransfer>> incoming_;  // guarded by mutex_
  std::vector<zorvcore::Guid> cancels_;                  // guarded by mutex_
  std::set<zorvcore::Guid> unfinished_;                  // guarded by mutex_
  bool stopping_ = false;                                // guarded by mutex_

  // The transfers libcurl is working on; the network thread's alone.
  std::map<CURL*, std::unique_ptr<CurlTransfer>> active_;
};

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_TRANSFER_LOOP_H_
