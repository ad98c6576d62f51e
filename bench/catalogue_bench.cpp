// Speed of the catalogue's default set in index mode over 1,000 and 10,000 template packages, in
// templates per second ("templates_per_s"), beside a raw pass over the same packages in the same run:
// libzip open, read "definition.json", simdjson parse, nothing else. The raw pass is the floor; the
// goal is the catalogue at no less than half its rate.
//
// The default set is what a host waits for: request, listing (walk, one package open per template,
// description parse, entry), index rebuild, sort, and the delivery pumped on this thread as the host's
// main thread. The warm runs find the video thumbnails in the cache, as every listing after the
// first does; the cold runs empty the cache before each listing, so every video thumbnail is
// extracted again. The raw pass runs on this thread alone and, as a second floor, spread over the
// worker pool the listing uses.
//
// The packages are generated once per process into a temporary folder, which is also the thumbnail
// cache's ($TMPDIR), and removed at exit. Each carries a description such as an authoring application
// writes (four languages, fonts, tags, source info, a handful of controls), a 20 KB still and a
// 120 KB video thumbnail and a 40 KB project, spread over 25 category folders.

#include <benchmark/benchmark.h>
#include <simdjson.h>
#include <stdlib.h>
#include <zip.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "capsule/capsule.h"
#include "capsule/capsule_json.h"
#include "capsule/control_factory.h"
#include "catalogue/graphic_source_manager.h"
#include "catalogue/local_graphics_source.h"
#include "host/core/executor.h"
#include "host/core/file_helper_utils.h"
#include "host/core/main_thread.h"
#include "host/hostbridge/source_info.h"
#include "host/hostbridge/source_text_font_edit_info.h"

namespace {

namespace fs = std::filesystem;
using zorvcapsule::Capsule;
using zorvcapsule::GraphicSourceManager;
using zorvcapsule::UIString;

constexpr int kCategories = 25;
constexpr size_t kStillBytes = 20 * 1024;
constexpr size_t kVideoBytes = 120 * 1024;
constexpr size_t kProjectBytes = 40 * 1024;

const char* const kTagWords[] = {
    "lower third", "title", "news", "corporate", "clean", "minimal", "sports", "social", "call out",
    "intro", "outro", "logo", "transition", "credits", "subscribe", "event", "wedding", "travel",
    "cinematic", "bold", "retro", "glitch", "neon", "elegant", "modern", "gradient", "kinetic", "map",
    "data", "chart", "countdown", "quote", "caption", "label", "frame", "badge", "ticker", "banner"};
const char* const kNameWords[] = {"Lower Third", "Title Card", "Call Out", "Caption", "Banner",
                                  "Ticker",      "Credits",    "Badge",    "Quote",   "Opener"};

std::string Noise(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

UIString Localized(const std::string& english) {
  UIString text;
  text.SetString(u"en_US", Wide(english));
  text.SetString(u"de_DE", Wide(english + " (de)"));
  text.SetString(u"fr_FR", Wide(english + " (fr)"));
  text.SetString(u"ja_JP", Wide(english + " (ja)"));
  return text;
}

std::string DescriptionOf(int n) {
  namespace factory = zorvcapsule::factory;
  const std::string name = std::string(kNameWords[n % std::size(kNameWords)]) + " " + std::to_string(n);
  auto capsule = std::make_shared<Capsule>(u"tssl", Wide(name), Wide("6F9619FF-8B86-D011-" + std::to_string(n)));
  capsule->SetAuthorID(u"studio@example.com");
  capsule->SetCapsuleNameLocalized(Localized(name));
  capsule->SetCapsuleDesc(u"An animated " + Wide(name) +
                          u" with two editable lines of text, an accent bar that follows the text's "
                          u"width and a soft shadow. Colours and timing can be changed in the panel.");
  capsule->SetPlatformSupport({"tssl", "flit"});
  capsule->SetUsedFonts({"SourceSans-Bold", "SourceSans-Regular", "Montserrat-Black"});
  capsule->SetUsedEffects({"blur", "glow", "fill", "drop shadow", "transform"});
  capsule->SetUsedFileTypes({"png"});
  std::vector<std::string> tags;
  for (int i = 0; i < 8; ++i) tags.push_back(kTagWords[(n * 7 + i * 5) % std::size(kTagWords)]);
  capsule->SetTags(tags);
  hostbridge::SourceInfo info;
  info.name = Wide(name);
  info.duration = hostbridge::MediaTime(1001 * (150 + n % 300), 30000);
  info.frame_rect.size = {1920, 1080};
  capsule->SetSourceInfo(info);
  const zorvcapsule::ControlProperties animated(true);
  hostbridge::SourceTextFontEditInfo font;
  font.font_editable = true;
  font.font_name = u"SourceSans-Bold";
  font.font_size_editable = true;
  font.font_size = 64;
  capsule->SetControls({
      factory::CreateStringControl(u"1", Localized("Headline"), {}, Localized(name), font),
      factory::CreateStringControl(u"2", Localized("Subline"), {}, Localized("Second line"), font),
      factory::CreateColorControl(u"3", Localized("Text colour"), animated, {1.0f, 1.0f, 1.0f, 1.0f}),
      factory::CreateColorControl(u"4", Localized("Bar colour"), animated, {0.9f, 0.2f, 0.1f, 1.0f}),
      factory::CreateSliderControl(u"5", Localized("Bar width"), animated, 0, 200, 100),
      factory::CreateCheckboxControl(u"6", Localized("Shadow"), {}, true),
  });
  return zorvcapsule::serialization::CapsuleToJson(capsule);
}

void WritePackage(const fs::path& path, int n, const std::string& still, const std::string& video,
                  const std::string& project) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr) return;
  const std::string description = DescriptionOf(n);
  // Images and video are compressed already, so packages store them as they are.
  auto add = [archive](const char* name, const std::string& bytes, bool store) {
    const zip_int64_t index =
        zip_file_add(archive, name, zip_source_buffer(archive, bytes.data(), bytes.size(), 0), 0);
    if (index >= 0 && store) zip_set_file_compression(archive, index, ZIP_CM_STORE, 0);
  };
  add("definition.json", description, false);
  add("thumb.png", still, true);
  add("thumb.mp4", video, true);
  add("project.tsgraphic/main.json", description, false);
  add("project.tsgraphic/media/assets.bin", project, true);
  zip_close(archive);
}

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
    const std::string still = Noise(kStillBytes, 1), video = Noise(kVideoBytes, 2), project = Noise(kProjectBytes, 3);
    for (int n = 0; n < count; ++n) {
      const fs::path folder = Folder(count) / ("Category " + std::to_string(n % kCategories));
      fs::create_directories(folder);
      const fs::path path = folder / ("template-" + std::to_string(n) + ".tplx");
      WritePackage(path, n, still, video, project);
      packages.push_back(path);
    }
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

