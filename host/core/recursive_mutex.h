// RecursiveMutex: a mutex the owning thread may lock again.
//
// The template library holds one while a task calls back into code that may take it again (a source
// asking its manager for a thumbnail while a search holds the manager's lock). Lock takes a name text
// for diagnostics: the name of the function that locks, or null.
//
// Thread safety: Lock and Unlock may be called from any thread; Unlock only by the owner.
// It also meets the standard Lockable requirements, so std::lock_guard and std::unique_lock work.

#ifndef ZORVCAPSULE_HOST_CORE_RECURSIVE_MUTEX_H_
#define ZORVCAPSULE_HOST_CORE_RECURSIVE_MUTEX_H_

#include <mutex>

namespace zorvcore {

class RecursiveMutex {
 public:
  RecursiveMutex() = default;
  RecursiveMutex(const RecursiveMutex&) = delete;
  RecursiveMutex& operator=(const RecursiveMutex&) = delete;

  // `name` keeps the host's call form, which names who locks for its diagnostics; nothing here reads it.
  void Lock(const char* name = nullptr) {
    (void)name;
    mutex_.lock();
  }
  // REQUIRES: the calling thread holds the mutex.
  void Unlock() { mutex_.unlock(); }

  void lock() { Lock(); }
  void unlock() { Unlock(); }
  bool try_lock() { return mutex_.try_lock(); }

 private:
  std::recursive_mutex mutex_;
};

// Holds a RecursiveMutex for the lifetime of the object.
class RecursiveMutexLock {
 public:
  explicit RecursiveMutexLock(RecursiveMutex& mutex, const char* name = nullptr) : mutex_(mutex) {
    mutex_.Lock(name);
  }
  ~RecursiveMutexLock() { mutex_.Unlock(); }
  RecursiveMutexLock(const RecursiveMutexLock&) = delete;
  RecursiveMutexLock& operator=(const RecursiveMutexLock&) = delete;

 private:
  RecursiveMutex& mutex_;
};

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_RECURSIVE_MUTEX_H_
