// The newer manager: answers nothing until started, then from a snapshot of the layout (library_tree_test)
// that follows the disk where it changed.
#include "host/qvlib/qv_lib_manager.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qvlib/test_library_folder.h"

namespace zorvqvlib {
namespace {

using Names = std::vector<std::string>;

Names Libraries() {
  Names ids;
  QvLibManager::GetLibraryList(ids);
  return ids;
}

Names Elements(const std::string& library) {
  Names ids;
  QvLibManager::GetCapsuleElementIDs(library, ids);
  return ids;
}

class QvLibManagerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    while (QvLibManager::IsStarted()) QvLibManager::Terminate();
  }

  // A settled tree with a bit of everything: named and unnamed libraries and elements, packages or
  // none, thumbnails, a malformed manifest, a folder that is no library.
  void SetUp() override {
    folder_.Library("brand", "Brand Kit");
    folder_.Element("brand", "lower", "Lower Third");
    folder_.Element("brand", "plain");
    for (const char* file : {"thumb.png", "thumb.mp4", "definition.json"})
      folder_.Write(std::string("brand/lower/") + file, "x");
    folder_.MakeFolder("brand/empty");
    folder_.Write("brand/broken/element.json", "{\"name\":");
    folder_.Write("archive/library.json", "{}");
    folder_.Write("malformed/library.json", "{\"name\": 1}");
    folder_.Element("malformed", "e");
    folder_.MakeFolder("no-manifest/e");
    folder_.Settle();
  }

  TestLibraryFolder folder_;
};

TEST_F(QvLibManagerTest, AnswersFromTheSnapshotFollowChangesAndANewRoot) {
  QvLibManager::Initialize();
  ASSERT_EQ(Libraries(), (Names{"archive", "brand"}));
  // Every file path the snapshot hands out is checked through the catalogue (qv_libraries_source_test).
  EXPECT_EQ(Elements("brand"), (Names{"broken", "empty", "lower", "plain"}));
  EXPECT_EQ(QvLibManager::GetCapsuleThumbnailPath("brand", "lower"), folder_.Path("brand/lower/thumb.png"));
  EXPECT_EQ(QvLibManager::GetCapsulePath("malformed", "e") + QvLibManager::GetCapsulePath("..", "brand"), "");

  folder_.Library("new", "New");                                  // a library added
  folder_.Remove("archive");                                      // one removed
  folder_.Write("brand/library.json", R"({"name": "Brand Two"})");  // renamed in place, same size
  folder_.Element("brand", "added", "Added");                     // an element added
  folder_.Remove("brand/plain");                                  // one removed
  folder_.Write("brand/lower/element.json", R"({"name": "Lower 3rd"})");
  folder_.Element("brand", "empty");                              // a package where there was none
  folder_.Remove("brand/lower/thumb.png");
  folder_.Write("malformed/library.json", "{}");                  // a manifest repaired

  EXPECT_EQ(Libraries(), (Names{"brand", "malformed", "new"}));
  EXPECT_EQ(QvLibManager::GetLibraryNameFromLibraryID("brand"), "Brand Two");
  EXPECT_EQ(QvLibManager::GetLibraryNameFromLibraryID("archive"), "");
  EXPECT_EQ(Elements("brand"), (Names{"added", "broken", "empty", "lower"}));
  EXPECT_EQ(QvLibManager::GetElementName("brand", "lower"), "Lower 3rd");
  EXPECT_EQ(QvLibManager::GetCapsuleThumbnailPath("brand", "lower"), "");
  EXPECT_EQ(QvLibManager::GetCapsulePath("brand", "empty"), folder_.Path("brand/empty/template.tplx"));
  EXPECT_EQ(QvLibManager::GetElementName("brand", "plain"), "");
  EXPECT_EQ(Elements("malformed"), Names{"e"});

  // A new root setting starts afresh.
  TestLibraryFolder other;  // now the configured root
  other.Library("brand", "Other Brand");
  EXPECT_EQ(Libraries(), Names{"brand"});
  EXPECT_EQ(QvLibManager::GetLibraryNameFromLibraryID("brand"), "Other Brand");
  EXPECT_TRUE(Elements("brand").empty());
}

TEST_F(QvLibManagerTest, AnswersNothingUntilStartedAndTheLastTerminateDropsTheSnapshot) {
  EXPECT_FALSE(QvLibManager::IsStarted());
  EXPECT_TRUE(Libraries().empty() && Elements("brand").empty());
  EXPECT_EQ(QvLibManager::GetLibraryNameFromLibraryID("brand") + QvLibManager::GetCapsulePath("brand", "lower") +
                QvLibManager::GetElementName("brand", "lower"), "");
  QvLibManager::Terminate();  // without a start: nothing to stop, and no debt either
  QvLibManager::Initialize();
  QvLibManager::Initialize();
  QvLibManager::Terminate();
  EXPECT_TRUE(QvLibManager::IsStarted());
  EXPECT_EQ(Libraries().size(), 2u);
  QvLibManager::Terminate();
  EXPECT_FALSE(QvLibManager::IsStarted());
  EXPECT_TRUE(Libraries().empty());
  QvLibManager::Initialize();
  EXPECT_EQ(Libraries().size(), 2u);
}

}  // namespace
}  // namespace zorvqvlib
