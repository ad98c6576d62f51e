// capsule: the command-line host of the template library. Each command goes through the library's
// exported interface the way an editing application does; see the *_command.h files.

#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "host/net/curl_global.h"
#include "tools/catalogue_command.h"
#include "tools/exit_status.h"
#include "tools/extract_command.h"
#include "tools/gallery_command.h"
#include "tools/host_settings.h"
#include "tools/info_command.h"
#include "tools/samples_command.h"
#include "tools/stock_download_command.h"
#include "tools/stock_licence_command.h"
#include "tools/stock_search_command.h"
#include "tools/stock_serve_command.h"

namespace capsuletool {
namespace {

constexpr size_t kMaxSampleCount = 1000000;

struct Options {
  InfoOptions info;
  CatalogueOptions catalogue;
  ExtractOptions extract;
  SamplesOptions samples;
  StockSearchOptions stockSearch;
  StockLicenceOptions stockLicence;
  StockDownloadOptions stockDownload;
  GalleryOptions gallery;
  std::string galleryTitle, galleryLibraries;
  StockServeOptions stockServe;
  std::string stockServeState;
  std::vector<std::string> settings;
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
  catalogue->add_flag("--watch", options.catalogue.watch,
                      "Keep running and print what changes in the folders, until interrupted");
  return catalogue;
}

CLI::App* AddGallery(CLI::App& app, Options& options) {
  CLI::App* gallery = app.add_subcommand("gallery", "Write the catalogue of a folder as a web page");
  gallery->add_option("DIR", options.gallery.dir, "The templates folder, listed with all its subfolders")->required();
  gallery->add_option("--folder", options.gallery.folders, "Also list the templates of PATH, shown as NAME")
      ->type_name("NAME=PATH")
      ->allow_extra_args(false);
  gallery->add_option("--libraries", options.galleryLibraries, "Also list the templates of the cloud libraries kept in ROOT")
      ->type_name("ROOT");
  gallery->add_option("--out", options.gallery.out, "The folder to write the site into (made or updated)")
      ->type_name("SITE")
      ->required();
  gallery->add_option("--title", options.galleryTitle, "The page's title (default: the name of DIR)")->type_name("TEXT");
  return gallery;
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

void AddStockIdentity(CLI::App& command, StockIdentityOptions& identity) {
  command.add_option("--connection", identity.connectionFile, "The connection record, a JSON object")
      ->type_name("FILE");
  command.add_option("--client-id", identity.clientId, "The client identifier given to the identity service")
      ->type_name("ID");
  command.add_option("--token", identity.token, std::string("An access token (default: $") + kStockTokenVariable + ")")
      ->type_name("TOKEN");
  command.add_option("--credential", identity.credential,
                     std::string("The user credential exchanged for a token (default: $") + kStockCredentialVariable +
                         ")")
      ->type_name("TEXT");
}

struct StockCommands {
  CLI::App* search;
  CLI::App* licence;
  CLI::App* download;
  CLI::App* serve;
};

CLI::App* AddStockServe(CLI::App& stock, Options& options) {
  constexpr int64_t kMaxLatencyMs = 600000;
  CLI::App* serve = stock.add_subcommand("serve", "Serve a folder's templates as the stock service on 127.0.0.1");
  serve->add_option("FOLDER", options.stockServe.folder, "The templates folder, listed with all its subfolders")
      ->required();
  serve->add_option("--port", options.stockServe.port, "The port to listen on (default: a free one)")
      ->type_name("N")
      ->check(CLI::Range(0, 65535));
  serve->add_option("--state", options.stockServeState, "Keep the certificate and account files in DIR")
      ->type_name("DIR");
  serve->add_option("--latency", options.stockServe.latencyMs, "Delay every answer by MS milliseconds")
      ->type_name("MS")
      ->check(CLI::Range(int64_t{0}, kMaxLatencyMs));
  serve->add_option("--fail-rate", options.stockServe.failRate, "Answer this fraction of the account's requests with 503")
      ->type_name("P")
      ->check(CLI::Range(0.0, 1.0));
  serve->add_option("--seed", options.stockServe.seed, "The seed that picks the failing requests")
      ->type_name("S")
      ->capture_default_str();
  return serve;
}

StockCommands AddStock(CLI::App& app, Options& options) {
  CLI::App* stock = app.add_subcommand("stock", "Search, license and download templates of the stock service");
  stock->require_subcommand(1);

  CLI::App* search = stock->add_subcommand("search", "Search the stock service (without words: its default set)");
  search->add_option("WORD", options.stockSearch.words, "The words to search for");
  search->add_option("--filter", options.stockSearch.filter, "all, premium (true) or free (false) templates")
      ->check(CLI::IsMember({"all", "true", "false"}))
      ->capture_default_str();
  search->add_flag("--thumbnails", options.stockSearch.thumbnails, "Cache each template's description and thumbnail");
  search->add_flag("--previews", options.stockSearch.previews, "Download each template's preview video");
  search->add_flag("--json", options.stockSearch.json, "Print one JSON object instead of a table");
  AddStockIdentity(*search, options.stockSearch.identity);

  CLI::App* licence = stock->add_subcommand("licence", "Show what the account allows for a stock template");
  licence->add_option("ID", options.stockLicence.id, "The template's asset ID")->required();
  licence->add_flag("--json", options.stockLicence.json, "Print one JSON object");
  AddStockIdentity(*licence, options.stockLicence.identity);

  CLI::App* download = stock->add_subcommand("download", "Download a stock template's package");
  download->add_option("ID", options.stockDownload.id, "The template's asset ID")->required();
  download->add_option("TARGET", options.stockDownload.target, "The package file to write")->required();
  download->add_flag("--licensed", options.stockDownload.licensed, "The account already holds the licence");
  AddStockIdentity(*download, options.stockDownload.identity);
  return {search, licence, download, AddStockServe(*stock, options)};
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
  app.add_option("--set", options.settings, "Set a host setting for this run (repeatable, before the command)")
      ->type_name("KEY=VALUE")
      ->allow_extra_args(false);
  CLI::App* info = AddInfo(app, options);
  CLI::App* catalogue = AddCatalogue(app, options);
  CLI::App* extract = AddExtract(app, options);
  CLI::App* gallery = AddGallery(app, options);
  CLI::App* samples = AddSamples(app, options);
  const StockCommands stock = AddStock(app, options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return ReportParseError(app, error);
  }
  if (const auto status = ApplyHostSettings(options.settings, std::cerr)) return *status;
  // Networking is set up here, on the main thread, before the library's worker threads can make the
  // first request: the set-up leaves per-thread state behind on the thread that runs it.
  if (stock.search->parsed() || stock.licence->parsed() || stock.download->parsed()) zorvnet::EnsureCurlInitialized();
  if (stock.search->parsed()) return RunStockSearchCommand(options.stockSearch, std::cout, std::cerr);
  if (stock.licence->parsed()) return RunStockLicenceCommand(options.stockLicence, std::cout, std::cerr);
  if (stock.download->parsed()) return RunStockDownloadCommand(options.stockDownload, std::cout, std::cerr);
  if (stock.serve->parsed()) {
    if (stock.serve->count("--state") > 0) options.stockServe.state = options.stockServeState;
    return RunStockServeCommand(options.stockServe, std::cout, std::cerr);
  }
  if (info->parsed()) return RunInfoCommand(options.info, std::cout, std::cerr);
  if (extract->parsed()) return RunExtractCommand(options.extract, std::cout, std::cerr);
  if (samples->parsed()) return RunSamplesCommand(options.samples, std::cout, std::cerr);
  if (gallery->parsed()) {
    if (gallery->count("--libraries") > 0) options.gallery.libraries = options.galleryLibraries;
    if (gallery->count("--title") > 0) options.gallery.title = options.galleryTitle;
    return RunGalleryCommand(options.gallery, std::cout, std::cerr);
  }
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