void EmptyCache() {
  std::error_code error;
  for (const auto& file : fs::directory_iterator(Library().CacheFolder(), error)) fs::remove(file.path(), error);
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
          delivered_ = entries.size();
          ++deliveries_;
        }));
  }
  size_t DefaultSet() {
    const int before = deliveries_;
    manager_.RequestDefaultGraphicSet();
    while (deliveries_ == before) zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(100));
    return delivered_;
  }

 private:
  GraphicSourceManager manager_;
  size_t delivered_ = 0;
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

// The floor: what any reader of these packages must do.
bool RawReadAndParse(const fs::path& package, simdjson::dom::parser& parser, std::string& buffer) {
  int error = 0;
  zip_t* archive = zip_open(package.c_str(), ZIP_RDONLY, &error);
  if (archive == nullptr) return false;
  bool ok = false;
  zip_stat_t stat;
  if (zip_stat(archive, "definition.json", 0, &stat) == 0) {
    buffer.resize(stat.size);
    if (zip_file_t* member = zip_fopen(archive, "definition.json", 0)) {
      ok = zip_fread(member, buffer.data(), buffer.size()) == static_cast<zip_int64_t>(stat.size);
      zip_fclose(member);
    }
  }
  zip_discard(archive);
  return ok && parser.parse(buffer).error() == simdjson::SUCCESS;
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

// Wall time for the rates: the listing runs on the worker pool, and opening packages is partly
// waiting on the file system. The CPU column is the whole process's (every thread), the work done
// whatever else the machine is busy with.
void Sizes(benchmark::internal::Benchmark* bench) {
  bench->Arg(1000)->Arg(10000)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_RawPass)->Apply(Sizes);
BENCHMARK(BM_RawPassOnThePool)->Apply(Sizes);
BENCHMARK(BM_CatalogueDefaultSetWarm)->Apply(Sizes);
BENCHMARK(BM_CatalogueDefaultSetCold)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
