// The library layout as both managers read it: what counts as a library or an element, what a
// malformed manifest means, which files are named, and how links and hostile IDs are kept inside
// the root.
#include "host/qvlib/library_tree.h"

#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qvlib/manifest.h"
#include "host/qvlib/test_library_folder.h"

namespace zorvqvlib {
namespace {

using Names = std::vector<std::string>;

class LibraryTreeTest : public ::testing::Test {
 protected:
  LibraryTree Tree() const { return LibraryTree(folder_.Root()); }
  TestLibraryFolder folder_;
};

TEST_F(LibraryTreeTest, ListsFoldersInByteOrderSkippingHiddenNamesAndFiles) {
  for (const char* name : {"b", "B", "a", "\xC3\xA9t\xC3\xA9", ".cache", "lib/2", "lib/10", "lib/.partial"})
    folder_.MakeFolder(name);
  folder_.Write("notes.txt", "x");
  folder_.Write("lib/loose.tplx", "x");
  EXPECT_EQ(Tree().ListLibraryFolders(), (Names{"B", "a", "b", "lib", "\xC3\xA9t\xC3\xA9"}));
  EXPECT_EQ(Tree().ListElementFolders("lib"), (Names{"10", "2"}));
}

TEST_F(LibraryTreeTest, AFolderIsALibraryOnlyWithAWellFormedManifest) {
  // Name nullopt: no library; "=": the ID. Text that is no JSON is one row: json_parse_test has the rest.
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {R"({"name": "Brand Kit"})", "Brand Kit"}, {R"({"color": 3, "name": "Brand Kit"})", "Brand Kit"},
      {"{}", "="}, {R"({"name": ""})", "="}, {"not json", std::nullopt}, {R"(["name"])", std::nullopt},
      {R"("Brand Kit")", std::nullopt}, {R"({"name": 7})", std::nullopt}, {R"({"name": null})", std::nullopt},
      {R"({"name": "big")" + std::string(kMaxManifestBytes, ' ') + "}", std::nullopt},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string id = "lib" + std::to_string(i);
    folder_.Write(id + "/library.json", cases[i].first);
    EXPECT_EQ(Tree().ReadLibraryName(id), cases[i].second == "=" ? std::optional(id) : cases[i].second)
        << cases[i].first.substr(0, 40);
  }
  // Manifests that are no regular files make no library.
  folder_.MakeFolder("plain");                // no manifest at all
  folder_.MakeFolder("folder/library.json");  // a folder under the manifest's name
  folder_.MakeFolder("fifo");
  ASSERT_EQ(::mkfifo(folder_.Path("fifo/library.json").c_str(), 0600), 0);  // must not block the read
  folder_.Write("file", R"({"name": "x"})");  // a file where a folder should be
  for (const char* id : {"plain", "folder", "fifo", "file", "missing"}) {
    EXPECT_EQ(Tree().ReadLibraryName(id), std::nullopt) << id;
  }
}

TEST_F(LibraryTreeTest, AnElementNamesOnlyTheFilesThatAreThere) {
  // An element with every file is qv_libraries_source_test's, through both managers.
  // An empty folder: the ID as its name, and the description named all the same.
  folder_.MakeFolder("lib/bare");
  EXPECT_EQ(Tree().ReadElement("lib", "bare"),
            (ElementFiles{"bare", "", folder_.Path("lib/bare/definition.json"), "", ""}));

  // Folders under the files' names are not the files; a malformed manifest is no manifest.
  for (const char* name : {"template.tplx", "thumb.png", "thumb.mp4"}) folder_.MakeFolder(std::string("lib/odd/") + name);
  folder_.Write("lib/odd/element.json", R"({"name": ["Lower Third"]})");
  EXPECT_EQ(Tree().ReadElement("lib", "odd"), (ElementFiles{"odd", "", folder_.Path("lib/odd/definition.json"), "", ""}));

  folder_.Write("lib/afile", "x");
  EXPECT_EQ(Tree().ReadElement("lib", "afile"), std::nullopt);
  EXPECT_EQ(Tree().ReadElement("lib", "missing"), std::nullopt);
}

TEST_F(LibraryTreeTest, LinksThatStayInsideTheRootAreFollowed) {
  folder_.Library(".store/brand", "Brand Kit");
  folder_.Element(".store/brand", "e", "Lower Third");
  folder_.Link("Brand", ".store/brand");
  folder_.Library("lib", "Library");
  folder_.Element(".store", "shared");
  folder_.Link("lib/shared", "../.store/shared");
  folder_.Write(".store/thumb.png", "png");
  folder_.MakeFolder("lib/own");
  folder_.Link("lib/own/thumb.png", folder_.Path(".store/thumb.png"));

  EXPECT_EQ(Tree().ListLibraryFolders(), (Names{"Brand", "lib"}));
  EXPECT_EQ(Tree().ReadLibraryName("Brand"), "Brand Kit");
  EXPECT_EQ(Tree().ListElementFolders("Brand"), Names{"e"});
  // Paths are written under the root as configured, through the link.
  EXPECT_EQ(Tree().ReadElement("Brand", "e")->capsulePath, folder_.Path("Brand/e/template.tplx"));
  EXPECT_EQ(Tree().ListElementFolders("lib"), (Names{"own", "shared"}));
  EXPECT_EQ(Tree().ReadElement("lib", "shared")->capsulePath, folder_.Path("lib/shared/template.tplx"));
  EXPECT_EQ(Tree().ReadElement("lib", "own")->thumbnailPath, folder_.Path("lib/own/thumb.png"));
}

TEST_F(LibraryTreeTest, LinksLeadingOutsideTheRootAreAbsent) {
  folder_.WriteOutside("lib/library.json", R"({"name": "Escaped"})");
  folder_.WriteOutside("lib/e/template.tplx", "x");
  folder_.WriteOutside("element.json", R"({"name": "Leaked"})");
  folder_.WriteOutside("file", "x");
  folder_.Link("Escaped", folder_.OutsidePath("lib"));
  folder_.MakeFolder("linked");
  folder_.Link("linked/library.json", folder_.OutsidePath("lib/library.json"));
  folder_.Library("lib", "Library");
  folder_.Link("lib/far", folder_.OutsidePath("lib/e"));
  const std::string e = "lib/e/";
  folder_.MakeFolder(e);
  folder_.Link(e + "element.json", folder_.OutsidePath("element.json"));
  for (const char* name : {"thumb.png", "thumb.mp4", "definition.json"}) folder_.Link(e + name, folder_.OutsidePath("file"));
  folder_.Link(e + "template.tplx", "../../../outside/file");
  folder_.MakeFolder("lib/dangling");
  folder_.Link("lib/dangling/definition.json", folder_.OutsidePath("not-yet"));

  EXPECT_EQ(Tree().ListLibraryFolders(), (Names{"lib", "linked"}));
  EXPECT_EQ(Tree().ReadLibraryName("Escaped"), std::nullopt);
  EXPECT_TRUE(Tree().ListElementFolders("Escaped").empty());
  EXPECT_EQ(Tree().ReadElement("Escaped", "e"), std::nullopt);
  EXPECT_EQ(Tree().ReadLibraryName("linked"), std::nullopt);
  EXPECT_EQ(Tree().ListElementFolders("lib"), (Names{"dangling", "e"}));
  EXPECT_EQ(Tree().ReadElement("lib", "far"), std::nullopt);
  EXPECT_EQ(Tree().ReadElement("lib", "e"), (ElementFiles{"e", "", "", "", ""}));
  EXPECT_EQ(Tree().ReadElement("lib", "dangling")->schemaPath, "");
}

TEST_F(LibraryTreeTest, HostileIDsNameNothing) {
  // What the IDs below would reach if they were taken as paths.
  folder_.WriteOutside("library.json", R"({"name": "Outside"})");
  folder_.Element("../outside", "e");
  folder_.Library(".hidden", "Hidden");
  folder_.Element(".hidden", "e");
  folder_.Library("lib", "Library");
  folder_.Element("lib", "e");
  folder_.Library("\xFF" "bad", "Bad");
  const std::string ids[] = {"", ".", "..", "../outside", "lib/e", ".hidden", std::string("lib\0x", 5), "\xFF" "bad"};
  for (const std::string& id : ids) {
    SCOPED_TRACE(id);
    EXPECT_EQ(Tree().ReadLibraryName(id), std::nullopt);
    EXPECT_TRUE(Tree().ListElementFolders(id).empty());
    EXPECT_EQ(Tree().ReadElement(id, "e"), std::nullopt);
    EXPECT_EQ(Tree().ReadElement("lib", id), std::nullopt);
  }
  EXPECT_EQ(Tree().ListLibraryFolders(), Names{"lib"});

  folder_.Write("file", "x");
  for (const std::string& root : {std::string(), folder_.Path("missing"), folder_.Path("file")}) {
    const LibraryTree tree(root);  // a missing root has no libraries
    EXPECT_TRUE(tree.ListLibraryFolders().empty()) << root;
    EXPECT_EQ(tree.ReadLibraryName("lib"), std::nullopt) << root;
  }
}

}  // namespace
}  // namespace zorvqvlib
