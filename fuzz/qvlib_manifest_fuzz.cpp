// libFuzzer target: the cloud-library manifests. The input is written as both "library.json" and
// "element.json" of a one-library, one-element tree in a private folder (scratch_folder.h), and
// read the ways the library managers read it: ReadManifestName on each file, and the tree's
// library name and element.
//
// The results must agree with what the manifest rules say of the text, worked out here from the
// JSON layer directly: at most kMaxManifestBytes of one JSON object whose "name", if present, is a
// string. Disagreement, a crash, a hang or a sanitizer report is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/scratch_folder.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/qvlib/library_layout.h"
#include "host/qvlib/library_tree.h"
#include "host/qvlib/manifest.h"

namespace {

namespace fs = std::filesystem;
namespace zs = zorvcore::serialization;

constexpr char kLibraryID[] = "lib";
constexpr char kElementID[] = "elem";

void Require(bool condition) {
  if (!condition) std::abort();
}

// The private tree, made once and removed when the process ends.
struct Tree {
  fs::path root;
  fs::path libraryManifest;
  fs::path elementManifest;

  Tree() {
    root = zorvfuzz::MakeScratchFolder("zorv-manifest-fuzz");
    const fs::path element = root / kLibraryID / kElementID;
    fs::create_directories(element);
    libraryManifest = root / kLibraryID / zorvqvlib::kLibraryManifestName;
    elementManifest = element / zorvqvlib::kElementManifestName;
  }
  ~Tree() {
    std::error_code error;
    fs::remove_all(root, error);
  }
};

Tree& TheTree() {
  static Tree tree;
  return tree;
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(static_cast<bool>(out.flush()));
}

// The manifest rules, from the JSON layer.
std::optional<std::string> ExpectedName(std::string_view bytes) {
  if (bytes.size() > zorvqvlib::kMaxManifestBytes) return std::nullopt;
  const zs::JSONValuePtr root = zs::JSONParse(bytes);
  if (!root || !root->IsObject()) return std::nullopt;
  const zs::JSONObject& object = zs::AsObject(root);
  const auto name = object.find(zorvqvlib::kManifestNameKey);
  if (name == object.end()) return std::string();
  if (!name->second || !name->second->IsString()) return std::nullopt;
  return name->second->Get<std::string>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Tree& tree = TheTree();
  WriteFile(tree.libraryManifest, bytes);
  WriteFile(tree.elementManifest, bytes);
  const std::optional<std::string> expected = ExpectedName(bytes);

  Require(zorvqvlib::ReadManifestName(tree.libraryManifest.native()) == expected);
  Require(zorvqvlib::ReadManifestName(tree.elementManifest.native()) == expected);

  const zorvqvlib::LibraryTree library(tree.root.native());
  const std::optional<std::string> libraryName = library.ReadLibraryName(kLibraryID);
  if (!expected) {
    Require(!libraryName);
  } else {
    Require(libraryName == (expected->empty() ? std::string(kLibraryID) : *expected));
  }
  const std::optional<zorvqvlib::ElementFiles> element = library.ReadElement(kLibraryID, kElementID);
  Require(element && element->name == (expected && !expected->empty() ? *expected : std::string(kElementID)));
  return 0;
}
