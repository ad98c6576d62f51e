// Speed of the host JSON model against the parser underneath it, on a generated description-like
// document of about 1 MB: many control objects with localized names, nested source records with
// arrays of numbers, and lists of tags.

#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <cstdint>
#include <string>

#include "host/core/json_parse.h"
#include "host/core/json_write.h"

namespace {

using namespace zorvcore::serialization;

// Small deterministic generator, so every run measures the same document.
class Numbers {
 public:
  uint32_t Next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state_ >> 33);
  }
  double Fraction() { return Next() / 2147483648.0; }

 private:
  uint64_t state_ = 42;
};

void AppendLocalizedName(Numbers& numbers, const std::string& base, std::string& out) {
  static const char* const kLocales[] = {"de_DE", "en_US", "fr_FR", "ja_JP"};
  out += "{\"strDB\":[";
  for (int i = 0; i < 4; ++i) {
    if (i > 0) out += ',';
    out += "{\"localeString\":\"";
    out += kLocales[i];
    out += "\",\"str\":\"" + base + " " + std::to_string(numbers.Next() % 1000) + " caf\xC3\xA9\"}";
  }
  out += "]}";
}

void AppendControl(Numbers& numbers, int index, std::string& out) {
  out += "{\"type\":" + std::to_string(1 + numbers.Next() % 12);
  out += ",\"id\":\"" + std::to_string(numbers.Next()) + "-" + std::to_string(index) + "\"";
  out += ",\"uiName\":";
  AppendLocalizedName(numbers, "Control", out);
  out += ",\"canAnimate\":true,\"hidden\":false";
  out += ",\"min\":0.0,\"max\":" + std::to_string(numbers.Next() % 500) + ".5";
  out += ",\"value\":[" + std::to_string(numbers.Fraction()) + "," +
         std::to_string(numbers.Fraction()) + "," + std::to_string(numbers.Fraction()) + ",1.0]";
  out += ",\"fonteditinfo\":{\"fontName\":\"Sans-Regular\",\"fontSize\":" +
         std::to_string(numbers.Next() % 96) + ",\"tracking\":-0.25}}";
}

void AppendSourceInfo(Numbers& numbers, std::string& out) {
  out += "{\"frameRate\":{\"numerator\":30000,\"denominator\":1001},\"duration\":" +
         std::to_string(numbers.Next()) + ",\"size\":[1920,1080],\"markers\":[";
  for (int i = 0; i < 64; ++i) {
    if (i > 0) out += ',';
    out += std::to_string(numbers.Fraction() * 1000.0);
  }
  out += "],\"audio\":{\"channels\":2,\"sampleRate\":48000,\"layout\":\"stereo\"}}";
}

std::string MakeDocument() {
  Numbers numbers;
  std::string out =
      "{\"apiVersion\":\"1.4\",\"capsuleID\":\"6f1c2f0e-0000-4000-8000-00000000000a\"";
  out += ",\"capsuleNameLocalized\":";
  AppendLocalizedName(numbers, "Title", out);
  out += ",\"sourceInfoLocalized\":{";
  for (int i = 0; i < 8; ++i) {
    if (i > 0) out += ',';
    out += "\"locale" + std::to_string(i) + "\":";
    AppendSourceInfo(numbers, out);
  }
  out +=
      "},\"tags\":[\"lower third\",\"title\",\"news\",\"modern\",\"clean\"],\"clientControls\":[";
  for (int index = 0; out.size() < (1u << 20); ++index) {
    if (index > 0) out += ',';
    AppendControl(numbers, index, out);
  }
  out += "]}";
  // Room for the parser's padding, so that neither benchmark pays for a padded copy.
  out.reserve(out.size() + simdjson::SIMDJSON_PADDING);
  return out;
}

const std::string& Document() {
  static const std::string document = MakeDocument();
  return document;
}

void BM_SimdjsonDomParse(benchmark::State& state) {
  const std::string& text = Document();
  simdjson::dom::parser parser;
  for (auto _ : state) {
    simdjson::dom::element root;
    if (parser.parse(text).get(root) != simdjson::SUCCESS) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(root);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SimdjsonDomParse);

// Parse and conversion into the model: the figure to hold against the raw parse above.
void BM_JSONParse(benchmark::State& state) {
  const std::string& text = Document();
  for (auto _ : state) {
    JSONValuePtr root = JSONParse(text);
    if (!root) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(root.get());
    state.PauseTiming();
    root.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_JSONParse);

// The whole round a caller pays for: parse, convert and release the model again.
void BM_JSONParseAndRelease(benchmark::State& state) {
  const std::string& text = Document();
  for (auto _ : state) {
    JSONValuePtr root = JSONParse(text);
    if (!root) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(root.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_JSONParseAndRelease);

void BM_GetJSONUTF8String(benchmark::State& state) {
  const JSONValuePtr root = JSONParse(Document());
  size_t written = 0;
  for (auto _ : state) {
    const std::string text = GetJSONUTF8String(root, false);
    written = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * written));
}
BENCHMARK(BM_GetJSONUTF8String);

void BM_GetJSONString(benchmark::State& state) {
  const JSONValuePtr root = JSONParse(Document());
  size_t written = 0;
  for (auto _ : state) {
    const std::u16string text = GetJSONString(root, false);
    written = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * written));
}
BENCHMARK(BM_GetJSONString);

}  // namespace

BENCHMARK_MAIN();
