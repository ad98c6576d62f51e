// Speed of the catalogue's default set in index mode over 1,000 and 10,000 template packages, in
// templates per second ("templates_per_s"), beside a raw pass over the same packages in the same run:
// libzip open, read "definition.json", simdjson parse, nothing else (bench/bench_packages.h). The
// raw pass on one thread is the floor the warm catalogue is held to.
//
// The default set is what a host waits for: request, listing (walk, package open, description
// parse, entry), index rebuild, sort, and the delivery pumped on this thread as the host's main
// thread. The warm runs find the video thumbnails in the cache, as every listing after the first
// does; the cold runs empty the cache before each listing, so every video thumbnail is extracted
// again. The raw pass runs on this thread alone and, as a second floor, spread over the worker pool
// the listing uses.
//
// Memory: BM_CatalogueMemory lists each set once in a fresh catalogue and reports the resident
// memory the listing added at its peak, per template ("peak_bytes_per_template"), with the host
// keeping the delivered entries as a host does.
//
// Each figure is the median of three repetitions. The packages are generated once per process into
// a temporary folder, which is also the thumbnail cache's ($TMPDIR), and removed at exit.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <simdjson.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "bench/bench_packages.h"
#include "catalogue/graphic_source_manager.h"
#include "catalogue/local_graphics_source.h"
#include "host/core/executor.h"
#include "host/core/file_helper_utils.h"
#include "host/core/main_thread.h"

namespace {

namespace fs = std::filesystem;
using zorvbench::RawReadAndParse;
using zorvcapsule::GraphicSourceManager;

// The generated template folders, one per size, and the thumbnail cache, all under one temporary
// folder that goes when the program ends.
class GeneratedLibrary {
 public:
  GeneratedLibrary() {
    std::string pattern = (fs::temp_directory_path() / "catalogue-bench-XXXXXX").native();
    root_ = ::mkdtemp(pattern.data());
    fs::create_directories(root_ / "tmp");
    ::setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
  }
  ~GeneratedLibrary() {
    std::error_code error;
    fs::remove_all(root_, error);
  }

  // The folder of `count` packages, generated on first use; its packages in walk order.
  const std::vector<fs::path>& Packages(int count) {
    std::vector<fs::path>& packages = packages_[count];
    if (!packages.empty()) return packages;
    packages = zorvbench::WriteBenchPackages(Folder(count), count);
    return packages;
  }
  fs::path Folder(int count) const { return root_ / ("templates-" + std::to_string(count)); }
  fs::path IndexPath(int count) const { return root_ / ("index-" + std::to_string(count) + ".db"); }
  fs::path CacheFolder() const { return root_ / "tmp" / "TslBrowser"; }

 private:
  fs::path root_;
  std::map<int, std::vector<fs::path>> packages_;
};

GeneratedLibrary& Library() {
  static GeneratedLibrary library;
  return library;
}

std::u16string U16(const fs::path& path) { return zorvcore::FileHelperUtils::StdPathToUTF16(path); }

// Empties the thumbnail cache for a cold listing by moving its files aside (they go at exit) rather
// than deleting them: a file system that has just deleted ten thousand files makes the next ten
// thousand it creates crawl past the freed inodes, which no first opening of a catalogue meets.
void EmptyCache() {
  static int moved = 0;
  const fs::path cache = Library().CacheFolder();
  std::error_code error;
  fs::rename(cache, cache.parent_path() / ("moved-aside-" + std::to_string(++moved)), error);
  fs::create_directory(cache, error);
  fs::permissions(cache, fs::perms::owner_all, error);
}

// A host's catalogue over the generated folder: requests the default set and pumps this thread's
// main-thread queue until it arrives.
class Catalogue {
 public:
  explicit Catalogue(int count) : manager_(U16(Library().IndexPath(count))) {
    manager_.AddGraphicSource(
        std::make_shared<zorvcapsule::LocalGraphicsSource>(U16(Library().Folder(count)),
                                                           zorvcapsule::LocalGraphicsSource::FolderList{}));
    manager_.SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
        [this](GraphicSourceManager::EntryVector& entries, int32_t, int32_t) {
          delivered_ = std::move(entries);  // kept, as a host keeps what it shows
          ++deliveries_;
        }));
  }
  size_t DefaultSet() {
    const int before = deliveries_;
    manager_.RequestDefaultGraphicSet();
    while (deliveries_ == before) zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(100));
    return delivered_.size();
  }

 private:
  GraphicSourceManager manager_;
  GraphicSourceManager::EntryVector delivered_;
  int deliveries_ = 0;
};

