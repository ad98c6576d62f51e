#include "host/core/json_parse.h"

#include <simdjson.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <tuple>
#include <utility>
#include <vector>

#include "host/core/unicode.h"

namespace zorvcore::serialization {
namespace {

namespace dom = simdjson::dom;

// A thread keeps its parser (and the buffers it has grown, about 15 bytes per byte of the largest
// text it has parsed) between documents, which spares allocating them on every call; documents
// above this size get a parser of their own so that one huge document does not pin its buffers
// to the thread for good.
constexpr size_t kLargestReusedCapacity = size_t{2} << 20;

// Storage for the value nodes of one parsed document (each value together with its reference
// counts): one bump-allocated block after another instead of one heap allocation per value, which
// halves the allocations of a parse and keeps a document's nodes together in memory. The blocks
// are freed when the last node is released, so a value kept from a document keeps the node
// storage of the whole document (its strings, members and elements are ordinary heap memory).
//
// Thread safety: Allocate and FinishBuild belong to the thread building the document, before any
// node is handed out; Release may then come from any thread.
class NodeArena {
 public:
  explicit NodeArena(size_t text_length)
      : nextBlockSize_(std::clamp(text_length * 2, kSmallestBlock, kLargestBlock)) {}

  NodeArena(const NodeArena&) = delete;
  NodeArena& operator=(const NodeArena&) = delete;

  void* Allocate(size_t bytes) {
    bytes = (bytes + kAlignment - 1) & ~(kAlignment - 1);
    if (bytes > room_) AddBlock(bytes);
    void* result = cursor_;
    cursor_ += bytes;
    room_ -= bytes;
    ++allocated_;
    return result;
  }

