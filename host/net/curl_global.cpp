#include "host/net/curl_global.h"

#include <curl/curl.h>

namespace zorvnet {

bool EnsureCurlInitialized() {
  // A function-local static is initialized exactly once, even with concurrent first callers.
  static const bool initialized = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return initialized;
}

}  // namespace zorvnet
