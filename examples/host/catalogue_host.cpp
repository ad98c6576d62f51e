// A host's use of the template catalogue, exactly as the README shows it: list the templates of a
// folder, mark those matching a word, and ask for each one's still thumbnail. The CMakeLists.txt
// beside it builds it against an installed copy of the library.
//
//   catalogue_host TEMPLATES_FOLDER INDEX_FILE WORD

#include <chrono>
#include <iostream>
#include <memory>

#include "catalogue/graphic_source_manager.h"
#include "catalogue/local_graphics_source.h"
#include "host/core/main_thread.h"
#include "host/core/unicode.h"

using namespace zorvcapsule;

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: catalogue_host TEMPLATES_FOLDER INDEX_FILE WORD\n";
    return 2;
  }
  // Index mode: the catalogue keeps the words of its templates in a search index in this file.
  GraphicSourceManager manager(zorvcore::UTF8ToUTF16(argv[2]));
  manager.AddGraphicSource(
      std::make_shared<LocalGraphicsSource>(zorvcore::UTF8ToUTF16(argv[1]), LocalGraphicsSource::FolderList{}));

  // Requests return at once; the results arrive later, on the main thread, through callbacks.
  GraphicSourceManager::EntryVector templates;
  GraphicSourceManager::WordSet matches;
  int pending = 2;
  manager.SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
      [&](GraphicSourceManager::EntryVector& entries, int32_t, int32_t) {
        templates = entries;
        --pending;
      }));
  manager.SetDatabaseRequestCallback(
      std::make_shared<GraphicSourceManager::WordSetCallback>([&](GraphicSourceManager::WordSet paths) {
        matches = std::move(paths);
        --pending;
      }));

  manager.RequestDefaultGraphicSet();                         // every template, sorted by name
  manager.RequestGraphics({zorvcore::UTF8ToUTF16(argv[3])});  // the paths of those matching the word

  // A host with an event loop drains the main-thread queue there; this one waits for its deliveries.
  while (pending > 0) zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(100));

  for (const CapsuleEntryPtr& entry : templates) {
    const std::u16string thumbnail = manager.GetThumbnailPath(entry, nullptr);  // extracted once, cached
    std::cout << (matches.count(entry->path) ? "* " : "  ") << zorvcore::UTF16ToUTF8(entry->name) << "  "
              << zorvcore::UTF16ToUTF8(thumbnail) << '\n';
  }
  manager.Shutdown();
  return 0;
}
