#include "capsule/json_node.h"

#include <algorithm>
#include <cstring>

#include "host/core/unicode.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;
namespace dom = simdjson::dom;
using zs::JSONKind;

namespace {

JSONKind KindOf(dom::element_type type) {
  switch (type) {
    case dom::element_type::OBJECT:
      return JSONKind::kObject;
    case dom::element_type::ARRAY:
      return JSONKind::kArray;
    case dom::element_type::STRING:
      return JSONKind::kString;
    case dom::element_type::INT64:
      return JSONKind::kInt64;
    case dom::element_type::UINT64:
      return JSONKind::kUInt64;
    case dom::element_type::DOUBLE:
      return JSONKind::kDouble;
    case dom::element_type::BOOL:
      return JSONKind::kBool;
    case dom::element_type::NULL_VALUE:
      break;
  }
  return JSONKind::kNull;
}

// simdjson counts an array's elements up to this many; beyond, it has to walk them.
constexpr size_t kSaturatedCount = 0xFFFFFF;

void AppendPointerToken(std::string& pointer, std::string_view token) {
  pointer += '/';
  for (char c : token) {
    if (c == '~') {
      pointer += "~0";
    } else if (c == '/') {
      pointer += "~1";
    } else {
      pointer += c;
    }
  }
}

// Objects with more members than this are indexed when first looked in; smaller ones are walked.
constexpr size_t kIndexedMembers = 4;

}  // namespace

JsonNode JsonNode::TreeRoot(const zs::JSONValuePtr& root) {
  JsonNode node;
  node.kind_ = Kind::kTree;
  node.tree_ = root.get();
  return node;
}

JsonNode JsonNode::DomRoot(dom::element root) {
  JsonNode node;
  node.kind_ = Kind::kDom;
  node.dom_ = root;
  return node;
}

JsonNode JsonNode::Child(const zs::JSONValue* value, std::string_view key, size_t index) const {
  JsonNode child;
  child.kind_ = Kind::kTree;
  child.tree_ = value;
  child.parent_ = this;
  child.key_ = key;
  child.index_ = index;
  return child;
}

JsonNode JsonNode::Child(dom::element element, std::string_view key, size_t index) const {
  JsonNode child;
  child.kind_ = Kind::kDom;
  child.dom_ = element;
  child.parent_ = this;
  child.key_ = key;
  child.index_ = index;
  return child;
}

JSONKind JsonNode::TypeOf() const {
  if (kind_ == Kind::kDom) return KindOf(dom_.type());
  return tree_ == nullptr ? JSONKind::kNull : tree_->Kind();
}

bool JsonNode::IsNull() const { return TypeOf() == JSONKind::kNull; }
bool JsonNode::IsString() const { return kind_ == Kind::kDom ? dom_.is_string() : tree_ != nullptr && tree_->IsString(); }
bool JsonNode::IsObject() const { return kind_ == Kind::kDom ? dom_.is_object() : tree_ != nullptr && tree_->IsObject(); }
bool JsonNode::IsArray() const { return kind_ == Kind::kDom ? dom_.is_array() : tree_ != nullptr && tree_->IsArray(); }

std::string_view JsonNode::String() const {
  if (!IsString()) ThrowBadCast();
  if (kind_ == Kind::kDom) return dom_.get_string().value_unsafe();
  return tree_->Get<std::string>();
}

std::u16string JsonNode::UTF16() const { return zorvcore::UTF8ToUTF16(String()); }

bool JsonNode::Bool() const {
  if (TypeOf() != JSONKind::kBool) ThrowBadCast();
  if (kind_ == Kind::kDom) return dom_.get_bool().value_unsafe();
  return tree_->Get<bool>();
}

double JsonNode::Number() const {
  switch (TypeOf()) {
    case JSONKind::kDouble:
      return kind_ == Kind::kDom ? dom_.get_double().value_unsafe() : tree_->Get<double>();
    case JSONKind::kInt64:
      return static_cast<double>(kind_ == Kind::kDom ? dom_.get_int64().value_unsafe() : tree_->Get<int64_t>());
    case JSONKind::kUInt64:
      return static_cast<double>(kind_ == Kind::kDom ? dom_.get_uint64().value_unsafe() : tree_->Get<uint64_t>());
    default:
      ThrowBadCast();
  }
}

