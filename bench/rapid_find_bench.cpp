// Speed of the search index as the catalogue uses it: filling it from scratch (clear, then ten
// words for each template), and answering word searches and similar-word requests on a large one.
//
// Goals: the 10,000-template fill within one second; a match or a similar-word request within two
// milliseconds at the median (the "median_ms" counter; the reported time is the mean).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "host/core/unicode.h"
#include "host/metadatadb/rapid_find_db.h"

namespace {

using zorvmetadatadb::DBMatchTerm;
using zorvmetadatadb::DBMenuItem;
using zorvmetadatadb::RapidFindDB;

const std::vector<std::u16string> kColumns = {u"nametable"};
constexpr int kVocabularySize = 4000;
constexpr int kFolders = 60;

// Made-up words built from syllables, so that prefixes are shared the way real words share them.
std::vector<std::u16string> MakeVocabulary() {
  const char* syllables[] = {"ka", "lo", "mi", "ra", "te", "su", "no", "vi", "be", "do",
                             "ga", "ri", "po", "ze", "lu", "fa", "ni", "to", "sha", "qu"};
  std::vector<std::u16string> words;
  std::mt19937 random(1);
  while (words.size() < kVocabularySize) {
    std::string word;
    const int length = 2 + static_cast<int>(random() % 3);
    for (int i = 0; i < length; ++i) word += syllables[random() % std::size(syllables)];
    words.push_back(zorvcore::UTF8ToUTF16(word));
  }
  return words;
}

const std::vector<std::u16string>& Vocabulary() {
  static const std::vector<std::u16string> words = MakeVocabulary();
  return words;
}

// Tags are skewed like real ones: a few are common, most are rare.
const std::u16string& SkewedWord(std::mt19937& random) {
  const double u = std::uniform_real_distribution<double>(0.0, 1.0)(random);
  return Vocabulary()[static_cast<size_t>(u * u * kVocabularySize)];
}

std::u16string Number(int n) { return zorvcore::UTF8ToUTF16(std::to_string(n)); }

// Ten rows per template: eight tags, its name and its folder, keyed by its path.
void FillIndex(RapidFindDB& db, int templates) {
  db.DeleteTable();
  db.UpdateTable(kColumns);
  std::mt19937 random(2);
  for (int t = 0; t < templates; ++t) {
    const std::u16string key = u"/Users/someone/Templates/folder" + Number(t % kFolders) +
                               u"/template" + Number(t) + u".tplx";
    for (int tag = 0; tag < 8; ++tag) db.InsertRow(key, {SkewedWord(random)});
    db.InsertRow(key, {SkewedWord(random) + u" " + SkewedWord(random) + u" " + Number(t)});
    db.InsertRow(key, {u"folder" + Number(t % kFolders)});
  }
  // A read commits the last batch, as the catalogue's first search after a rebuild does.
  std::vector<std::u16string> keys;
  db.Match({}, zorvmetadatadb::kDBMatchAll, keys);
}

class TempIndexFile {
 public:
  TempIndexFile() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zorv_rapid_find_bench_XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
  }
  ~TempIndexFile() {
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
  }
  std::u16string path() const { return zorvcore::UTF8ToUTF16((folder_ / "index.db").string()); }

 private:
  std::filesystem::path folder_;
};

// The index of 100,000 templates, built once per process.
RapidFindDB& LargeIndex() {
  static TempIndexFile file;
  static std::unique_ptr<RapidFindDB> db = [] {
    auto index = std::make_unique<RapidFindDB>();
    index->Open(file.path());
    index->SetSynchronousMode(false);
    FillIndex(*index, 100000);
    return index;
  }();
  return *db;
}

// Runs `request` once per iteration and reports the median latency beside the mean.
template <typename Request>
void MeasureRequests(benchmark::State& state, Request request) {
  std::vector<double> latencies;
  size_t results = 0;
  size_t index = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    results += request(index++);
    latencies.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::nth_element(latencies.begin(), latencies.begin() + latencies.size() / 2, latencies.end());
  state.counters["median_ms"] = latencies[latencies.size() / 2];
  state.counters["results"] = static_cast<double>(results) / static_cast<double>(latencies.size());
}

void BM_Fill10000Templates(benchmark::State& state) {
  TempIndexFile file;
  RapidFindDB db;
  db.Open(file.path());
  db.SetSynchronousMode(false);  // as the catalogue opens it
  for (auto _ : state) FillIndex(db, 10000);
  state.SetItemsProcessed(state.iterations() * 10000 * 10);
}
BENCHMARK(BM_Fill10000Templates)->Unit(benchmark::kMillisecond)->Iterations(5);

// The words users look for, drawn like the tags themselves.
std::vector<std::u16string> QueryWords(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::u16string> words;
  for (int i = 0; i < count; ++i) words.push_back(SkewedWord(random));
  return words;
}

void BM_MatchOneWord(benchmark::State& state) {
  RapidFindDB& db = LargeIndex();
  const std::vector<std::u16string> words = QueryWords(256, 3);
  MeasureRequests(state, [&](size_t i) {
    std::vector<std::u16string> keys;
    db.Match({{words[i % words.size()], kColumns}}, zorvmetadatadb::kDBMatchAll, keys);
    return keys.size();
  });
}
BENCHMARK(BM_MatchOneWord)->Unit(benchmark::kMicrosecond);

void BM_MatchThreeWords(benchmark::State& state) {
  RapidFindDB& db = LargeIndex();
  const std::vector<std::u16string> words = QueryWords(768, 4);
  MeasureRequests(state, [&](size_t i) {
    const size_t at = (i * 3) % words.size();
    std::vector<DBMatchTerm> terms = {
        {words[at], kColumns}, {words[at + 1], kColumns}, {words[at + 2], kColumns}};
    std::vector<std::u16string> keys;
    db.Match(terms, zorvmetadatadb::kDBMatchAll, keys);
    return keys.size();
  });
}
BENCHMARK(BM_MatchThreeWords)->Unit(benchmark::kMicrosecond);

// What a user has typed so far: the first two to four letters of a word.
void BM_SimilarList(benchmark::State& state) {
  RapidFindDB& db = LargeIndex();
  std::vector<std::u16string> prefixes;
  for (const std::u16string& word : QueryWords(256, 5)) {
    prefixes.push_back(word.substr(0, 2 + prefixes.size() % 3));
  }
  MeasureRequests(state, [&](size_t i) {
    std::vector<DBMenuItem> items;
    db.GetSimilarList(prefixes[i % prefixes.size()], 100, kColumns, items, false);
    return items.size();
  });
}
BENCHMARK(BM_SimilarList)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
