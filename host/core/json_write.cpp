#include "host/core/json_write.h"

#include <simdjson.h>

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "host/core/unicode.h"

namespace zorvcore::serialization {
namespace {

// For each byte: 0 when it stands for itself inside a JSON string, otherwise the letter of its
// short escape, or 'u' for the \u00XX form.
constexpr std::array<char, 256> MakeEscapeTable() {
  std::array<char, 256> table{};
  for (int c = 0; c < 0x20; ++c) table[c] = 'u';
  table['\b'] = 'b';
  table['\f'] = 'f';
  table['\n'] = 'n';
  table['\r'] = 'r';
  table['\t'] = 't';
  table['"'] = '"';
  table['\\'] = '\\';
  return table;
}
constexpr std::array<char, 256> kEscape = MakeEscapeTable();

// True for the ASCII bytes that stand for themselves inside a JSON string.
constexpr std::array<bool, 256> MakePlainASCIITable() {
  std::array<bool, 256> table{};
  for (int c = 0x20; c < 0x80; ++c) table[c] = kEscape[c] == 0;
  return table;
}
constexpr std::array<bool, 256> kPlainASCII = MakePlainASCIITable();

void AppendEscaped(std::string_view text, std::string& out) {
  static constexpr char kHex[] = "0123456789abcdef";
  size_t run_start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    const char escape = kEscape[byte];
    if (escape == 0) continue;
    out.append(text.data() + run_start, i - run_start);
    run_start = i + 1;
    out += '\\';
    out += escape;
    if (escape == 'u') {
      out += "00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  out.append(text.data() + run_start, text.size() - run_start);
}

bool IsASCII(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

void AppendString(std::string_view text, std::string& out) {
  out += '"';
  // Most strings are plain ASCII needing no escape: those are copied whole.
  size_t plain = 0;
  while (plain < text.size() && kPlainASCII[static_cast<unsigned char>(text[plain])]) ++plain;
  const std::string_view rest = text.substr(plain);
  if (rest.empty() || IsASCII(rest) || simdjson::validate_utf8(rest.data(), rest.size())) {
    out.append(text.data(), plain);
    AppendEscaped(rest, out);
  } else {
    // A round trip through UTF-16 replaces every ill-formed sequence with U+FFFD.
    AppendEscaped(UTF16ToUTF8(UTF8ToUTF16(text)), out);
  }
  out += '"';
}

template <class Integer>
void AppendInteger(Integer value, std::string& out) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  out.append(buffer, end);
}

void AppendDouble(double value, std::string& out) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  const std::string_view digits(buffer, end - buffer);
  out += digits;
  // The shortest form of a whole number has neither; without one it would read back as an integer.
  if (digits.find_first_of(".e") == std::string_view::npos) out += ".0";
}

// Writes a value and its descendants depth-first, keeping the open containers on its own stack.
class TextWriter {
 public:
  TextWriter(bool pretty, std::string& out) : pretty_(pretty), out_(out) {}

  void Write(const JSONValue* root) {
    WriteValue(root);
    while (!open_.empty()) {
      if (open_.back().object != nullptr) {
        StepObject();
      } else {
        StepArray();
      }
    }
  }

 private:
  struct Frame {
    const JSONObject* object = nullptr;
    JSONObject::const_iterator object_next;
    const JSONArray* array = nullptr;
    size_t array_next = 0;
  };

  void StepObject() {
    Frame& frame = open_.back();
    const bool first = frame.object_next == frame.object->begin();
    if (frame.object_next == frame.object->end()) return Close('}');
    const auto& member = *frame.object_next++;
    BeginItem(first);
    AppendString(member.first, out_);
    out_ += pretty_ ? ": " : ":";
    WriteValue(member.second.get());  // may open a container: frame is not used after this
  }

  void StepArray() {
    Frame& frame = open_.back();
    const bool first = frame.array_next == 0;
    if (frame.array_next == frame.array->size()) return Close(']');
    const JSONValue* element = (*frame.array)[frame.array_next++].get();
    BeginItem(first);
    WriteValue(element);
  }

  void BeginItem(bool first) {
    if (!first) out_ += ',';
    NewLine(open_.size());
  }

  void Close(char bracket) {
    open_.pop_back();
    NewLine(open_.size());
    out_ += bracket;
  }

