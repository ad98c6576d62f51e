// capsule: the command-line host of the template library. Each command goes through the library's
// exported interface the way an editing application does; see the *_command.h files.

#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "tools/catalogue_command.h"
#include "tools/exit_status.h"
#include "tools/extract_command.h"
#include "tools/info_command.h"
#include "tools/samples_command.h"

namespace capsuletool {
namespace {

constexpr size_t kMaxSampleCount = 1000000;

struct Options {
  InfoOptions info;
  CatalogueOptions catalogue;
  ExtractOptions extract;
  SamplesOptions samples;
  std::string catalogueDir, catalogueIndex, catalogueSimilar, catalogueLibraries;
};

CLI::App* AddInfo(CLI::App& app, Options& options) {
  CLI::App* info = app.add_subcommand("info", "Show what a template package holds");
  info->add_option("PACKAGE", options.info.package, "The template package (.tplx)")->required();
  info->add_flag("--json", options.info.json, "Print the description as the library writes it");
  return info;
}

CLI::App* AddCatalogue(CLI::App& app, Options& options) {
  CLI::App* catalogue = app.add_subcommand(
      "catalogue", "List and search the templates of a folder (without DIR: generated sample templates)");
  catalogue->add_option("DIR", options.catalogueDir, "The templates folder, listed with all its subfolders");
  catalogue->add_option("--folder", options.catalogue.folders, "Also list the templates of PATH, shown as NAME")
      ->type_name("NAME=PATH")
      ->allow_extra_args(false);
  catalogue->add_option("--index", options.catalogueIndex, "Keep the search index in FILE (default: a temporary folder)")
      ->type_name("FILE");
  catalogue->add_option("--search", options.catalogue.search, "Find the templates matching WORD (repeat for more words)")
      ->type_name("WORD")
      ->allow_extra_args(false);
  catalogue->add_option("--similar", options.catalogueSimilar, "Find the tags similar to WORD")->type_name("WORD");
  catalogue->add_option("--libraries", options.catalogueLibraries,
                        "Also list the templates of the cloud libraries kept in ROOT")
      ->type_name("ROOT");
  catalogue->add_flag("--thumbnails", options.catalogue.thumbnails, "Fetch every template's still thumbnail");
  catalogue->add_flag("--json", options.catalogue.json, "Print one JSON object instead of a table");
  return catalogue;
}

CLI::App* AddExtract(CLI::App& app, Options& options) {
  CLI::App* extract = app.add_subcommand("extract", "Extract a template's project package into a folder");
  extract->add_option("PACKAGE", options.extract.package, "The template package (.tplx)")->required();
  extract->add_option("--into", options.extract.into, "The folder to extract into")->type_name("DIR")->required();
  extract->add_option("--name", options.extract.name, "The name of the project folder to make")
      ->type_name("NAME")
      ->required();
  return extract;
}

CLI::App* AddSamples(CLI::App& app, Options& options) {
  CLI::App* samples = app.add_subcommand("samples", "Write generated sample template packages");
  samples->add_option("OUTDIR", options.samples.outDir, "The folder to write them into")->required();
  samples->add_option("--count", options.samples.count, "How many packages to write")
      ->type_name("N")
      ->capture_default_str()
      ->check(CLI::Range(size_t{0}, kMaxSampleCount));
  samples->add_option("--seed", options.samples.seed, "The seed of the generator; one seed, one set")
      ->type_name("S")
      ->capture_default_str();
  return samples;
}

// CLI11 reports errors in its own way and with its own exit codes; capsule speaks one line and
// exits with 2 for any misuse.
int ReportParseError(const CLI::App& app, const CLI::ParseError& error) {
  if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
  PrintError(std::cerr, std::string(), std::string(error.what()) + " (see capsule --help)");
  return kExitUsage;
}

int Run(int argc, char** argv) {
  CLI::App app("capsule: work with motion-graphics template packages", "capsule");
  app.set_version_flag("--version", std::string("capsule ") + ZORVCAPSULE_VERSION);
  app.require_subcommand(1);
  Options options;
  CLI::App* info = AddInfo(app, options);
  CLI::App* catalogue = AddCatalogue(app, options);
  CLI::App* extract = AddExtract(app, options);
  CLI::App* samples = AddSamples(app, options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return ReportParseError(app, error);
  }
  if (info->parsed()) return RunInfoCommand(options.info, std::cout, std::cerr);
  if (extract->parsed()) return RunExtractCommand(options.extract, std::cout, std::cerr);
  if (samples->parsed()) return RunSamplesCommand(options.samples, std::cout, std::cerr);
  if (catalogue->parsed()) {
    if (catalogue->count("DIR") > 0) options.catalogue.dir = options.catalogueDir;
    if (catalogue->count("--index") > 0) options.catalogue.index = options.catalogueIndex;
    if (catalogue->count("--similar") > 0) options.catalogue.similar = options.catalogueSimilar;
    if (catalogue->count("--libraries") > 0) options.catalogue.libraries = options.catalogueLibraries;
    return RunCatalogueCommand(options.catalogue, std::cout, std::cerr);
  }
  return kExitUsage;
}

}  // namespace
}  // namespace capsuletool

int main(int argc, char** argv) {
  // The commands report failures as results; anything thrown past them is a fault of this program,
  // and still gets one line and the failure status rather than an abort.
  try {
    return capsuletool::Run(argc, argv);
  } catch (const std::exception& e) {
    capsuletool::PrintError(std::cerr, std::string(), std::string("unexpected error: ") + e.what());
  } catch (...) {
    capsuletool::PrintError(std::cerr, std::string(), "unexpected error");
  }
  return capsuletool::kExitFailed;
}
