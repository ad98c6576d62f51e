// The libraries source as the host uses it from two sides at once: default sets listed on the
// manager's worker while the host's thread asks for filters and folders and switches the manager
// setting, and the tree changes on disk under both. Every delivered entry must still be a whole
// library entry, and ThreadSanitizer must find no race.
#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/graphic_source_manager.h"
#include "catalogue/qv_libraries_source.h"
#include "catalogue/qv_libraries_wrapper.h"
#include "catalogue/source_ids.h"
#include "host/core/debug_database.h"
#include "host/core/main_thread.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "host/qvlib/qv_lib_manager.h"
#include "host/qvlib/test_library_folder.h"

namespace zorvcapsule {
namespace {

using Entries = GraphicSourceManager::EntryVector;

void UseNewLibraryAPIs(bool newer) {
  zorvcore::DebugDatabase::SetEntry(IQvLibrariesWrapper::kUseNewLibraryAPIsSetting, newer ? "true" : "false");
}

// A whole entry of this source: its IDs and a package under the root. (Its name may be empty when
// the element went away half-way through its listing.)
bool IsWholeEntry(const CapsuleEntry& entry, const std::u16string& root) {
  return entry.GetSourceID() == kQvLibrariesSourceID && !entry.GetLibraryID().empty() &&
         entry.path.rfind(root + u"/", 0) == 0 && !entry.elementID.empty();
}

TEST(QvLibrariesSourceConcurrencyTest, ListingsFiltersAndSettingChangesOverlap) {
  zorvcore::RunMainThreadTasks();
  zorvcore::TestTempFolder temp;
  zorvqvlib::TestLibraryFolder libraries;
  for (int i = 0; i < 3; ++i) {
    const std::string library = "lib" + std::to_string(i);
    libraries.Library(library, "Library " + std::to_string(i));
    for (int j = 0; j < 8; ++j) libraries.Element(library, "e" + std::to_string(j), "Element " + std::to_string(j));
  }
  UseNewLibraryAPIs(true);

  constexpr int kRounds = 12;
  std::vector<Entries> sets;
  {
    GraphicSourceManager manager(temp.U16(u"index.db"));
    manager.AddGraphicSource(std::make_shared<QvLibrariesSource>());
    manager.SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
        [&](Entries& entries, int32_t, int32_t) { sets.push_back(entries); }));

    std::atomic<bool> hostDone{false};
    std::thread writer([&] {
      int round = 0;
      do {
        const std::string library = "lib" + std::to_string(round % 3);
        libraries.Element(library, "n" + std::to_string(round), "New " + std::to_string(round));
        libraries.Replace(library + "/library.json", "{\"name\": \"Renamed " + std::to_string(round) + "\"}");
        if (round >= 6) libraries.Remove(library + "/n" + std::to_string(round - 6));  // same library
        ++round;
      } while (!hostDone);
    });

    for (int round = 0; round < kRounds; ++round) {
      manager.RequestDefaultGraphicSet();
      std::vector<IGraphicSource::GraphicFilterID> filters;
      manager.GetFilterList(filters);
      std::set<std::u16string> folders;
      manager.GetLocalDirectories(folders);
      UseNewLibraryAPIs(round % 2 == 1);
      zorvcore::RunMainThreadTasks();
    }
    while (sets.size() < static_cast<size_t>(kRounds)) {
      zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(100));
    }
    hostDone = true;
    writer.join();
    UseNewLibraryAPIs(true);  // the setting the source was started under, so shutdown stops it
  }
  zorvcore::RunMainThreadTasks();
  zorvcore::DebugDatabase::ClearEntry(IQvLibrariesWrapper::kUseNewLibraryAPIsSetting);
  EXPECT_FALSE(zorvqvlib::QvLibManager::IsStarted());

  const std::u16string root = zorvcore::UTF8ToUTF16(libraries.Root());
  for (const Entries& set : sets) {
    EXPECT_GE(set.size(), 24u);  // the original elements are never removed
    for (const auto& entry : set) EXPECT_TRUE(IsWholeEntry(*entry, root)) << zorvcore::UTF16ToUTF8(entry->path);
  }
}

}  // namespace
}  // namespace zorvcapsule
