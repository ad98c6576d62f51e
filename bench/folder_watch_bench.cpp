// How soon a package copied into a watched folder shows: from the end of the copy (the file closed)
// to the watcher's report on the main thread ("report"), and to the catalogue's new default set
// delivered to the host ("catalogue", the report plus the rebuild), with the default watcher
// settings. Beside them, the rebuild alone ("rebuild"), requested by hand, over the same folder.
//
// The folder holds 24 generated sample templates in subfolders; each iteration copies one of them
// under a new name into a new subfolder. Times are wall-clock milliseconds per iteration, measured
// by hand around the copy and the wait (UseManualTime). The thumbnail cache ($TMPDIR) and the
// folder live in a temporary folder removed at exit.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "catalogue/graphic_source_manager.h"
#include "catalogue/local_folder_watch.h"
#include "catalogue/local_graphics_source.h"
#include "host/core/file_helper_utils.h"
#include "host/core/main_thread.h"
#include "host/core/unicode.h"
#include "host/watch/folder_watcher.h"
#include "samples/sample_templates.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using zorvcapsule::GraphicSourceManager;

constexpr size_t kSamples = 24;

// The templates folder with its samples, made once per process.
class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "folder-watch-bench-XXXXXX").native();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    fs::create_directories(root_ / "tmp");
    ::setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    const auto set = zorvsamples::WriteSampleTemplates(U16(Templates()), kSamples, zorvsamples::kDefaultSampleSeed);
    if (!set.ok || set.templates.empty()) std::abort();
    sample_ = zorvcore::FileHelperUtils::UTF16ToStdPath(set.templates.front().path);
  }
  ~Folder() {
    std::error_code error;
    fs::remove_all(root_, error);
  }
  fs::path Templates() const { return root_ / "templates"; }
  fs::path Index() const { return root_ / "index.db"; }
  const fs::path& Sample() const { return sample_; }

  // Copies the sample into a new subfolder as a copying program does, and returns the new path.
  fs::path CopyOne() {
    const fs::path target = Templates() / ("Copied " + std::to_string(copies_)) / ("copy " + std::to_string(copies_) + ".tplx");
    ++copies_;
    fs::create_directories(target.parent_path());
    std::ifstream in(sample_, std::ios::binary);
    std::ofstream(target, std::ios::binary) << in.rdbuf();
    return target;
  }

  static std::u16string U16(const fs::path& path) { return zorvcore::FileHelperUtils::StdPathToUTF16(path); }

 private:
  fs::path root_;
  fs::path sample_;
  int copies_ = 0;
};

Folder& TheFolder() {
  static Folder folder;
  return folder;
}

double Milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

void BM_ReportAfterCopy(benchmark::State& state) {
  Folder& folder = TheFolder();
  int reports = 0;
  zorvwatch::FolderWatcher watcher([&](const zorvwatch::FolderChange&) { ++reports; });
  watcher.SetFolders({{Folder::U16(folder.Templates()), true}});
  for (auto _ : state) {
    const int before = reports;
    folder.CopyOne();
    const auto copied = Clock::now();
    while (reports == before) zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(1000));
    state.SetIterationTime(Milliseconds(Clock::now() - copied) / 1000.0);
  }
}

// A manager over the folder with its local callback counting deliveries and keeping the last set.
struct Catalogue {
  explicit Catalogue(Folder& folder) : manager(Folder::U16(folder.Index())) {
    source = std::make_shared<zorvcapsule::LocalGraphicsSource>(Folder::U16(folder.Templates()),
                                                                zorvcapsule::LocalGraphicsSource::FolderList{});
    manager.AddGraphicSource(source);
    manager.SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
        [this](GraphicSourceManager::EntryVector& entries, int32_t, int32_t) {
          last = entries;
          ++deliveries;
        }));
  }
  ~Catalogue() { manager.Shutdown(); }

  bool Holds(const fs::path& path) const {
    const std::u16string wanted = Folder::U16(path);
    for (const auto& entry : last) {
      if (entry->path == wanted) return true;
    }
    return false;
  }
  void WaitForDelivery(int before) {
    while (deliveries == before) zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(1000));
  }

  GraphicSourceManager manager;
  std::shared_ptr<zorvcapsule::LocalGraphicsSource> source;
  GraphicSourceManager::EntryVector last;
  int deliveries = 0;
};

void BM_CatalogueAfterCopy(benchmark::State& state) {
  Folder& folder = TheFolder();
  Catalogue catalogue(folder);
  zorvcapsule::LocalFolderWatch watch(catalogue.manager, catalogue.source);
  catalogue.manager.RequestDefaultGraphicSet();
  catalogue.WaitForDelivery(0);
  for (auto _ : state) {
    const fs::path copy = folder.CopyOne();
    const auto copied = Clock::now();
    while (!catalogue.Holds(copy)) zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(1000));
    state.SetIterationTime(Milliseconds(Clock::now() - copied) / 1000.0);
  }
  state.counters["templates"] = static_cast<double>(catalogue.last.size());
}

void BM_RebuildAlone(benchmark::State& state) {
  Catalogue catalogue(TheFolder());
  catalogue.manager.RequestDefaultGraphicSet();
  catalogue.WaitForDelivery(0);
  for (auto _ : state) {
    const int before = catalogue.deliveries;
    const auto asked = Clock::now();
    catalogue.manager.LocalDirectoryChanged(false, {});
    catalogue.WaitForDelivery(before);
    state.SetIterationTime(Milliseconds(Clock::now() - asked) / 1000.0);
  }
  state.counters["templates"] = static_cast<double>(catalogue.last.size());
}

BENCHMARK(BM_ReportAfterCopy)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_CatalogueAfterCopy)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_RebuildAlone)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
