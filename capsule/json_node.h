// JsonNode: a read-only view of one value of a parsed JSON document, so that the readers of the
// description document read alike from the host's value tree (host/core/json_value.h) and straight
// from a simdjson document, which spares building and releasing a tree for every description.
//
// Both kinds answer exactly as the host's value model does: the same value kinds (an integer that
// fits a signed 64-bit value is signed, a larger one unsigned, a number with a fraction or an
// exponent a double); an object's member is the last member of that key; an object's members are
// visited in byte order of their keys, each key once (its last member); an empty value pointer of a
// tree reads as JSON null. The typed reads are those of the value model (AsString, AsNumber, ...):
// a value of another kind throws zorvcore::serialization::BadCastError, which here carries the
// node's place in its document as a JSON Pointer (RFC 6901, "/clientControls/3/value").
//
// A node refers to the node it was reached from (to name its place), to its document and, for a
// member, to its key's text, without owning any of them: a node must not outlive its parent node
// nor the document. Keep child nodes in locals; never take one from a temporary parent.
//
// Thread safety: a node is used by one thread at a time (it remembers where an object's members are
// once it has looked for several); different nodes of one document may be read from several
// threads at once.

#ifndef ZORVCAPSULE_CAPSULE_JSON_NODE_H_
#define ZORVCAPSULE_CAPSULE_JSON_NODE_H_

#include <simdjson.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "capsule/list_conversion.h"
#include "host/core/json_value.h"

