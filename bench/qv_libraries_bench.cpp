// What one catalogue listing costs in calls to each library manager: the list of libraries, each
// library's elements, and the five questions the source asks per element. The newer manager answers
// from its snapshot with a few status checks; the older functions read the disk at every call.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "host/core/debug_database.h"
#include "host/qvlib/library_root.h"
#include "host/qvlib/qv_lib_manager.h"
#include "host/qvlib/qv_libraries.h"
#include "host/qvlib/qv_libraries_local.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

constexpr int kLibraries = 10;
constexpr int kElementsPerLibrary = 50;

void WriteFile(const fs::path& file, const std::string& content) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
}

// Old enough that the newer manager trusts what it read at once.
void Backdate(const fs::path& root) {
  struct timespec times[2];
  ::clock_gettime(CLOCK_REALTIME, &times[0]);
  times[0].tv_sec -= 3600;
  times[1] = times[0];
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    ::utimensat(AT_FDCWD, entry.path().c_str(), times, AT_SYMLINK_NOFOLLOW);
  }
  ::utimensat(AT_FDCWD, root.c_str(), times, 0);
}

// A tree of libraries under a fresh temporary folder, made the configured root; removed at exit.
class BenchTree {
 public:
  BenchTree() {
    std::string pattern = (fs::temp_directory_path() / "qvlib-bench-XXXXXX").native();
    root_ = ::mkdtemp(pattern.data());
    for (int l = 0; l < kLibraries; ++l) {
      const fs::path library = root_ / ("library" + std::to_string(l));
      WriteFile(library / "library.json", "{\"name\": \"Library " + std::to_string(l) + "\"}");
      for (int e = 0; e < kElementsPerLibrary; ++e) {
        const fs::path element = library / ("element" + std::to_string(e));
        WriteFile(element / "element.json", "{\"name\": \"Element " + std::to_string(e) + "\"}");
        WriteFile(element / "template.tplx", "package");
        WriteFile(element / "definition.json", "{}");
        WriteFile(element / "thumb.png", "png");
      }
    }
    Backdate(root_);
    zorvcore::DebugDatabase::SetEntry(zorvqvlib::kLibraryRootSetting, root_.native());
  }
  ~BenchTree() { fs::remove_all(root_); }

 private:
  fs::path root_;
};

BenchTree& Tree() {
  static BenchTree tree;
  return tree;
}

template <typename Manager, typename Local>
int64_t ListOnce() {
  int64_t answers = 0;
  Names libraries;
  Manager::GetLibraryList(libraries);
  for (const std::string& library : libraries) {
    Names elements;
    Local::GetCapsuleElementIDs(library, elements);
    for (const std::string& element : elements) {
      answers += !Local::GetCapsulePath(library, element).empty();
      answers += !Local::GetElementName(library, element).empty();
      answers += !Local::GetCapsuleSchemaPath(library, element).empty();
      answers += !Local::GetCapsuleThumbnailPath(library, element).empty();
      answers += !Local::GetCapsuleVideoThumbnailPath(library, element).empty();
    }
  }
  return answers;
}

void BM_ListingWithTheNewerManager(benchmark::State& state) {
  Tree();
  zorvqvlib::QvLibManager::Initialize();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ListOnce<zorvqvlib::QvLibManager, zorvqvlib::QvLibManager>());
  }
  zorvqvlib::QvLibManager::Terminate();
  state.SetItemsProcessed(state.iterations() * kLibraries * kElementsPerLibrary);
}
BENCHMARK(BM_ListingWithTheNewerManager)->Unit(benchmark::kMillisecond);

void BM_ListingWithTheOlderFunctions(benchmark::State& state) {
  Tree();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ListOnce<zorvqvlib::QvLibraries, zorvqvlib::QvLibrariesLocal>());
  }
  state.SetItemsProcessed(state.iterations() * kLibraries * kElementsPerLibrary);
}
BENCHMARK(BM_ListingWithTheOlderFunctions)->Unit(benchmark::kMillisecond);

void BM_InitializeTheNewerManager(benchmark::State& state) {
  Tree();
  for (auto _ : state) {
    zorvqvlib::QvLibManager::Initialize();
    zorvqvlib::QvLibManager::Terminate();
  }
}
BENCHMARK(BM_InitializeTheNewerManager)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
