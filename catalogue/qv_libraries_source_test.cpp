// The cloud libraries source driven as a host drives it (catalogue_test_fixture.h): the source
// added to a manager, a library tree written under the configured root, and the main-thread queue
// pumped until the deliveries arrive. Most cases run once with each library manager, chosen through
// the wrapper's setting.
#include "catalogue/qv_libraries_source.h"

#include <sys/stat.h>

#include <tuple>
#include <set>

#include "catalogue/catalogue_test_fixture.h"
#include "catalogue/qv_libraries_wrapper.h"
#include "catalogue/source_ids.h"
#include "host/core/debug_database.h"
#include "host/core/file.h"
#include "host/qvlib/qv_lib_manager.h"
#include "host/qvlib/test_library_folder.h"

namespace zorvcapsule {
namespace {

using testing::Description;
using testing::NamedDescription;
using zorvqvlib::QvLibManager;

std::u16string Wide(const std::string& text) { return zorvcore::UTF8ToUTF16(text); }

std::string EnglishDescription(const std::u16string& name) { return NamedDescription(UIString({{u"en_US", name}})); }

void UseNewLibraryAPIs(bool newer) {
  zorvcore::DebugDatabase::SetEntry(IQvLibrariesWrapper::kUseNewLibraryAPIsSetting, newer ? "true" : "false");
}

class QvLibrariesSourceTest : public testing::CatalogueTest {
 protected:
  void TearDown() override {
    // The manager's shutdown stops the newer manager only under the setting that started it.
    UseNewLibraryAPIs(startedNewer_);
    CatalogueTest::TearDown();
    zorvcore::DebugDatabase::ClearEntry(IQvLibrariesWrapper::kUseNewLibraryAPIsSetting);
    while (QvLibManager::IsStarted()) QvLibManager::Terminate();
  }

  // The manager with the tree written so far settled, so that later changes show at once.
  void Start(bool newer) {
    UseNewLibraryAPIs(newer);
    startedNewer_ = newer;
    libraries_.Settle();
    source_ = std::make_shared<QvLibrariesSource>();
    StartManager(source_);
  }

  std::set<std::u16string> Directories() {
    std::set<std::u16string> folders{u"stale"};
    manager_->GetLocalDirectories(folders);
    return folders;
  }

  std::u16string LibraryPath(const std::string& relative) const { return Wide(libraries_.Path(relative)); }

