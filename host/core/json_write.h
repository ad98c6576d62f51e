// Writing values of the host's JSON model (host/core/json_value.h) as JSON text.
//
// Objects list their members in byte order of their keys. Strings are written as UTF-8 (or, for
// GetJSONString, UTF-16) with '"', '\\' and the control characters escaped; other characters,
// non-ASCII ones included, are written as they are, except that ill-formed UTF-8 in a string or
// key is written as U+FFFD so that the text always parses again. Integers are exact; a double is
// written in the shortest form that reads back to the same double, and always with a fraction or
// an exponent ("1.0", "1e+300") so that it reads back as a double. NaN and the infinities have no
// JSON form and are written as null, as are empty value pointers.
//
// pretty == false gives the compact form, with no whitespace at all. pretty == true gives a form
// for people to read: one member or element per line, indented by two spaces per level, and
// ": " after keys; empty objects and arrays stay "{}" and "[]".
//
// Writing does not recurse, so any depth of nesting is written. Memory running out is the only
// failure (std::bad_alloc); no partial text is returned.
//
// Thread safety: may be called from any thread; the value must not change while it is written.

#ifndef ZORVCAPSULE_HOST_CORE_JSON_WRITE_H_
#define ZORVCAPSULE_HOST_CORE_JSON_WRITE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/json_value.h"

namespace zorvcore::serialization {

// REQUIRES (all three): value contains no cycle.

// UTF-16 JSON text.
std::u16string GetJSONString(const JSONValuePtr& value, bool pretty);

// UTF-8 JSON text.
std::string GetJSONUTF8String(const JSONValuePtr& value, bool pretty);
std::string GetJSONUTF8String(const JSONValue& value, bool pretty);

// Writes UTF-8 JSON text piece by piece, without a value to write from, exactly as
// GetJSONUTF8String writes the value those pieces describe: for a large document, whose value would
// cost more than its text. The caller gives an object's members in byte order of their keys, each
// key once, as the value model keeps them; the writer does not check.
//
// Take() hands over the text written so far and starts afresh, so a long document can be passed on
// in parts while it is written.
//
// Thread safety: a writer is used by one thread at a time.
class JSONStreamWriter {
 public:
  explicit JSONStreamWriter(bool pretty) : pretty_(pretty) {}

  JSONStreamWriter(const JSONStreamWriter&) = delete;
  JSONStreamWriter& operator=(const JSONStreamWriter&) = delete;

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The next member's key (UTF-8); its value follows.
  void Key(std::string_view key);

  void Null();
  void Bool(bool value);
  void Int64(int64_t value);
  void UInt64(uint64_t value);
  void Double(double value);
  void String(std::string_view utf8);
  void String(std::u16string_view text);

  std::string Take();

 private:
  void BeginValue();
  void NewLine(size_t depth);

  const bool pretty_;
  std::string out_;
  std::vector<size_t> open_;  // items written so far in each open container
  bool afterKey_ = false;
};

}  // namespace zorvcore::serialization

#endif  // ZORVCAPSULE_HOST_CORE_JSON_WRITE_H_