  void NewLine(size_t depth) {
    if (!pretty_) return;
    out_ += '\n';
    out_.append(depth * 2, ' ');
  }

  // Writes a leaf, or opens a container and leaves its contents to the loop.
  void WriteValue(const JSONValue* value) {
    if (value == nullptr) {
      out_ += "null";
      return;
    }
    const JSONValue::Variant& held = value->Raw();
    switch (value->Kind()) {
      case JSONKind::kNull:
        out_ += "null";
        return;
      case JSONKind::kBool:
        out_ += std::get<bool>(held) ? "true" : "false";
        return;
      case JSONKind::kInt64:
        return AppendInteger(std::get<int64_t>(held), out_);
      case JSONKind::kUInt64:
        return AppendInteger(std::get<uint64_t>(held), out_);
      case JSONKind::kDouble:
        return AppendDouble(std::get<double>(held), out_);
      case JSONKind::kString:
        return AppendString(std::get<std::string>(held), out_);
      case JSONKind::kObject:
        return Open(std::get<JSONObject>(held));
      case JSONKind::kArray:
        return Open(std::get<JSONArray>(held));
    }
  }

  void Open(const JSONObject& object) {
    if (object.empty()) {
      out_ += "{}";
      return;
    }
    out_ += '{';
    Frame frame;
    frame.object = &object;
    frame.object_next = object.begin();
    open_.push_back(frame);
  }

  void Open(const JSONArray& array) {
    if (array.empty()) {
      out_ += "[]";
      return;
    }
    out_ += '[';
    Frame frame;
    frame.array = &array;
    open_.push_back(frame);
  }

  const bool pretty_;
  std::string& out_;
  std::vector<Frame> open_;
};

}  // namespace

std::string GetJSONUTF8String(const JSONValue& value, bool pretty) {
  std::string out;
  TextWriter(pretty, out).Write(&value);
  return out;
}

std::string GetJSONUTF8String(const JSONValuePtr& value, bool pretty) {
  std::string out;
  TextWriter(pretty, out).Write(value.get());
  return out;
}

std::u16string GetJSONString(const JSONValuePtr& value, bool pretty) {
  return UTF8ToUTF16(GetJSONUTF8String(value, pretty));
}

// ---- JSONStreamWriter: the layout of TextWriter, one piece at a time --------------------------

void JSONStreamWriter::NewLine(size_t depth) {
  if (!pretty_) return;
  out_ += '\n';
  out_.append(depth * 2, ' ');
}

// A value inside an array starts an item; a member's value follows its key on the same line.
void JSONStreamWriter::BeginValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (open_.empty()) return;
  if (open_.back()++ > 0) out_ += ',';
  NewLine(open_.size());
}

void JSONStreamWriter::BeginObject() {
  BeginValue();
  out_ += '{';
  open_.push_back(0);
}

void JSONStreamWriter::BeginArray() {
  BeginValue();
  out_ += '[';
  open_.push_back(0);
}

void JSONStreamWriter::EndObject() {
  const size_t items = open_.back();
  open_.pop_back();
  if (items > 0) NewLine(open_.size());
  out_ += '}';
}

void JSONStreamWriter::EndArray() {
  const size_t items = open_.back();
  open_.pop_back();
  if (items > 0) NewLine(open_.size());
  out_ += ']';
}

void JSONStreamWriter::Key(std::string_view key) {
  BeginValue();
  AppendString(key, out_);
  out_ += pretty_ ? ": " : ":";
  afterKey_ = true;
}

void JSONStreamWriter::Null() {
  BeginValue();
  out_ += "null";
}

void JSONStreamWriter::Bool(bool value) {
  BeginValue();
  out_ += value ? "true" : "false";
}

void JSONStreamWriter::Int64(int64_t value) {
  BeginValue();
  AppendInteger(value, out_);
}

void JSONStreamWriter::UInt64(uint64_t value) {
  BeginValue();
  AppendInteger(value, out_);
}

void JSONStreamWriter::Double(double value) {
  BeginValue();
  AppendDouble(value, out_);
}

void JSONStreamWriter::String(std::string_view utf8) {
  BeginValue();
  AppendString(utf8, out_);
}

void JSONStreamWriter::String(std::u16string_view text) { String(std::string_view(UTF16ToUTF8(text))); }

std::string JSONStreamWriter::Take() { return std::exchange(out_, std::string()); }

}  // namespace zorvcore::serialization
