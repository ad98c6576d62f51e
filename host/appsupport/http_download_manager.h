// HTTPDownloadManager: downloads files over HTTP and HTTPS in the background.
//
// NewDownload hands back an HTTPDownloadStream at once and the transfer runs on the request
// processor's network thread. A download follows redirects and lands in a temporary file beside its
// target, which is renamed over the target only when the answer was 2xx and the body arrived whole,
// at the length the server announced (see DownloadFileWriter): a failed, cancelled or interrupted
// download never leaves a partial file at the target, and never replaces a file that was there.
// Missing folders on the way to the target are made.
//
// At most `maxConcurrentDownloads` transfers run at once; later downloads wait their turn, first
// come first served. Each download completes exactly once (see HTTPDownloadStream).
//
// FlushAllDownloads ends everything unfinished: downloads still waiting for a turn complete at once,
// unsuccessfully, on the calling thread; running transfers are cancelled (their partial files
// removed) and complete unsuccessfully on the network thread; and the call returns only when every
// one of those completions, slots included, has run. A download started from a slot during the
// flush is flushed too. The destructor flushes the same way.
//
// Transfers go through a proxy over the process-wide request processor, so a flush never touches
// requests that are not downloads of this manager; OverrideRequestProcessor replaces it.
//
// Thread safety: every member may be called from any thread, from completion slots too.
// REQUIRES: FlushAllDownloads and the destructor are not called on the request processor's network
// thread except from a completion slot of this manager (there they cancel without waiting, since
// the completions they would wait for need that thread).

#ifndef ZORVCAPSULE_HOST_APPSUPPORT_HTTP_DOWNLOAD_MANAGER_H_
#define ZORVCAPSULE_HOST_APPSUPPORT_HTTP_DOWNLOAD_MANAGER_H_

#include <cstddef>
#include <memory>

#include "host/appsupport/http_download_stream.h"
#include "host/core/file.h"
#include "host/core/immutable_string.h"
#include "host/net/header_map.h"
#include "host/net/request_processor.h"

namespace zorvappsupport::http {

class DownloadScheduler;

class HTTPDownloadManager {
 public:
  // maxConcurrentDownloads: transfers that may run at once (0 counts as 1).
  // writeBufferBytes: per running download, body bytes gathered in memory before they are written
  // to the temporary file (0 writes every block as it comes).
  HTTPDownloadManager(unsigned maxConcurrentDownloads, unsigned writeBufferBytes);
  HTTPDownloadManager(const HTTPDownloadManager&) = delete;
  HTTPDownloadManager& operator=(const HTTPDownloadManager&) = delete;
  ~HTTPDownloadManager();

  // Transfers started from now on go through `processor`; running ones keep theirs. A null
  // processor makes later downloads fail.
  void OverrideRequestProcessor(std::shared_ptr<zorvnet::RequestProcessor> processor);

  // Starts downloading `url` (sent with `headers`) to `file`. With replaceExisting false and a file
  // already at the target, the download completes at once, successfully, without a transfer. A URL
  // that is not http(s) completes at once, unsuccessfully. Never null.
  std::shared_ptr<HTTPDownloadStream> NewDownload(const zorvcore::ImmutableString& url,
                                                  const zorvcore::File& file,
                                                  const zorvnet::HeaderMap& headers,
                                                  bool replaceExisting);

  void FlushAllDownloads();

  // Downloads waiting for a turn, and those whose transfer runs.
  size_t QueuedDownloadCount() const;
  size_t ActiveDownloadCount() const;

 private:
  const std::shared_ptr<DownloadScheduler> scheduler_;
};

}  // namespace zorvappsupport::http

#endif  // ZORVCAPSULE_HOST_APPSUPPORT_HTTP_DOWNLOAD_MANAGER_H_