  zorvqvlib::TestLibraryFolder libraries_;
  std::shared_ptr<QvLibrariesSource> source_;
  bool startedNewer_ = true;
};

// The same cases with the newer manager (true) and the older functions (false).
class EitherManagerTest : public QvLibrariesSourceTest, public ::testing::WithParamInterface<bool> {};

INSTANTIATE_TEST_SUITE_P(Managers, EitherManagerTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Newer" : "Older"; });

TEST_P(EitherManagerTest, ListsElementsFilledFromTheirDescriptionsAndSearchesTheIndex) {
  libraries_.Library("brand", "Brand Kit");
  libraries_.Element("brand", "e1", "Lower Third");
  auto capsule = std::make_shared<Capsule>(u"qzfx", u"", u"cid-1");
  capsule->SetCapsuleNameLocalized(UIString(u"Title Card"));
  capsule->SetTags({"news", "blue"});
  capsule->SetUsedFonts({"Inter"});
  libraries_.Write("brand/e1/definition.json", serialization::CapsuleToJson(capsule));
  libraries_.Write("brand/e1/thumb.png", "png");
  libraries_.Write("brand/e1/thumb.mp4", "mp4");
  libraries_.Write("brand/e2/definition.json", EnglishDescription(u"No Package"));
  libraries_.Element("brand", "e3", "Plain");
  Start(GetParam());

  const Entries entries = DefaultSet().entries;
  ASSERT_EQ(Names(entries), (std::vector<std::u16string>{u"Plain", u"Title Card"}));
  EXPECT_EQ(sets_.back().total, 2);

  const CapsuleEntry& full = *entries[1];
  using Texts = std::vector<std::u16string>;
  EXPECT_EQ(full.ids, (std::vector<std::string>{kQvLibrariesSourceID, "brand"}));
  EXPECT_EQ(std::tie(full.path, full.elementID, full.descriptionPath, full.thumbnailPath, full.videoPreviewPath),
            std::make_tuple(LibraryPath("brand/e1/template.tplx"), "e1", LibraryPath("brand/e1/definition.json"),
                            LibraryPath("brand/e1/thumb.png"), LibraryPath("brand/e1/thumb.mp4")));
  EXPECT_EQ(std::tie(full.capsuleID, full.state, full.usedFonts, full.tags, full.authorApp),
            std::make_tuple(u"cid-1", 2, Texts{u"Inter"}, Texts{u"news", u"blue"}, u"qzfx"));
  EXPECT_TRUE(full.requiresQuazel);  // its application, with no compliant version
  EXPECT_EQ(full.modifiedTime, zorvcore::File(full.path).Modified().ToPtime());

  // Without a description: only what the manager gave.
  const CapsuleEntry& plain = *entries[0];
  EXPECT_EQ(std::tie(plain.elementID, plain.descriptionPath, plain.thumbnailPath, plain.videoPreviewPath, plain.state,
                     plain.capsuleID),
            std::make_tuple("e3", LibraryPath("brand/e3/definition.json"), u"", u"", 0, u""));
  EXPECT_TRUE(plain.modifiedTime.is_not_a_date_time());

  // The thumbnail is the file the manager keeps, handed out as listed.
  EXPECT_EQ(manager_->GetThumbnailPath(entries[1], nullptr), full.thumbnailPath);
  EXPECT_EQ(manager_->GetThumbnailPath(entries[0], nullptr), u"");

  // Word searches are answered from the index: tags and the name.
  EXPECT_EQ(Search({u"news"}), WordSet{full.path});
  EXPECT_EQ(Search({u"plain"}), WordSet{plain.path});
  // The answer comes from the index, not the disk: it stands until the next default set.
  libraries_.Remove("brand/e1");
  EXPECT_EQ(Search({u"news"}), WordSet{full.path});
  DefaultSet();
  EXPECT_TRUE(Search({u"news"}).empty());

  // A search with words lists nothing itself and reports what is already there.
  Entries results{std::make_shared<CapsuleEntry>(), std::make_shared<CapsuleEntry>()};
  int total = -1;
  source_->Search({u"plain"}, results, 0, 100, total, nullptr);
  EXPECT_EQ(results.size(), 2u);
  EXPECT_EQ(total, 2);
}

// The element's name stays when its description cannot be read; the filter has every library in
// case-insensitive order, those without packages contributing no entries.
TEST_P(EitherManagerTest, ElementNameStaysWhenTheDescriptionCannotBeReadAndTheFilterHasEveryLibrary) {
  libraries_.Library("lib", "Library");
  const std::string unreadable[] = {
      "{",                                             // not JSON: the version gate refuses it
      R"({"apiVersion": "9.9"})",                      // a version the reader refuses
      "",
      R"({"apiVersion": "1.4", "capsuleTags": "t"})",  // a member of the wrong type: the reader throws
  };
  for (size_t i = 0; i < std::size(unreadable); ++i) {
    const std::string element = "e" + std::to_string(i);
    libraries_.Element("lib", element, "Kept " + std::to_string(i));
    libraries_.Write("lib/" + element + "/definition.json", unreadable[i]);
  }
  libraries_.Element("lib", "folder", "Kept folder");
  libraries_.MakeFolder("lib/folder/definition.json");
  libraries_.Element("lib", "fifo", "Kept fifo");
  ASSERT_EQ(::mkfifo(libraries_.Path("lib/fifo/definition.json").c_str(), 0600), 0);  // must not block
  libraries_.Element("lib", "z", "Last");
  libraries_.Write("lib/z/definition.json", EnglishDescription(u"Zebra"));
  libraries_.Element("lib", "unnamed", "Kept unnamed");  // readable, but no name in it
  libraries_.Write("lib/unnamed/definition.json", EnglishDescription(u""));
  libraries_.Library("l1", "beta");
  libraries_.Library("l2", "Beta Zeta");
  libraries_.Library("l3", "alpha2");
  libraries_.Library("l4", "Alpha");
  libraries_.Element("l1", "e");  // no manifest: the ID names it
  Start(GetParam());

  const IGraphicSource::GraphicFilterID filter = Filter();
  EXPECT_EQ(filter.name, u"Qv Libraries");
  EXPECT_EQ(filter.sourceID, kQvLibrariesSourceID);
  EXPECT_EQ(Items(filter),
            (std::vector<std::string>{"Alpha=l4", "alpha2=l3", "beta=l1", "Beta Zeta=l2", "Library=lib"}));
  const Entries entries = DefaultSet().entries;
  EXPECT_EQ(Names(entries), (std::vector<std::u16string>{u"Kept 0", u"Kept 1", u"Kept 2", u"Kept 3", u"Kept fifo",
                                                         u"Kept folder", u"Kept unnamed", u"Zebra", u"e"}));
  for (const auto& entry : entries) {
    SCOPED_TRACE(zorvcore::UTF16ToUTF8(entry->name));
    const bool l1 = entry->name == u"e";
    EXPECT_EQ(entry->GetLibraryID(), l1 ? "l1" : "lib");
    if (l1) continue;
    EXPECT_EQ(entry->state, entry->name == u"Zebra" || entry->name == u"Kept unnamed" ? 2 : 0);
  }
}

// Only the older functions name folders to watch: the root and every library's folder.
TEST_F(QvLibrariesSourceTest, TheSettingIsReadAtEveryCall) {
  libraries_.Library("first", "First");
  libraries_.Element("first", "e", "One");
  libraries_.MakeFolder("no-library");
  Start(true);
  EXPECT_EQ(Names(DefaultSet().entries), std::vector<std::u16string>{u"One"});
  EXPECT_TRUE(Directories().empty());

  UseNewLibraryAPIs(false);
  libraries_.Library("second", "Second");
  libraries_.Element("second", "e", "Two");
  EXPECT_EQ(Names(DefaultSet().entries), (std::vector<std::u16string>{u"One", u"Two"}));
  EXPECT_EQ(Directories(),
            (std::set<std::u16string>{Wide(libraries_.Root()), LibraryPath("first"), LibraryPath("second")}));
  EXPECT_EQ(Filter().items.size(), 2u);

  // Back to the newer manager, which catches up with the change from its snapshot.
  UseNewLibraryAPIs(true);
  EXPECT_EQ(Names(DefaultSet().entries), (std::vector<std::u16string>{u"One", u"Two"}));
  EXPECT_TRUE(Directories().empty());
  EXPECT_EQ(Filter().items.size(), 2u);
}

TEST_F(QvLibrariesSourceTest, TheWrapperStartsAndStopsOnlyTheNewerManager) {
  libraries_.Library("lib", "Library");
  libraries_.Element("lib", "e");
  UseNewLibraryAPIs(false);
  IQvLibrariesWrapper::InitializeQvLibraries();
  EXPECT_FALSE(QvLibManager::IsStarted());

  UseNewLibraryAPIs(true);
  IQvLibrariesWrapper::InitializeQvLibraries();
  EXPECT_TRUE(QvLibManager::IsStarted());

  UseNewLibraryAPIs(false);
  IQvLibrariesWrapper::ClearQvLibraries();
  EXPECT_TRUE(QvLibManager::IsStarted());
  // Anything but "true" chooses the older functions.
  zorvcore::DebugDatabase::SetEntry(IQvLibrariesWrapper::kUseNewLibraryAPIsSetting, "TRUE");
  EXPECT_FALSE(IQvLibrariesWrapper::UsesNewLibraryAPIs());
  zorvcore::DebugDatabase::ClearEntry(IQvLibrariesWrapper::kUseNewLibraryAPIsSetting);
  EXPECT_TRUE(IQvLibrariesWrapper::UsesNewLibraryAPIs());
  IQvLibrariesWrapper::ClearQvLibraries();
  EXPECT_FALSE(QvLibManager::IsStarted());
}

}  // namespace
}  // namespace zorvcapsule