  // One node is gone; the last one takes the arena with it.
  void Release() {
    if (live_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

  // The build is over: from now on the arena lives exactly as long as its nodes. Until then a
  // large bias keeps it alive, so that the builder need not count atomically.
  void FinishBuild() {
    const uint64_t unclaimed = kBuildBias - allocated_;
    if (live_.fetch_sub(unclaimed, std::memory_order_acq_rel) == unclaimed) delete this;
  }

 private:
  static constexpr size_t kAlignment = alignof(std::max_align_t);
  static constexpr size_t kSmallestBlock = 1024;
  static constexpr size_t kLargestBlock = size_t{4} << 20;
  static constexpr uint64_t kBuildBias = uint64_t{1} << 62;

  ~NodeArena() = default;

  void AddBlock(size_t at_least) {
    const size_t size = std::max(nextBlockSize_, at_least);
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
    cursor_ = blocks_.back().get();
    room_ = size;
    nextBlockSize_ = std::min(nextBlockSize_ * 2, kLargestBlock);
  }

  std::atomic<uint64_t> live_{kBuildBias};
  uint64_t allocated_ = 0;
  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* cursor_ = nullptr;
  size_t room_ = 0;
  size_t nextBlockSize_;
};

// Hands std::allocate_shared the storage of a NodeArena; freeing a node releases it there.
template <class T>
class NodeAllocator {
 public:
  using value_type = T;

  explicit NodeAllocator(NodeArena* arena) : arena_(arena) {}
  template <class U>
  NodeAllocator(const NodeAllocator<U>& other) : arena_(other.arena()) {}

  T* allocate(size_t count) { return static_cast<T*>(arena_->Allocate(count * sizeof(T))); }
  void deallocate(T*, size_t) { arena_->Release(); }

  NodeArena* arena() const { return arena_; }
  template <class U>
  bool operator==(const NodeAllocator<U>& other) const {
    return arena_ == other.arena();
  }

 private:
  NodeArena* arena_;
};

// Turns a parsed simdjson document into the value model. Works with an explicit stack rather
// than recursion so that its stack use does not grow with the nesting of the document.
class TreeBuilder {
 public:
  explicit TreeBuilder(NodeArena* arena) : arena_(arena) {}

  JSONValuePtr Build(dom::element root) {
    JSONValuePtr result = MakeNode(root);
    while (!pending_.empty()) {
      if (pending_.back().object != nullptr) {
        StepObject();
      } else {
        StepArray();
      }
    }
    return result;
  }

 private:
  // A container whose members or elements are still being filled in. An object's members are
  // gathered in document order and sorted once, when the last one is in.
  struct Frame {
    JSONValue* object = nullptr;
    JSONObject::Members members;
    dom::object::iterator object_next;
    dom::object::iterator object_end;
    JSONArray* array = nullptr;
    dom::array::iterator array_next;
    dom::array::iterator array_end;
  };

  void StepObject() {
    Frame& frame = pending_.back();
    if (frame.object_next == frame.object_end) {
      frame.object->Raw() = JSONObject(std::move(frame.members));
      pending_.pop_back();
      return;
    }
    dom::key_value_pair member = *frame.object_next;
    ++frame.object_next;
    // MakeNode may queue a frame and so move this one, but the members' buffer stays put.
    JSONValuePtr& slot =
        frame.members
            .emplace_back(std::piecewise_construct, std::forward_as_tuple(member.key),
                          std::forward_as_tuple())
            .second;
    slot = MakeNode(member.value);
  }

  void StepArray() {
    Frame& frame = pending_.back();
    if (frame.array_next == frame.array_end) {
      pending_.pop_back();
      return;
    }
    dom::element element = *frame.array_next;
    ++frame.array_next;
    JSONArray& array = *frame.array;
    array.push_back(MakeNode(element));
  }

  // A leaf is complete on return; a non-empty container is returned empty and queued for filling.
  JSONValuePtr MakeNode(dom::element element) {
    switch (element.type()) {
      case dom::element_type::OBJECT:
        return MakeObject(element.get_object().value_unsafe());
      case dom::element_type::ARRAY:
        return MakeArray(element.get_array().value_unsafe());
      case dom::element_type::STRING:
        return NewNode(element.get_string().value_unsafe());
      case dom::element_type::INT64:
        return NewNode(element.get_int64().value_unsafe());
      case dom::element_type::UINT64:
        return NewNode(element.get_uint64().value_unsafe());
      case dom::element_type::DOUBLE:
        return NewNode(element.get_double().value_unsafe());
      case dom::element_type::BOOL:
        return NewNode(element.get_bool().value_unsafe());
      case dom::element_type::NULL_VALUE:
        break;
    }
    return NewNode();
  }

  JSONValuePtr MakeObject(dom::object source) {
    auto value = NewNode(JSONObject());
    if (source.begin() != source.end()) {
      Frame& frame = pending_.emplace_back();
      frame.object = value.get();
      frame.members.reserve(source.size());
      frame.object_next = source.begin();
      frame.object_end = source.end();
    }
    return value;
  }

  JSONValuePtr MakeArray(dom::array source) {
    JSONArray elements;
    elements.reserve(source.size());
    auto value = NewNode(std::move(elements));
    if (source.begin() != source.end()) {
      Frame& frame = pending_.emplace_back();
      frame.array = &std::get<JSONArray>(value->Raw());
      frame.array_next = source.begin();
      frame.array_end = source.end();
    }
    return value;
  }

  template <class... Args>
  JSONValuePtr NewNode(Args&&... args) {
    return std::allocate_shared<JSONValue>(NodeAllocator<JSONValue>(arena_),
                                           std::forward<Args>(args)...);
  }

  NodeArena* const arena_;
  std::vector<Frame> pending_;
};

JSONValuePtr BuildWith(dom::parser& parser, const char* bytes, size_t length, bool padded) {
  dom::element root;
  if (parser.parse(bytes, length, !padded).get(root) != simdjson::SUCCESS) return nullptr;
  auto* arena = new NodeArena(length);
  struct FinishBuild {
    NodeArena* arena;
    ~FinishBuild() { arena->FinishBuild(); }
  } finish{arena};
  return TreeBuilder(arena).Build(root);
}

// padded: the SIMDJSON_PADDING bytes after the text may be read (though not relied upon).
JSONValuePtr ParseUTF8(const char* bytes, size_t length, bool padded) {
  if (bytes == nullptr || length == 0) return nullptr;
  try {
    if (length > kLargestReusedCapacity) {
      dom::parser parser;
      return BuildWith(parser, bytes, length, padded);
    }
    thread_local dom::parser parser;
    return BuildWith(parser, bytes, length, padded);
  } catch (const std::exception&) {  // memory ran out: no document
    return nullptr;
  }
}

}  // namespace

JSONValuePtr JSONParse(std::u16string_view text) {
  try {
    return JSONParse(UTF16ToUTF8(text));
  } catch (const std::exception&) {
    return nullptr;
  }
}

JSONValuePtr JSONParse(std::string_view text) { return ParseUTF8(text.data(), text.size(), false); }

JSONValuePtr JSONParse(const std::string& text) {
  const bool padded = text.capacity() - text.size() >= simdjson::SIMDJSON_PADDING;
  return ParseUTF8(text.data(), text.size(), padded);
}

JSONValuePtr JSONParse(const char* bytes, size_t length) { return ParseUTF8(bytes, length, false); }

JSONValuePtr JSONParse(const char* text) {
  if (text == nullptr) return nullptr;
  return ParseUTF8(text, std::strlen(text), false);
}

}  // namespace zorvcore::serialization
