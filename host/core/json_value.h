// The host's JSON value model: one dynamically typed value that every JSON text is parsed into
// and written from.
//
// A JSONValue holds exactly one of: null, bool, signed 64-bit integer, unsigned 64-bit integer,
// double, UTF-8 string, object or array. Values are handed around as JSONValuePtr (shared
// ownership). An object maps UTF-8 keys to nullable value pointers and keeps its members in byte
// order of their keys, whatever order they were added in; an array keeps its elements in
// insertion order. An empty pointer inside an object or array reads and writes as JSON null.
//
// Reading a value as one alternative is a checked cast: the As* functions throw BadCastError
// (what() == "bad cast") when the value holds another alternative or the pointer is empty.
//
// Thread safety: a value is not synchronized. Any number of threads may read the same value at
// once; changing a value (adding members, appending elements, assigning) needs exclusive access
// to it and to every value reachable from it. Distinct values may be used freely from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_JSON_VALUE_H_
#define ZORVCAPSULE_HOST_CORE_JSON_VALUE_H_

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <utility>
#include <variant>
#include <vector>

namespace zorvcore::serialization {

// JSON null. Every NullType equals every other; G_NullType is the one the model hands out.
struct NullType {
  friend bool operator==(NullType, NullType) { return true; }
};
inline constexpr NullType G_NullType{};

class JSONValue;
using JSONValuePtr = std::shared_ptr<JSONValue>;

using JSONArray = std::vector<JSONValuePtr>;

// The members of an object: a map from UTF-8 key to value pointer, ordered by the bytes of the
// keys (compared as unsigned bytes), each key at most once. The members live in one sorted
// vector: a parsed object costs one allocation rather than one per member, and lookups are
// binary searches. Adding a key that sorts after every present key is amortized constant time;
// adding elsewhere moves the members after it, so a large object whose keys come in no order is
// better built from a Members vector (sorted once) than member by member.
//
// Iterators are those of the vector: adding or erasing members invalidates them. Keys must not be
// changed through an iterator (that would break the order).
class JSONObject {
 public:
  using value_type = std::pair<std::string, JSONValuePtr>;
  using Members = std::vector<value_type>;
  using iterator = Members::iterator;
  using const_iterator = Members::const_iterator;
  using size_type = size_t;

  JSONObject() = default;
  // Members in any order; when a key occurs more than once, the last occurrence wins.
  explicit JSONObject(Members members);
  JSONObject(std::initializer_list<value_type> members);

  iterator begin() { return members_.begin(); }
  iterator end() { return members_.end(); }
  const_iterator begin() const { return members_.begin(); }
  const_iterator end() const { return members_.end(); }
  const_iterator cbegin() const { return members_.cbegin(); }
  const_iterator cend() const { return members_.cend(); }

  size_t size() const { return members_.size(); }
  bool empty() const { return members_.empty(); }
  void clear() { members_.clear(); }
  void reserve(size_t count) { members_.reserve(count); }

  // end() when there is no member named key.
  iterator find(std::string_view key);
  const_iterator find(std::string_view key) const;
  bool contains(std::string_view key) const { return find(key) != end(); }
  size_t count(std::string_view key) const { return contains(key) ? 1 : 0; }

  // The member named key, added with an empty pointer when absent.
  JSONValuePtr& operator[](std::string_view key);

  // Sets the member, replacing the value of one already there; second is true when it was added.
  std::pair<iterator, bool> insert_or_assign(std::string key, JSONValuePtr value);
  // Adds the member unless the key is present; second is true when it was added.
  std::pair<iterator, bool> emplace(std::string key, JSONValuePtr value);

  size_t erase(std::string_view key);
  iterator erase(const_iterator position) { return members_.erase(position); }

 private:
  iterator LowerBound(std::string_view key);

  Members members_;
};

// The error of every failed typed read. A reader that knows where in its document the value of the
// wrong type sits may say so, as a JSON Pointer (RFC 6901: "/clientControls/3/value"); the error's
// type and text are the same either way.
class BadCastError : public std::bad_cast {
 public:
  BadCastError() = default;
  explicit BadCastError(std::string pointer);