void SetRate(benchmark::State& state, size_t count) {
  state.counters["templates_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * count), benchmark::Counter::kIsRate);
}

void BM_CatalogueDefaultSetWarm(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Library().Packages(count);
  Catalogue catalogue(count);
  catalogue.DefaultSet();  // fills the video thumbnail cache
  for (auto _ : state) {
    if (catalogue.DefaultSet() != static_cast<size_t>(count)) state.SkipWithError("entries missing");
  }
  SetRate(state, count);
}

void BM_CatalogueDefaultSetCold(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Library().Packages(count);
  Catalogue catalogue(count);
  for (auto _ : state) {
    state.PauseTiming();
    EmptyCache();
    state.ResumeTiming();
    if (catalogue.DefaultSet() != static_cast<size_t>(count)) state.SkipWithError("entries missing");
  }
  SetRate(state, count);
}

void BM_RawPass(benchmark::State& state) {
  const std::vector<fs::path>& packages = Library().Packages(static_cast<int>(state.range(0)));
  simdjson::dom::parser parser;
  std::string buffer;
  for (auto _ : state) {
    for (const fs::path& package : packages) {
      if (!RawReadAndParse(package, parser, buffer)) state.SkipWithError("unreadable package");
    }
  }
  SetRate(state, packages.size());
}

void BM_RawPassOnThePool(benchmark::State& state) {
  const std::vector<fs::path>& packages = Library().Packages(static_cast<int>(state.range(0)));
  constexpr size_t kPerChunk = 4;
  for (auto _ : state) {
    std::atomic<bool> failed{false};
    zorvcore::ExecuteCPUBoundTaskOnAllProcessors(
        [&](size_t chunk) {
          thread_local simdjson::dom::parser parser;
          thread_local std::string buffer;
          const size_t end = std::min(packages.size(), (chunk + 1) * kPerChunk);
          for (size_t i = chunk * kPerChunk; i < end; ++i) {
            if (!RawReadAndParse(packages[i], parser, buffer)) failed = true;
          }
        },
        (packages.size() + kPerChunk - 1) / kPerChunk);
    if (failed) state.SkipWithError("unreadable package");
  }
  SetRate(state, packages.size());
}

// Resident memory of this process: now and its peak since the last ResetPeakResident.
size_t ResidentKB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::strtoull(line.c_str() + std::strlen(field), nullptr, 10);
  }
  return 0;
}
bool ResetPeakResident() { return static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5"); }

void BM_CatalogueMemory(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Library().Packages(count);
  for (auto _ : state) {
    state.PauseTiming();
    ::malloc_trim(0);  // what earlier runs freed must not hide this one's growth
    const size_t before = ResidentKB("VmRSS:");
    if (!ResetPeakResident()) state.SkipWithError("cannot reset the peak resident size");
    state.ResumeTiming();
    Catalogue catalogue(count);
    if (catalogue.DefaultSet() != static_cast<size_t>(count)) state.SkipWithError("entries missing");
    const size_t peak = ResidentKB("VmHWM:");
    state.counters["peak_bytes_per_template"] =
        static_cast<double>(peak > before ? (peak - before) * 1024 : 0) / static_cast<double>(count);
  }
}

// Wall time for the rates: the listing runs on the worker pool, and opening packages is partly
// waiting on the file system. The CPU column is the whole process's (every thread), the work done
// whatever else the machine is busy with.
void Sizes(benchmark::internal::Benchmark* bench) {
  bench->Arg(1000)->Arg(10000)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
  bench->Repetitions(3)->DisplayAggregatesOnly(true);
}
BENCHMARK(BM_RawPass)->Apply(Sizes);
BENCHMARK(BM_RawPassOnThePool)->Apply(Sizes);
BENCHMARK(BM_CatalogueDefaultSetWarm)->Apply(Sizes);
BENCHMARK(BM_CatalogueDefaultSetCold)->Apply(Sizes);
BENCHMARK(BM_CatalogueMemory)->Apply(Sizes)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
