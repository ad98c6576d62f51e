// The template packages the catalogue benchmarks measure, and the raw pass they are measured against.
//
// A bench package is about 55 KB: a 12 KB description such as an authoring application writes
// (four languages, fonts, tags, source info and 30 controls of the common kinds), a 12 KB still
// thumbnail (a PNG) and a 24 KB video thumbnail, and a project package of a few members. Packages
// are spread over 25 category folders ("Category 7/template-32.tplx"). A given index always gives
// the same package.
//
// The raw pass is what any reader of these packages must do at least, and nothing more: open the
// zip with libzip, read "definition.json", parse it with simdjson. It builds no record.
//
// Thread safety: the functions keep no state; RawReadAndParse's parser and buffer are the caller's,
// one pair per thread.

#ifndef ZORVCAPSULE_BENCH_BENCH_PACKAGES_H_
#define ZORVCAPSULE_BENCH_BENCH_PACKAGES_H_

#include <simdjson.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zorvbench {

// The description of bench package `index` (UTF-8 JSON).
std::string BenchDescription(int index);

// Writes packages 0 to count-1 below `folder` (made when missing), replacing packages of the same
// names; returns their paths in index order. A package that cannot be written is left out.
std::vector<std::filesystem::path> WriteBenchPackages(const std::filesystem::path& folder, int count);

// The ".tplx" files below `folder`, in the order a recursive directory walk gives.
std::vector<std::filesystem::path> FindPackages(const std::filesystem::path& folder);

// Opens `package`, reads "definition.json" into `buffer` and parses it; false when any step fails.
bool RawReadAndParse(const std::filesystem::path& package, simdjson::dom::parser& parser, std::string& buffer);

// `size` bytes that do not compress (thumbnails and media are compressed already), the same for the
// same seed.
std::string IncompressibleBytes(size_t size, uint32_t seed);

}  // namespace zorvbench

#endif  // ZORVCAPSULE_BENCH_BENCH_PACKAGES_H_
