#include "host/core/json_value.h"

#include <algorithm>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "host/core/unicode.h"

namespace zorvcore::serialization {

BadCastError::BadCastError(std::string pointer)
    : pointer_(std::make_shared<const std::string>(std::move(pointer))) {}

const char* BadCastError::what() const noexcept { return "bad cast"; }

namespace {

bool HoldsNonEmptyContainer(const JSONValue& value) {
  if (const auto* object = std::get_if<JSONObject>(&value.Raw())) return !object->empty();
  if (const auto* array = std::get_if<JSONArray>(&value.Raw())) return !array->empty();
  return false;
}

void TakeIfNestedContainer(JSONValuePtr& child, std::vector<JSONValuePtr>& pending) {
  if (child && HoldsNonEmptyContainer(*child)) pending.push_back(std::move(child));
}

// Moves the container children of value into pending and leaves value null, so that value's own
// destruction no longer reaches below it.
void DetachNestedContainers(JSONValue& value, std::vector<JSONValuePtr>& pending) {
  if (auto* object = std::get_if<JSONObject>(&value.Raw())) {
    for (auto& member : *object) TakeIfNestedContainer(member.second, pending);
  } else if (auto* array = std::get_if<JSONArray>(&value.Raw())) {
    for (auto& element : *array) TakeIfNestedContainer(element, pending);
  }
  value.Raw() = G_NullType;
}

[[noreturn]] void ThrowBadCast() { throw BadCastError(); }

const JSONValue& Deref(const JSONValuePtr& value) {
  if (!value) ThrowBadCast();
  return *value;
}

// The object held by value, or nullptr when value is empty or holds something else.
const JSONObject* ObjectIn(const JSONValuePtr& value) {
  return value ? std::get_if<JSONObject>(&value->Raw()) : nullptr;
}

JSONValuePtr FindMember(const JSONObject& object, std::string_view key) {
  auto it = object.find(key);
  return it == object.end() ? JSONValuePtr() : it->second;
}

}  // namespace

JSONValue::~JSONValue() {
  if (!HoldsNonEmptyContainer(*this)) return;
  // Ordinary nesting is released the plain way, children inside their parent's destructor; only
  // below kRecursiveReleaseDepth does the release switch to a work list of its own.
  constexpr int kRecursiveReleaseDepth = 64;
  thread_local int release_depth = 0;
  if (release_depth < kRecursiveReleaseDepth) {
    ++release_depth;
    value_ = G_NullType;
    --release_depth;
    return;
  }
  // Only values we hold the last reference to are taken apart; a shared one just loses a count.
  // Should memory run out for the work list, whatever is left is released the ordinary way.
  try {
    std::vector<JSONValuePtr> pending;
    DetachNestedContainers(*this, pending);
    while (!pending.empty()) {
      JSONValuePtr next = std::move(pending.back());
      pending.pop_back();
      if (next.use_count() == 1) DetachNestedContainers(*next, pending);
    }
  } catch (const std::bad_alloc&) {
  }
}

// ---- JSONObject ---------------------------------------------------------------------------

namespace {

// Byte-wise (unsigned) order of keys. Keys are short and mostly differ early, where a loop beats
// a call to memcmp.
bool KeyBytesLess(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

bool KeyLess(const JSONObject::value_type& member, std::string_view key) {
  return KeyBytesLess(member.first, key);
}

bool KeysAscend(const JSONObject::Members& members) {
  for (size_t i = 1; i < members.size(); ++i) {
    if (!KeyBytesLess(members[i - 1].first, members[i].first)) return false;
  }
  return true;
}

// A member's key and its place in the unsorted members: sorting these moves no strings.
struct SortEntry {
  std::string_view key;
  size_t index;
};

bool EntryBefore(const SortEntry& a, const SortEntry& b) { return KeyBytesLess(a.key, b.key); }

void StableSortEntries(SortEntry* begin, SortEntry* end) {
  constexpr ptrdiff_t kInsertionSortLimit = 32;
  if (end - begin > kInsertionSortLimit) return std::stable_sort(begin, end, EntryBefore);
  for (SortEntry* it = begin + 1; it < end; ++it) {
    const SortEntry moving = *it;
    SortEntry* hole = it;
    for (; hole > begin && EntryBefore(moving, hole[-1]); --hole) *hole = hole[-1];
    *hole = moving;
  }
}

// Moves members[entries[k].index] to position k for every k, following the permutation's cycles.
void Permute(JSONObject::Members& members, SortEntry* entries) {
  for (size_t k = 0; k < members.size(); ++k) {
    if (entries[k].index == k) continue;
    JSONObject::value_type first = std::move(members[k]);
    size_t hole = k;
    while (entries[hole].index != k) {
      const size_t source = entries[hole].index;
      members[hole] = std::move(members[source]);
      entries[hole].index = hole;
      hole = source;
    }
    members[hole] = std::move(first);
    entries[hole].index = hole;
  }
}

// Sorts by key and keeps, of each run of equal keys, the member that came last.
void SortKeepingLastOfEachKey(JSONObject::Members& members) {
  constexpr size_t kOnStack = 32;
  SortEntry on_stack[kOnStack];
  std::unique_ptr<SortEntry[]> on_heap;
  SortEntry* entries = on_stack;
  if (members.size() > kOnStack) {
    on_heap = std::make_unique<SortEntry[]>(members.size());
    entries = on_heap.get();
  }
  const size_t count = members.size();
  for (size_t i = 0; i < count; ++i) entries[i] = {members[i].first, i};
  StableSortEntries(entries, entries + count);

  bool repeated = false;
  for (size_t i = 1; i < count && !repeated; ++i) repeated = entries[i - 1].key == entries[i].key;
  if (!repeated) return Permute(members, entries);

  JSONObject::Members kept;
  kept.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const bool overridden = i + 1 < count && entries[i + 1].key == entries[i].key;
    if (!overridden) kept.push_back(std::move(members[entries[i].index]));
  }
  members = std::move(kept);
}

}  // namespace

JSONObject::JSONObject(Members members) : members_(std::move(members)) {
  if (!KeysAscend(members_)) SortKeepingLastOfEachKey(members_);
}

JSONObject::JSONObject(std::initializer_list<value_type> members) : JSONObject(Members(members)) {}

JSONObject::iterator JSONObject::LowerBound(std::string_view key) {
  // Members are most often added in key order: try the end first.
  if (members_.empty() || KeyLess(members_.back(), key)) return members_.end();
  return std::lower_bound(members_.begin(), members_.end(), key, KeyLess);
}

JSONObject::iterator JSONObject::find(std::string_view key) {
  auto it = std::lower_bound(members_.begin(), members_.end(), key, KeyLess);
  return it != members_.end() && it->first == key ? it : members_.end();
}

JSONObject::const_iterator JSONObject::find(std::string_view key) const {
  auto it = std::lower_bound(members_.begin(), members_.end(), key, KeyLess);
  return it != members_.end() && it->first == key ? it : members_.end();
}

JSONValuePtr& JSONObject::operator[](std::string_view key) {
  return emplace(std::string(key), nullptr).first->second;
}

std::pair<JSONObject::iterator, bool> JSONObject::insert_or_assign(std::string key,
                                                                   JSONValuePtr value) {
  auto result = emplace(std::move(key), nullptr);
  result.first->second = std::move(value);
  return result;
}

std::pair<JSONObject::iterator, bool> JSONObject::emplace(std::string key, JSONValuePtr value) {
  auto it = LowerBound(key);
  if (it != members_.end() && it->first == key) return {it, false};
  it = members_.emplace(it, std::move(key), std::move(value));
  return {it, true};
}

size_t JSONObject::erase(std::string_view key) {
  auto it = find(key);
  if (it == members_.end()) return 0;
  members_.erase(it);
  return 1;
}

// ---- Construction ---------------------------------------------------------------------------

JSONValuePtr MakeJSONNull() { return std::make_shared<JSONValue>(); }
JSONValuePtr MakeJSONBool(bool value) { return std::make_shared<JSONValue>(value); }
JSONValuePtr MakeJSONInt64(int64_t value) { return std::make_shared<JSONValue>(value); }
JSONValuePtr MakeJSONUInt64(uint64_t value) { return std::make_shared<JSONValue>(value); }
JSONValuePtr MakeJSONDouble(double value) { return std::make_shared<JSONValue>(value); }
JSONValuePtr MakeJSONString(std::string value) {
  return std::make_shared<JSONValue>(std::move(value));
}
JSONValuePtr MakeJSONString(std::string_view value) { return std::make_shared<JSONValue>(value); }
JSONValuePtr MakeJSONString(const char* value) {
  return std::make_shared<JSONValue>(value ? value : "");
}
JSONValuePtr MakeJSONString(std::u16string_view value) {
  return std::make_shared<JSONValue>(UTF16ToUTF8(value));
}
JSONValuePtr MakeJSONObject() { return std::make_shared<JSONValue>(JSONObject()); }
JSONValuePtr MakeJSONObject(JSONObject members) {
  return std::make_shared<JSONValue>(std::move(members));
}
JSONValuePtr MakeJSONArray() { return std::make_shared<JSONValue>(JSONArray()); }
JSONValuePtr MakeJSONArray(JSONArray elements) {
  return std::make_shared<JSONValue>(std::move(elements));
}

// ---- Objects and arrays ---------------------------------------------------------------------

void AddToObject(JSONObject& object, std::string key, JSONValuePtr value) {
  object.insert_or_assign(std::move(key), std::move(value));
}
void AddToObject(JSONObject& object, std::string_view key, JSONValuePtr value) {
  AddToObject(object, std::string(key), std::move(value));
}
void AddToObject(JSONObject& object, const char* key, JSONValuePtr value) {
  AddToObject(object, std::string(key ? key : ""), std::move(value));
}
void AddToObject(JSONObject& object, std::u16string_view key, JSONValuePtr value) {
  AddToObject(object, UTF16ToUTF8(key), std::move(value));
}
void AddToObject(const JSONValuePtr& object, std::string key, JSONValuePtr value) {
  AddToObject(AsObject(object), std::move(key), std::move(value));
}
void AddToObject(const JSONValuePtr& object, std::string_view key, JSONValuePtr value) {
  AddToObject(AsObject(object), std::string(key), std::move(value));
}
void AddToObject(const JSONValuePtr& object, const char* key, JSONValuePtr value) {
  AddToObject(AsObject(object), key, std::move(value));
}
void AddToObject(const JSONValuePtr& object, std::u16string_view key, JSONValuePtr value) {
  AddToObject(AsObject(object), UTF16ToUTF8(key), std::move(value));
}

void AppendToArray(JSONArray& array, JSONValuePtr value) { array.push_back(std::move(value)); }
void AppendToArray(const JSONValuePtr& array, JSONValuePtr value) {
  AsArray(array).push_back(std::move(value));
}

bool ObjectHasProperty(const JSONObject& object, std::string_view key) {
  return object.find(key) != object.end();
}
bool ObjectHasProperty(const JSONObject& object, std::u16string_view key) {
  return ObjectHasProperty(object, std::string_view(UTF16ToUTF8(key)));
}
bool ObjectHasProperty(const JSONValuePtr& object, std::string_view key) {
  const JSONObject* members = ObjectIn(object);
  return members != nullptr && ObjectHasProperty(*members, key);
}
bool ObjectHasProperty(const JSONValuePtr& object, std::u16string_view key) {
  return ObjectHasProperty(object, std::string_view(UTF16ToUTF8(key)));
}
bool ObjectHasProperty(const JSONValuePtr& object, std::string_view key, bool must_be_object) {
  if (must_be_object) return ObjectHasProperty(AsObject(object), key);
  return ObjectHasProperty(object, key);
}
bool ObjectHasProperty(const JSONValuePtr& object, std::u16string_view key, bool must_be_object) {
  return ObjectHasProperty(object, std::string_view(UTF16ToUTF8(key)), must_be_object);
}

JSONValuePtr GetVariantInObject(const JSONObject& object, std::string_view key) {
  return FindMember(object, key);
}
JSONValuePtr GetVariantInObject(const JSONObject& object, std::u16string_view key) {
  return FindMember(object, UTF16ToUTF8(key));
}
JSONValuePtr GetVariantInObject(const JSONValuePtr& object, std::string_view key) {
  const JSONObject* members = ObjectIn(object);
  return members ? FindMember(*members, key) : JSONValuePtr();
}
JSONValuePtr GetVariantInObject(const JSONValuePtr& object, std::u16string_view key) {
  return GetVariantInObject(object, std::string_view(UTF16ToUTF8(key)));
}

// ---- Typed reads ----------------------------------------------------------------------------

bool AsBool(const JSONValuePtr& value) { return Deref(value).Get<bool>(); }
int64_t AsInt64(const JSONValuePtr& value) { return Deref(value).Get<int64_t>(); }
uint64_t AsUInt64(const JSONValuePtr& value) { return Deref(value).Get<uint64_t>(); }
double AsDouble(const JSONValuePtr& value) { return Deref(value).Get<double>(); }
const std::string& AsString(const JSONValuePtr& value) { return Deref(value).Get<std::string>(); }
std::u16string AsUTF16String(const JSONValuePtr& value) { return UTF8ToUTF16(AsString(value)); }
JSONObject& AsObject(const JSONValuePtr& value) {
  if (!value) ThrowBadCast();
  return value->Get<JSONObject>();
}
JSONArray& AsArray(const JSONValuePtr& value) {
  if (!value) ThrowBadCast();
  return value->Get<JSONArray>();
}

int64_t AsAnyInt64(const JSONValuePtr& value) { return static_cast<int64_t>(AsAnyUInt64(value)); }

uint64_t AsAnyUInt64(const JSONValuePtr& value) {
  const JSONValue& held = Deref(value);
  if (const auto* u = std::get_if<uint64_t>(&held.Raw())) return *u;
  return static_cast<uint64_t>(held.Get<int64_t>());
}

double AsNumber(const JSONValuePtr& value) {
  const JSONValue& held = Deref(value);
  if (const auto* d = std::get_if<double>(&held.Raw())) return *d;
  if (const auto* i = std::get_if<int64_t>(&held.Raw())) return static_cast<double>(*i);
  return static_cast<double>(held.Get<uint64_t>());
}

}  // namespace zorvcore::serialization
