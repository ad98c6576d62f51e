// One entry of a similar-word list: a value stored in the index and how many keys carry it.
//
// Thread safety: a plain value.

#ifndef ZORVCAPSULE_HOST_METADATADB_DB_MENU_ITEM_H_
#define ZORVCAPSULE_HOST_METADATADB_DB_MENU_ITEM_H_

#include <cstdint>
#include <string>

namespace zorvmetadatadb {

struct DBMenuItem {
  std::u16string word;
  int32_t count = 0;

  bool operator==(const DBMenuItem&) const = default;
};

}  // namespace zorvmetadatadb

#endif  // ZORVCAPSULE_HOST_METADATADB_DB_MENU_ITEM_H_