  const char* what() const noexcept override;  // "bad cast"

  // The JSON Pointer of the failed value, or null when the reader did not tell.
  const std::string* Pointer() const noexcept { return pointer_.get(); }

 private:
  std::shared_ptr<const std::string> pointer_;  // shared: copying an exception must not throw
};

// The alternatives, in the order JSONValue::Kind() reports them.
enum class JSONKind { kNull, kBool, kInt64, kUInt64, kDouble, kString, kObject, kArray };

class JSONValue {
 public:
  using Variant =
      std::variant<NullType, bool, int64_t, uint64_t, double, std::string, JSONObject, JSONArray>;

  JSONValue() = default;  // null
  explicit JSONValue(NullType) {}
  explicit JSONValue(bool value) : value_(value) {}
  explicit JSONValue(int64_t value) : value_(value) {}
  explicit JSONValue(uint64_t value) : value_(value) {}
  explicit JSONValue(double value) : value_(value) {}
  explicit JSONValue(std::string value) : value_(std::move(value)) {}
  explicit JSONValue(std::string_view value) : value_(std::string(value)) {}
  // Without this a string literal would become a bool.
  explicit JSONValue(const char* value) : value_(std::string(value)) {}
  explicit JSONValue(JSONObject value) : value_(std::move(value)) {}
  explicit JSONValue(JSONArray value) : value_(std::move(value)) {}

  // A copy shares the members and elements of the original (it copies their pointers).
  JSONValue(const JSONValue&) = default;
  JSONValue& operator=(const JSONValue&) = default;
  JSONValue(JSONValue&&) noexcept = default;
  JSONValue& operator=(JSONValue&&) noexcept = default;

  // Releases nested containers without recursion, so that dropping an arbitrarily deep value
  // cannot exhaust the stack.
  ~JSONValue();

  JSONKind Kind() const { return static_cast<JSONKind>(value_.index()); }
  bool IsNull() const { return Holds<NullType>(); }
  bool IsBool() const { return Holds<bool>(); }
  bool IsInt64() const { return Holds<int64_t>(); }
  bool IsUInt64() const { return Holds<uint64_t>(); }
  bool IsInteger() const { return IsInt64() || IsUInt64(); }
  bool IsDouble() const { return Holds<double>(); }
  bool IsNumber() const { return IsInteger() || IsDouble(); }
  bool IsString() const { return Holds<std::string>(); }
  bool IsObject() const { return Holds<JSONObject>(); }
  bool IsArray() const { return Holds<JSONArray>(); }

  template <class T>
  bool Holds() const {
    return std::holds_alternative<T>(value_);
  }

  // The held T. Throws BadCastError when another alternative is held.
  template <class T>
  const T& Get() const {
    const T* held = std::get_if<T>(&value_);
    if (held == nullptr) throw BadCastError();
    return *held;
  }
  template <class T>
  T& Get() {
    T* held = std::get_if<T>(&value_);
    if (held == nullptr) throw BadCastError();
    return *held;
  }

  const Variant& Raw() const { return value_; }
  Variant& Raw() { return value_; }