uint64_t JsonNode::AnyUInt64() const {
  switch (TypeOf()) {
    case JSONKind::kUInt64:
      return kind_ == Kind::kDom ? dom_.get_uint64().value_unsafe() : tree_->Get<uint64_t>();
    case JSONKind::kInt64:
      return static_cast<uint64_t>(kind_ == Kind::kDom ? dom_.get_int64().value_unsafe() : tree_->Get<int64_t>());
    default:
      ThrowBadCast();
  }
}

void JsonNode::RequireObject() const {
  if (!IsObject()) ThrowBadCast();
}

std::optional<JsonNode> JsonNode::Member(std::string_view key) const {
  RequireObject();
  if (kind_ == Kind::kTree) {
    const zs::JSONObject& object = tree_->Get<zs::JSONObject>();
    const auto found = object.find(key);
    if (found == object.end()) return std::nullopt;
    return Child(found->second.get(), found->first, kNoIndex);
  }
  return DomMember(key);
}

// A key may occur more than once; the last member counts, as in the tree.
std::optional<JsonNode> JsonNode::DomMember(std::string_view key) const {
  if (members_ == nullptr) {
    const dom::object object = dom_.get_object().value_unsafe();
    if (object.size() <= kIndexedMembers) {
      std::optional<dom::object::iterator> last;
      for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key_equals(key)) last = it;
      }
      if (!last) return std::nullopt;
      return Child(last->value(), last->key(), kNoIndex);
    }
    members_ = std::make_unique<MemberIndex>();
    members_->entries.reserve(object.size());
    for (auto it = object.begin(); it != object.end(); ++it) members_->entries.push_back({it.key(), it.value()});
  }
  const std::vector<MemberIndex::Entry>& entries = members_->entries;
  for (size_t i = entries.size(); i-- > 0;) {
    const MemberIndex::Entry& entry = entries[i];
    if (entry.key.size() == key.size() && std::memcmp(entry.key.data(), key.data(), key.size()) == 0) {
      return Child(entry.value, entry.key, kNoIndex);
    }
  }
  return std::nullopt;
}

void JsonNode::VisitMembers(void* context, MemberVisitor visit) const {
  RequireObject();
  if (kind_ == Kind::kTree) {
    for (const auto& [key, value] : tree_->Get<zs::JSONObject>()) visit(context, key, Child(value.get(), key, kNoIndex));
    return;
  }
  std::vector<dom::key_value_pair> members;
  const dom::object object = dom_.get_object().value_unsafe();
  for (const dom::key_value_pair member : object) members.push_back(member);
  std::stable_sort(members.begin(), members.end(),
                   [](const dom::key_value_pair& a, const dom::key_value_pair& b) { return a.key < b.key; });
  for (size_t i = 0; i < members.size(); ++i) {
    if (i + 1 < members.size() && members[i + 1].key == members[i].key) continue;  // a later one counts
    visit(context, members[i].key, Child(members[i].value, members[i].key, kNoIndex));
  }
}

size_t JsonNode::Size() const {
  if (!IsArray()) ThrowBadCast();
  if (kind_ == Kind::kTree) return tree_->Get<zs::JSONArray>().size();
  const dom::array array = dom_.get_array().value_unsafe();
  const size_t counted = array.size();
  if (counted < kSaturatedCount) return counted;
  return static_cast<size_t>(std::distance(array.begin(), array.end()));
}

void JsonNode::VisitElements(void* context, ElementVisitor visit) const {
  if (!IsArray()) ThrowBadCast();
  size_t index = 0;
  if (kind_ == Kind::kTree) {
    for (const zs::JSONValuePtr& element : tree_->Get<zs::JSONArray>()) {
      visit(context, Child(element.get(), std::string_view(), index++));
    }
    return;
  }
  const dom::array array = dom_.get_array().value_unsafe();
  for (const dom::element element : array) {
    visit(context, Child(element, std::string_view(), index++));
  }
}

