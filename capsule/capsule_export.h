// Marks the declarations that make up the library's exported interface.
//
// The library is compiled with hidden visibility; only what carries ZORVCAPSULE_EXPORT is visible
// to a host that loads the shared library.

#ifndef ZORVCAPSULE_CAPSULE_CAPSULE_EXPORT_H_
#define ZORVCAPSULE_CAPSULE_CAPSULE_EXPORT_H_

#define ZORVCAPSULE_EXPORT __attribute__((visibility("default")))

#endif  // ZORVCAPSULE_CAPSULE_CAPSULE_EXPORT_H_