 private:
  Variant value_;
};

// ---- Construction -------------------------------------------------------------------------

JSONValuePtr MakeJSONNull();
JSONValuePtr MakeJSONBool(bool value);
JSONValuePtr MakeJSONInt64(int64_t value);
JSONValuePtr MakeJSONUInt64(uint64_t value);
JSONValuePtr MakeJSONDouble(double value);
JSONValuePtr MakeJSONString(std::string value);          // UTF-8
JSONValuePtr MakeJSONString(std::string_view value);     // UTF-8
JSONValuePtr MakeJSONString(const char* value);          // UTF-8; a null pointer gives ""
JSONValuePtr MakeJSONString(std::u16string_view value);  // stored as UTF-8
JSONValuePtr MakeJSONObject();
JSONValuePtr MakeJSONObject(JSONObject members);
JSONValuePtr MakeJSONArray();
JSONValuePtr MakeJSONArray(JSONArray elements);

// ---- Objects and arrays ---------------------------------------------------------------------

// Sets the member key to value, replacing a member already there. A UTF-16 key is stored as
// UTF-8; a null const char* key is "". The JSONValuePtr forms throw BadCastError unless object
// holds an object.
// REQUIRES: value does not contain object (a cycle would never be released, nor written).
void AddToObject(JSONObject& object, std::string key, JSONValuePtr value);
void AddToObject(JSONObject& object, std::string_view key, JSONValuePtr value);
void AddToObject(JSONObject& object, const char* key, JSONValuePtr value);
void AddToObject(JSONObject& object, std::u16string_view key, JSONValuePtr value);
void AddToObject(const JSONValuePtr& object, std::string key, JSONValuePtr value);
void AddToObject(const JSONValuePtr& object, std::string_view key, JSONValuePtr value);
void AddToObject(const JSONValuePtr& object, const char* key, JSONValuePtr value);
void AddToObject(const JSONValuePtr& object, std::u16string_view key, JSONValuePtr value);

// Appends value at the end. The JSONValuePtr form throws BadCastError unless array holds an array.
// REQUIRES: value does not contain array.
void AppendToArray(JSONArray& array, JSONValuePtr value);
void AppendToArray(const JSONValuePtr& array, JSONValuePtr value);

// True when object has a member named key (whatever it holds, JSON null included). An empty
// pointer or a value that is not an object has no members: the two-argument form returns false
// for it, while the form with must_be_object == true throws BadCastError instead.
bool ObjectHasProperty(const JSONObject& object, std::string_view key);
bool ObjectHasProperty(const JSONObject& object, std::u16string_view key);
bool ObjectHasProperty(const JSONValuePtr& object, std::string_view key);
bool ObjectHasProperty(const JSONValuePtr& object, std::u16string_view key);
bool ObjectHasProperty(const JSONValuePtr& object, std::string_view key, bool must_be_object);
bool ObjectHasProperty(const JSONValuePtr& object, std::u16string_view key, bool must_be_object);

// The member's value pointer, or an empty pointer when there is no such member (or object is
// empty or not an object). A member explicitly set to an empty pointer also reads as empty.
JSONValuePtr GetVariantInObject(const JSONObject& object, std::string_view key);
JSONValuePtr GetVariantInObject(const JSONObject& object, std::u16string_view key);
JSONValuePtr GetVariantInObject(const JSONValuePtr& object, std::string_view key);
JSONValuePtr GetVariantInObject(const JSONValuePtr& object, std::u16string_view key);

// ---- Typed reads ----------------------------------------------------------------------------
// Each throws BadCastError when value is empty or holds another alternative than the one named.

bool AsBool(const JSONValuePtr& value);
int64_t AsInt64(const JSONValuePtr& value);
uint64_t AsUInt64(const JSONValuePtr& value);
double AsDouble(const JSONValuePtr& value);
const std::string& AsString(const JSONValuePtr& value);  // UTF-8
std::u16string AsUTF16String(const JSONValuePtr& value);
JSONObject& AsObject(const JSONValuePtr& value);
JSONArray& AsArray(const JSONValuePtr& value);

// Either integer kind as 64 bits. An unsigned value above INT64_MAX comes back as its two's
// complement bit pattern (AsAnyInt64), a negative signed value likewise (AsAnyUInt64); callers
// that narrow further get the same low bits either way. A double is a type error.
int64_t AsAnyInt64(const JSONValuePtr& value);
uint64_t AsAnyUInt64(const JSONValuePtr& value);

// Any number kind (double, signed or unsigned integer) as a double.
double AsNumber(const JSONValuePtr& value);

}  // namespace zorvcore::serialization

#endif  // ZORVCAPSULE_HOST_CORE_JSON_VALUE_H_