namespace zorvcapsule::serialization {

class JsonNode {
 public:
  // A copy refers to the same value, parent and key; it does not share what the original remembers.
  JsonNode(const JsonNode& other) { CopyFrom(other); }
  JsonNode& operator=(const JsonNode& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  JsonNode(JsonNode&&) noexcept = default;
  JsonNode& operator=(JsonNode&&) noexcept = default;
  ~JsonNode() = default;

  // The root of a tree; an empty pointer reads as JSON null.
  static JsonNode TreeRoot(const zorvcore::serialization::JSONValuePtr& root);
  // The root element of a parsed simdjson document.
  static JsonNode DomRoot(simdjson::dom::element root);

  bool IsNull() const;
  bool IsString() const;
  bool IsObject() const;
  bool IsArray() const;

  // Typed reads; each throws BadCastError unless the value is of its kind.
  std::string_view String() const;  // UTF-8
  std::u16string UTF16() const;
  bool Bool() const;
  double Number() const;       // any number kind
  uint64_t AnyUInt64() const;  // either integer kind (the other one's bits), never a double
  int64_t AnyInt64() const { return static_cast<int64_t>(AnyUInt64()); }

  // Objects: each throws BadCastError unless the value is an object.
  void RequireObject() const;
  // The member named key (the last one of that key); nullopt when there is none. A member holding
  // JSON null is present.
  std::optional<JsonNode> Member(std::string_view key) const;
  // Calls visit(std::string_view key, const JsonNode& value) for every member, in key order.
  template <typename Visit>
  void ForEachMember(Visit&& visit) const {
    VisitMembers(&visit, [](void* context, std::string_view key, const JsonNode& value) {
      (*static_cast<std::remove_reference_t<Visit>*>(context))(key, value);
    });
  }

  // Arrays: each throws BadCastError unless the value is an array.
  size_t Size() const;
  // Calls visit(const JsonNode& element) for every element, in order.
  template <typename Visit>
  void ForEachElement(Visit&& visit) const {
    VisitElements(&visit, [](void* context, const JsonNode& element) {
      (*static_cast<std::remove_reference_t<Visit>*>(context))(element);
    });
  }
  std::vector<JsonNode> Elements() const;

  // Throws BadCastError naming this node's place.
  [[noreturn]] void ThrowBadCast() const;
  // This node's place: "" for the root, "/key" or "/index" per level below it.
  std::string Pointer() const;

 private:
  enum class Kind : uint8_t { kTree, kDom };
  using MemberVisitor = void (*)(void* context, std::string_view key, const JsonNode& value);
  using ElementVisitor = void (*)(void* context, const JsonNode& element);

  // Where a simdjson object's members are, found in one pass: readers look up many keys in one
  // object (a control, a source info), each of which would otherwise walk all of its members.
  struct MemberIndex {
    struct Entry {
      std::string_view key;
      simdjson::dom::element value;
    };
    std::vector<Entry> entries;  // in document order
  };

  JsonNode() = default;
  void CopyFrom(const JsonNode& other) {
    kind_ = other.kind_;
    tree_ = other.tree_;
    dom_ = other.dom_;
    parent_ = other.parent_;
    key_ = other.key_;
    index_ = other.index_;
    members_.reset();
  }
  std::optional<JsonNode> DomMember(std::string_view key) const;
  JsonNode Child(const zorvcore::serialization::JSONValue* value, std::string_view key, size_t index) const;
  JsonNode Child(simdjson::dom::element element, std::string_view key, size_t index) const;
  void VisitMembers(void* context, MemberVisitor visit) const;
  void VisitElements(void* context, ElementVisitor visit) const;
  zorvcore::serialization::JSONKind TypeOf() const;

  static constexpr size_t kNoIndex = ~size_t{0};

  Kind kind_ = Kind::kTree;
  const zorvcore::serialization::JSONValue* tree_ = nullptr;  // kTree; null reads as JSON null
  simdjson::dom::element dom_;                                 // kDom
  const JsonNode* parent_ = nullptr;
  std::string_view key_;    // a member's key
  size_t index_ = kNoIndex;  // an element's index
  mutable std::unique_ptr<MemberIndex> members_;  // kDom objects with many members, once looked in
};

// Converts each element of `array` with `convert(const JsonNode&) -> Out`, in order, as ConvertList
// does (list_conversion.h): a long list is shared out over the worker pool. Throws BadCastError
// unless `array` is an array.
template <typename Out, typename Convert>
std::vector<Out> ConvertElements(const JsonNode& array, Convert&& convert) {
  const size_t count = array.Size();
  if (count > kParallelListThreshold) return ConvertList<Out>(array.Elements(), convert);
  std::vector<Out> output;
  output.reserve(count);
  array.ForEachElement([&](const JsonNode& element) { output.push_back(convert(element)); });
  return output;
}

// ---- Members in the document's encodings (as json_members.h reads them from a tree) -----------
// A member that is absent reads as nullopt; one of another kind throws, naming the member.

std::optional<JsonNode> FindMember(const JsonNode& object, std::string_view key);

// A JSON bool, or exactly the text "true" or "false".
bool BoolFromJson(const JsonNode& value);
// Either 64-bit integer kind; the 32-bit forms keep the low 32 bits.
inline int32_t Int32FromJson(const JsonNode& value) { return static_cast<int32_t>(value.AnyInt64()); }
inline uint32_t UInt32FromJson(const JsonNode& value) { return static_cast<uint32_t>(value.AnyUInt64()); }

std::optional<std::string> ReadUTF8Member(const JsonNode& object, std::string_view key);
std::optional<std::u16string> ReadUTF16Member(const JsonNode& object, std::string_view key);
std::optional<double> ReadNumberMember(const JsonNode& object, std::string_view key);
std::optional<int64_t> ReadInt64Member(const JsonNode& object, std::string_view key);
std::optional<uint64_t> ReadUInt64Member(const JsonNode& object, std::string_view key);
std::optional<int32_t> ReadInt32Member(const JsonNode& object, std::string_view key);
std::optional<uint32_t> ReadUInt32Member(const JsonNode& object, std::string_view key);
std::optional<bool> ReadBoolMember(const JsonNode& object, std::string_view key);

std::optional<std::vector<std::string>> ReadUTF8ListMember(const JsonNode& object, std::string_view key);
std::optional<std::vector<std::u16string>> ReadUTF16ListMember(const JsonNode& object, std::string_view key);
std::optional<std::vector<double>> ReadNumberListMember(const JsonNode& object, std::string_view key);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_JSON_NODE_H_
