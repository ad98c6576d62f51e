#include "host/storage/member_name.h"

#include "host/core/unicode.h"

namespace zorvstorage {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasForbiddenByte(std::string_view path) {
  for (char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '\\') return true;
  }
  return false;
}

bool IsPlainComponent(std::string_view component) {
  return !component.empty() && component != "." && component != ".." &&
         component.size() <= MemberName::kMaxComponentBytes;
}

bool AllComponentsPlain(std::string_view path) {
  size_t start = 0;
  while (true) {
    const size_t slash = path.find('/', start);
    const std::string_view component =
        path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
    if (!IsPlainComponent(component)) return false;
    if (slash == std::string_view::npos) return true;
    start = slash + 1;
  }
}

}  // namespace

bool MemberName::IsSafeRelativePath(std::string_view path) {
  if (path.empty() || path.size() > kMaxNameBytes) return false;
  if (path.front() == '/') return false;
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') return false;
  if (HasForbiddenByte(path)) return false;
  return AllComponentsPlain(path) && zorvcore::IsWellFormedUTF8(path);
}

}  // namespace zorvstorage
