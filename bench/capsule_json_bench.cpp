// Speed of reading and writing "definition.json": a typical small description, and a large one
// whose every list (platform support, used fonts per locale, effects, renderers, file types, tags
// and the localized name) holds 2000 elements, so that each list takes the worker-pool path.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "capsule/capsule.h"
#include "capsule/capsule_json.h"
#include "capsule/description_test_material.h"

namespace {

using zorvcapsule::Capsule;
using zorvcapsule::UIString;

std::vector<std::string> Numbered(const std::string& prefix, int count) {
  std::vector<std::string> list;
  list.reserve(count);
  for (int i = 0; i < count; ++i) list.push_back(prefix + "-" + std::to_string(i));
  return list;
}

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::shared_ptr<Capsule> SmallCapsule() {
  auto capsule = std::make_shared<Capsule>(u"tssl", u"Lower Third", u"6F9619FF-8B86-D011-B42D");
  capsule->SetAuthorID(u"studio@example.com");
  capsule->SetCapsuleDesc(u"A two-line lower third with an animated accent bar.");
  UIString names;
  names.SetString(u"de_DE", u"Bauchbinde");
  names.SetString(u"en_US", u"Lower Third");
  names.SetString(u"fr_FR", u"Tiers inf\u00e9rieur");
  capsule->SetCapsuleNameLocalized(names);
  capsule->SetPlatformSupport({"tssl", "flit"});
  capsule->SetUsedFontsVector({{u"en_US", {"SourceSans-Bold", "SourceSans-Regular"}}});
  capsule->SetUsedEffects({"blur", "glow", "fill"});
  capsule->SetUsedFileTypes({"png"});
  capsule->SetTags({"lower third", "title", "news", "corporate", "clean", "minimal"});
  capsule->SetSourceInfo({});
  return capsule;
}

std::shared_ptr<Capsule> LargeCapsule() {
  const int kCount = 2000;
  auto capsule = SmallCapsule();
  UIString names;
  for (const std::string& locale : Numbered("xx", kCount)) names.SetString(Wide(locale), u"Name");
  capsule->SetCapsuleNameLocalized(names);
  capsule->SetPlatformSupport(Numbered("platform", kCount));
  capsule->SetUsedFontsVector(
      {{u"en_US", Numbered("Font", kCount)}, {u"ja_JP", Numbered("JapaneseFont", kCount)}});
  capsule->SetUsedEffects(Numbered("effect", kCount));
  capsule->SetUsedCompRenderers(Numbered("renderer", kCount));
  capsule->SetUsedFileTypes(Numbered("type", kCount));
  capsule->SetTags(Numbered("tag", kCount));
  return capsule;
}

void ReadBench(benchmark::State& state, const std::shared_ptr<Capsule>& capsule) {
  const std::string text = zorvcapsule::serialization::CapsuleToJson(capsule);
  for (auto _ : state) {
    benchmark::DoNotOptimize(zorvcapsule::serialization::CapsuleFromJson(text));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["doc_bytes"] = static_cast<double>(text.size());
}

void WriteBench(benchmark::State& state, const std::shared_ptr<Capsule>& capsule) {
  size_t bytes = 0;
  for (auto _ : state) {
    std::string text = zorvcapsule::serialization::CapsuleToJson(capsule);
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["doc_bytes"] = static_cast<double>(bytes);
}

void BM_CapsuleFromJsonSmall(benchmark::State& state) { ReadBench(state, SmallCapsule()); }
void BM_CapsuleToJsonSmall(benchmark::State& state) { WriteBench(state, SmallCapsule()); }
void BM_CapsuleFromJsonFull(benchmark::State& state) {
  ReadBench(state, zorvcapsule::testing::MakeFullDescription());
}
void BM_CapsuleToJsonFull(benchmark::State& state) {
  WriteBench(state, zorvcapsule::testing::MakeFullDescription());
}
void BM_CapsuleFromJsonLists2000(benchmark::State& state) { ReadBench(state, LargeCapsule()); }
void BM_CapsuleToJsonLists2000(benchmark::State& state) { WriteBench(state, LargeCapsule()); }

BENCHMARK(BM_CapsuleFromJsonSmall);
BENCHMARK(BM_CapsuleToJsonSmall);
BENCHMARK(BM_CapsuleFromJsonFull);
BENCHMARK(BM_CapsuleToJsonFull);
BENCHMARK(BM_CapsuleFromJsonLists2000)->UseRealTime();
BENCHMARK(BM_CapsuleToJsonLists2000)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
