// The helper of bench/catalogue_speed: writes the bench packages and runs the raw pass as a whole
// process, so that the script can set it beside `capsule catalogue` on the same folder.
//
//   catalogue_speed_tool generate DIR COUNT   writes bench packages 0 to COUNT-1 below DIR
//   catalogue_speed_tool raw DIR              the raw pass over every package below DIR, one thread;
//                                             prints the number of packages read

#include <simdjson.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "bench/bench_packages.h"

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "generate" && argc == 4) {
    const int count = std::atoi(argv[3]);
    const size_t written = zorvbench::WriteBenchPackages(argv[2], count).size();
    std::cout << written << '\n';
    return written == static_cast<size_t>(count) ? 0 : 1;
  }
  if (command == "raw" && argc == 3) {
    simdjson::dom::parser parser;
    std::string buffer;
    size_t read = 0;
    for (const auto& package : zorvbench::FindPackages(argv[2])) {
      if (zorvbench::RawReadAndParse(package, parser, buffer)) ++read;
    }
    std::cout << read << '\n';
    return 0;
  }
  std::cerr << "usage: catalogue_speed_tool generate DIR COUNT | raw DIR\n";
  return 2;
}