std::vector<JsonNode> JsonNode::Elements() const {
  std::vector<JsonNode> elements;
  elements.reserve(Size());
  ForEachElement([&elements](const JsonNode& element) { elements.push_back(element); });
  return elements;
}

void JsonNode::ThrowBadCast() const { throw zs::BadCastError(Pointer()); }

std::string JsonNode::Pointer() const {
  std::vector<const JsonNode*> path;
  for (const JsonNode* node = this; node->parent_ != nullptr; node = node->parent_) path.push_back(node);
  std::string pointer;
  for (auto it = path.rbegin(); it != path.rend(); ++it) {
    const JsonNode& node = **it;
    AppendPointerToken(pointer, node.index_ == kNoIndex ? node.key_ : std::to_string(node.index_));
  }
  return pointer;
}

// ---- Members in the document's encodings ------------------------------------------------------

namespace {

template <typename Read>
auto ReadMember(const JsonNode& object, std::string_view key, Read read)
    -> std::optional<decltype(read(object))> {
  const std::optional<JsonNode> value = object.Member(key);
  if (!value) return std::nullopt;
  return read(*value);
}

template <typename T, typename ReadElement>
std::optional<std::vector<T>> ReadListMember(const JsonNode& object, std::string_view key, ReadElement read) {
  const std::optional<JsonNode> array = object.Member(key);
  if (!array) return std::nullopt;
  return ConvertElements<T>(*array, read);
}

std::string UTF8Of(const JsonNode& value) { return std::string(value.String()); }
std::u16string UTF16Of(const JsonNode& value) { return value.UTF16(); }
double NumberOf(const JsonNode& value) { return value.Number(); }

}  // namespace

std::optional<JsonNode> FindMember(const JsonNode& object, std::string_view key) { return object.Member(key); }

bool BoolFromJson(const JsonNode& value) {
  if (value.IsString()) {
    const std::string_view text = value.String();
    if (text == "true") return true;
    if (text == "false") return false;
    value.ThrowBadCast();
  }
  return value.Bool();
}

std::optional<std::string> ReadUTF8Member(const JsonNode& object, std::string_view key) {
  return ReadMember(object, key, UTF8Of);
}
std::optional<std::u16string> ReadUTF16Member(const JsonNode& object, std::string_view key) {
  return ReadMember(object, key, UTF16Of);
}
std::optional<double> ReadNumberMember(const JsonNode& object, std::string_view key) {
  return ReadMember(object, key, NumberOf);
}
std::optional<int64_t> ReadInt64Member(const JsonNode& object, std::string_view key) {
  return ReadMember(object, key, [](const JsonNode& value) { return value.AnyInt64(); });
}
std::optional<uint64_t> ReadUInt64Member(const JsonNode& object, std::string_view key) {
  return ReadMember(object, key, [](const JsonNode& value) { return value.AnyUInt64(); });
}
std::optional<int32_t> ReadInt32Member(const JsonNode& object, std::string_view key) {
  return ReadMember(object, key, Int32FromJson);
}
std::optional<uint32_t> ReadUInt32Member(const JsonNode& object, std::string_view key) {
  return ReadMember(object, key, UInt32FromJson);
}
std::optional<bool> ReadBoolMember(const JsonNode& object, std::string_view key) {
  return ReadMember(object, key, [](const JsonNode& value) { return BoolFromJson(value); });
}

std::optional<std::vector<std::string>> ReadUTF8ListMember(const JsonNode& object, std::string_view key) {
  return ReadListMember<std::string>(object, key, UTF8Of);
}
std::optional<std::vector<std::u16string>> ReadUTF16ListMember(const JsonNode& object, std::string_view key) {
  return ReadListMember<std::u16string>(object, key, UTF16Of);
}
std::optional<std::vector<double>> ReadNumberListMember(const JsonNode& object, std::string_view key) {
  return ReadListMember<double>(object, key, NumberOf);
}

}  // namespace zorvcapsule::serialization
