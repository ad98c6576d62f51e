// ConvertList: the one order-preserving conversion every list of a description or a service response
// goes through (controls, string lists, localized pairs, enum items, group children, spreadsheet
// columns and values, response records).
//
// Element i of the result always comes from element i of the input. Long lists are worth spreading
// over the worker pool: a list of more than kParallelListThreshold elements is cut into chunks of
// kListChunkSize handed to the pool (the calling thread takes chunks too), and the remainder that does
// not fill a chunk is converted on the calling thread afterwards. Shorter lists never touch the pool.
//
// An exception thrown by a conversion (the bad-cast error of a member of the wrong type) reaches the
// caller of ConvertList once every chunk already started has ended; no partly converted list escapes.
// When several elements fail, the caller gets the failure of the first of them in list order, as a
// conversion on one thread would have it, so an error names the same member however the chunks ran.
//
// Thread safety: `convert` may run on several threads at once, each call touching only its own input
// element and output slot; it must not share other state without its own synchronization.

#ifndef ZORVCAPSULE_CAPSULE_LIST_CONVERSION_H_
#define ZORVCAPSULE_CAPSULE_LIST_CONVERSION_H_

#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <vector>

#include "host/core/executor.h"

namespace zorvcapsule::serialization {

inline constexpr size_t kParallelListThreshold = 512;
inline constexpr size_t kListChunkSize = 32;

// Converts each element of `input` (any container with size() and operator[]) with
// `convert(const Element&) -> Out`.
// REQUIRES: Out is default-constructible and move-assignable.
template <typename Out, typename Input, typename Convert>
std::vector<Out> ConvertList(const Input& input, Convert&& convert) {
  const size_t count = input.size();
  std::vector<Out> output(count);
  size_t done = 0;
  if (count > kParallelListThreshold) {
    const size_t chunks = count / kListChunkSize;
    // The earliest chunk that failed and its failure; chunks after it need not run. A chunk stops at
    // its own first failure, so the earliest chunk's failure is the list's first.
    std::atomic<size_t> failedChunk{chunks};
    std::mutex failureMutex;
    std::exception_ptr failure;
    zorvcore::ExecuteCPUBoundTaskOnAllProcessors(
        [&](size_t chunk) {
          if (chunk > failedChunk.load(std::memory_order_relaxed)) return;
          const size_t begin = chunk * kListChunkSize;
          try {
            for (size_t i = begin; i < begin + kListChunkSize; ++i) output[i] = convert(input[i]);
          } catch (...) {
            std::lock_guard<std::mutex> lock(failureMutex);
            if (chunk < failedChunk.load(std::memory_order_relaxed)) {
              failedChunk.store(chunk, std::memory_order_relaxed);
              failure = std::current_exception();
            }
          }
        },
        chunks);
    if (failure) std::rethrow_exception(failure);
    done = chunks * kListChunkSize;
  }
  for (size_t i = done; i < count; ++i) output[i] = convert(input[i]);
  return output;
}

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_LIST_CONVERSION_H_
