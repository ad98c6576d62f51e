// Both managers asked from several threads at once while the tree changes under them and the newer
// manager is started and stopped: every answer must still be one the layout allows (IDs are layout
// names, paths lie under the root), and ThreadSanitizer must find no race.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "host/qvlib/library_layout.h"
#include "host/qvlib/qv_lib_manager.h"
#include "host/qvlib/qv_libraries.h"
#include "host/qvlib/qv_libraries_local.h"
#include "host/qvlib/test_library_folder.h"

namespace zorvqvlib {
namespace {

using Names = std::vector<std::string>;

// The answers of one manager's functions, as the catalogue asks them.
struct Functions {
  void (*libraries)(Names&);
  void (*elements)(const std::string&, Names&);
  std::string (*path)(const std::string&, const std::string&);
  std::string (*name)(const std::string&, const std::string&);
};

const Functions kNewer{QvLibManager::GetLibraryList, QvLibManager::GetCapsuleElementIDs,
                       QvLibManager::GetCapsulePath, QvLibManager::GetElementName};
const Functions kOlder{QvLibraries::GetLibraryList, QvLibrariesLocal::GetCapsuleElementIDs,
                       QvLibrariesLocal::GetCapsulePath,
                       [](const std::string& l, const std::string& e) { return QvLibrariesLocal::GetElementName(l, e); }};

// One pass over every library and element; returns the number of problems seen.
int CheckOnePass(const Functions& functions, const std::string& root) {
  int problems = 0;
  Names libraries;
  functions.libraries(libraries);
  for (const std::string& library : libraries) {
    problems += !IsLayoutName(library);
    Names elements;
    functions.elements(library, elements);
    for (const std::string& element : elements) {
      problems += !IsLayoutName(element);
      const std::string path = functions.path(library, element);
      problems += !path.empty() && path.rfind(root + "/", 0) != 0;
      functions.name(library, element);
    }
  }
  return problems;
}

TEST(LibraryManagersConcurrencyTest, AnswersStayWithinTheLayoutWhileTheTreeChanges) {
  TestLibraryFolder folder;
  for (int i = 0; i < 15; ++i) {
    folder.Library("lib" + std::to_string(i / 5), "Library");
    folder.Element("lib" + std::to_string(i / 5), "e" + std::to_string(i % 5), "Element");
  }
  QvLibManager::Initialize();

  std::atomic<bool> writerDone{false};
  std::atomic<int> problems{0};
  std::thread writer([&] {
    for (int round = 0; round < 150; ++round) {
      const std::string library = "lib" + std::to_string(round % 3);
      const std::string element = "n" + std::to_string(round);
      folder.Element(library, element, "Name " + std::to_string(round));
      folder.Write(library + "/library.json", R"({"name": "Renamed )" + std::to_string(round) + "\"}");
      if (round >= 9) folder.Remove(library + "/n" + std::to_string(round - 9));  // same library
      if (round % 25 == 0) folder.Write(library + "/library.json", "{broken");
    }
    writerDone = true;
  });
  // Starts and stops that never take the test's own start away.
  std::thread starter([&] {
    while (!writerDone) {
      QvLibManager::Initialize();
      QvLibManager::Terminate();
    }
  });
  std::vector<std::thread> readers;
  for (const Functions* functions : {&kNewer, &kNewer, &kOlder}) {
    readers.emplace_back([&, functions] {
      do {
        problems += CheckOnePass(*functions, folder.Root());
      } while (!writerDone);
    });
  }
  writer.join();
  starter.join();
  for (auto& reader : readers) reader.join();
  EXPECT_EQ(problems, 0);
  QvLibManager::Terminate();
  EXPECT_FALSE(QvLibManager::IsStarted());
}

}  // namespace
}  // namespace zorvqvlib
