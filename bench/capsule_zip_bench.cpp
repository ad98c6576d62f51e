// Speed of opening a template package and reading its description, for a small package (about
// 10 KB) and a large one (about 5 MB, most of it project media), in packages per second. Beside each,
// the same open-and-read done with libzip alone, so the archive layer's overhead shows.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "host/core/file_helper_utils.h"
#include "bench/bench_packages.h"
#include "package/capsule_zip.h"

namespace {

namespace fs = std::filesystem;

std::string Description() {
  std::string json = "{\"apiVersion\":\"1.4\",\"capsuleID\":\"bench\",\"tags\":[";
  for (int i = 0; i < 60; ++i) json += (i ? ",\"tag " : "\"tag ") + std::to_string(i) + "\"";
  return json + "],\"name\":{\"strDB\":[{\"localeString\":\"en_US\",\"str\":\"Lower third\"}]}}";
}

void WritePackage(const fs::path& path, size_t mediaBytes) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  const std::string description = Description();
  const std::string thumb = zorvbench::IncompressibleBytes(9 * 1024, 1);
  const std::string media = zorvbench::IncompressibleBytes(mediaBytes, 2);
  auto add = [archive](const char* name, const std::string& bytes) {
    zip_file_add(archive, name, zip_source_buffer(archive, bytes.data(), bytes.size(), 0), 0);
  };
  add("definition.json", description);
  add("thumb.png", thumb);
  add("project.tsgraphic/main.json", description);
  if (mediaBytes > 0) add("project.tsgraphic/media/clip.mov", media);
  zip_close(archive);
}

// The two packages, made once and removed when the program ends.
class Packages {
 public:
  Packages() {
    std::string pattern = (fs::temp_directory_path() / "capsule-zip-bench-XXXXXX").native();
    folder_ = ::mkdtemp(pattern.data());
    WritePackage(folder_ / "small.tplx", 0);
    WritePackage(folder_ / "large.tplx", 5 * 1024 * 1024);
  }
  ~Packages() {
    std::error_code error;
    fs::remove_all(folder_, error);
  }
  fs::path Path(int which) const { return folder_ / (which == 0 ? "small.tplx" : "large.tplx"); }

 private:
  fs::path folder_;
};

const Packages& TestPackages() {
  static const Packages packages;
  return packages;
}

void SetLabel(benchmark::State& state, const fs::path& package) {
  state.SetLabel(std::to_string(fs::file_size(package) / 1024) + " KB package");
}

void BM_CapsuleZipOpenAndReadDescription(benchmark::State& state) {
  const fs::path package = TestPackages().Path(static_cast<int>(state.range(0)));
  const std::u16string path = zorvcore::FileHelperUtils::StdPathToUTF16(package);
  for (auto _ : state) {
    const zorvcapsule::CapsuleZip zip(path, "");
    std::u16string description = zip.GetTPLXDescriptionJSON();
    if (description.empty()) state.SkipWithError("no description");
    benchmark::DoNotOptimize(description);
  }
  state.SetItemsProcessed(state.iterations());
  SetLabel(state, package);
}

void BM_RawLibzipOpenAndReadDescription(benchmark::State& state) {
  const fs::path package = TestPackages().Path(static_cast<int>(state.range(0)));
  std::vector<char> buffer;
  for (auto _ : state) {
    int error = 0;
    zip_t* archive = zip_open(package.c_str(), ZIP_RDONLY, &error);
    const zip_int64_t index = zip_name_locate(archive, "definition.json", 0);
    zip_stat_t stat;
    zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat);
    buffer.resize(stat.size);
    zip_file_t* member = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    const zip_int64_t read = zip_fread(member, buffer.data(), buffer.size());
    zip_fclose(member);
    zip_discard(archive);
    if (read != static_cast<zip_int64_t>(stat.size)) state.SkipWithError("short read");
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetItemsProcessed(state.iterations());
  SetLabel(state, package);
}

// Argument 0: the 10 KB package; 1: the 5 MB package. Wall time, since opening a package is mostly
// waiting on the file system.
BENCHMARK(BM_CapsuleZipOpenAndReadDescription)->Arg(0)->Arg(1)->UseRealTime();
BENCHMARK(BM_RawLibzipOpenAndReadDescription)->Arg(0)->Arg(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
