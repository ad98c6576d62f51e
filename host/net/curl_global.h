// EnsureCurlInitialized: libcurl's process-wide set-up, done once before the first handle is made.
//
// libcurl's global clean-up is never called: the library may be loaded and unloaded with other users
// of libcurl in the process, and the operating system reclaims what is left at exit.
//
// The set-up (TLS library included) leaves per-thread state on the thread that runs it, which is
// lost when that thread ends. A host therefore calls EnsureCurlInitialized from its main thread
// before other threads may make the first request; otherwise the first request does it.
//
// Thread safety: any thread; concurrent first calls wait for one set-up.

#ifndef ZORVCAPSULE_HOST_NET_CURL_GLOBAL_H_
#define ZORVCAPSULE_HOST_NET_CURL_GLOBAL_H_

namespace zorvnet {

// True when libcurl is ready for use.
bool EnsureCurlInitialized();

}  // namespace zorvnet

#endif  // ZORVCAPSULE_HOST_NET_CURL_GLOBAL_H_
