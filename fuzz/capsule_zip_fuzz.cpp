// libFuzzer target: arbitrary bytes opened as a template package (".tplx") with CapsuleZip, and
// used as the library uses a package: its description read, both thumbnails extracted, the project
// package extracted into a folder and searched there, and finally the description replaced.
//
// The work happens in a private tree (see scratch_folder.h):
//
//   <root>/package.tplx                          the input
//   <root>/thumbs/thumb.png, thumb.mp4           the thumbnail destinations
//   <root>/source/definition.json                the replacement description
//   <root>/n1/.../n8/extract/sub/target.*        the project package's folder
//
// The extraction folder sits eight folders down so that a member name climbing out of it would
// still land inside the tree, where the walk after each input sees it. Findings (std::abort), beside
// crashes, hangs and sanitizer reports:
// - anything in the tree that is not one of the paths above or below the project package's folder,
//   or any symbolic link anywhere in it (a half-written or hidden temporary file left behind counts);
// - a thumbnail or project folder present after the call said there was none;
// - a replaced description that does not read back, or a package changed by a refused replacement.
// Everything written is removed again before the next input.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#include "host/core/file_helper_utils.h"
#include "host/core/locale.h"
#include "host/core/unicode.h"
#include "fuzz/scratch_folder.h"
#include "package/capsule_zip.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExtractionDepth = 8;
constexpr char kReplacementDescription[] = "{\"replaced\":true}";

void Require(bool condition) {
  if (!condition) std::abort();
}

std::u16string Wide(const fs::path& path) { return zorvcore::FileHelperUtils::StdPathToUTF16(path); }

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(static_cast<bool>(out.flush()));
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Tree {
  fs::path root;
  fs::path package;
  fs::path thumbs;
  fs::path stillThumb;
  fs::path videoThumb;
  fs::path source;
  fs::path base;      // the base folder handed to GetTPLXProjectPackage
  fs::path subfolder; // base/sub
  fs::path tsTarget;
  fs::path qzTarget;

  Tree() {
    root = zorvfuzz::MakeScratchFolder("zorv-package-fuzz");
    package = root / "package.tplx";
    thumbs = root / "thumbs";
    stillThumb = thumbs / "thumb.png";
    videoThumb = thumbs / "thumb.mp4";
    source = root / "source";
    base = root;
    for (int level = 1; level <= kExtractionDepth; ++level) base /= "n" + std::to_string(level);
    base /= "extract";
    subfolder = base / "sub";
    tsTarget = subfolder / "target.tsgraphic";
    qzTarget = subfolder / "target.qzgraphic";
    fs::create_directories(thumbs);
    fs::create_directories(source);
    fs::create_directories(base);
    WriteFile(source / "definition.json", kReplacementDescription);
  }
  ~Tree() {
    std::error_code error;
    fs::remove_all(root, error);
  }

  // True for the paths the tree is made of, and whatever lies below a project package's folder.
  bool IsExpected(const fs::path& path) const {
    if (path == package || path == thumbs || path == stillThumb || path == videoThumb ||
        path == source || path == source / "definition.json" || path == subfolder) {
      return true;
    }
    for (fs::path folder = base; folder != root; folder = folder.parent_path()) {
      if (path == folder) return true;
    }
    for (const fs::path& target : {tsTarget, qzTarget}) {
      const auto [end, rest] = std::mismatch(target.begin(), target.end(), path.begin(), path.end());
      if (end == target.end()) return true;
    }
    return false;
  }

  void CheckNothingElse() const {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
      Require(!it->is_symlink());
      Require(IsExpected(it->path()));
    }
    Require(!error);
  }

  void Clean() const {
    std::error_code error;
    fs::remove_all(subfolder, error);
    fs::remove(stillThumb, error);
    fs::remove(videoThumb, error);
  }
};

Tree& TheTree() {
  static Tree tree;
  return tree;
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

void ReadPackage(const Tree& tree) {
  const zorvcapsule::CapsuleZip package(Wide(tree.package), std::string());
  package.GetTPLXDescriptionJSON();

  Require(package.GetTPLXThumbnailPNG(Wide(tree.stillThumb)) || !Exists(tree.stillThumb));
  Require(package.GetTPLXThumbnailVideo(Wide(tree.videoThumb)) || !Exists(tree.videoThumb));

  std::u16string output = u"unchanged";
  if (package.GetTPLXProjectPackage(Wide(tree.base), u"sub", u"target", output)) {
    Require(output == Wide(tree.tsTarget) || output == Wide(tree.qzTarget));
    Require(fs::is_directory(zorvcore::FileHelperUtils::UTF16ToStdPath(output)));
    zorvcapsule::CapsuleZip::GetPathOfUnZippedProject("tsgraphic|qzgraphic", Wide(tree.subfolder));
  } else {
    Require(output == u"unchanged");
    Require(!Exists(tree.tsTarget) && !Exists(tree.qzTarget));
  }
  tree.CheckNothingElse();
}

void ReplaceDescription(const Tree& tree, std::string_view bytes) {
  const zorvcapsule::CapsuleZip package(Wide(tree.package), std::string());
  if (package.SetTPLXDescriptionJSON(Wide(tree.source))) {
    Require(package.GetTPLXDescriptionJSON() == zorvcore::UTF8ToUTF16(kReplacementDescription));
  } else {
    Require(ReadFile(tree.package) == bytes);
  }
  tree.CheckNothingElse();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zorvcore::Locale::SetApplicationLanguage(u"en_US");
  TheTree();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Tree& tree = TheTree();
  WriteFile(tree.package, bytes);
  ReadPackage(tree);
  ReplaceDescription(tree, bytes);
  tree.Clean();
  return 0;
}
