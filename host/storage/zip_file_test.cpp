#include "host/storage/zip_file.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/test_temp_folder.h"
#include "host/storage/test_zip_builder.h"

namespace zorvstorage {
namespace {

namespace fs = std::filesystem;
using zorvcore::FileHelperUtils;

ZipFile OpenZip(const fs::path& path, const std::string& password = "") {
  return ZipFile(zorvcore::File(FileHelperUtils::StdPathToUTF16(path)), password);
}
zorvcore::Dir DirOf(const fs::path& path) { return zorvcore::Dir(FileHelperUtils::StdPathToUTF16(path)); }

class ZipFileTest : public ::testing::Test {
 protected:
  fs::path Package() const { return temp_.path() / "package.tplx"; }
  fs::path Out() const { return temp_.path() / "out"; }
  zorvcore::TestTempFolder temp_;
};

// ---- Reading members into memory ----

TEST_F(ZipFileTest, UnzipItemAndItemSizeTakeMembersByExactName) {
  TestZipBuilder(Package()).Add("definition.json", "{\"a\":1}").Add("empty.txt", "").AddDirectory("media/sub").Write();
  const ZipFile zip = OpenZip(Package());
  EXPECT_EQ(BlockText(zip.UnzipItem("definition.json")), "{\"a\":1}");
  EXPECT_EQ(BlockText(zip.UnzipItem("empty.txt")), "");  // an empty buffer, not null
  EXPECT_EQ(zip.ItemSize("empty.txt"), 0u);
  // Names match exactly, case included; a directory member has no bytes to give.
  for (const char* refused : {"missing.json", "Definition.json", "media/sub/", ""}) {
    EXPECT_EQ(zip.UnzipItem(refused), nullptr) << refused;
    EXPECT_EQ(zip.ItemSize(refused), std::nullopt) << refused;
  }
}

TEST_F(ZipFileTest, UnreadablePackagesBehaveAsPackagesWithoutMembers) {
  TestZipBuilder(temp_.path() / "good.tplx").Add("definition.json", NoiseBytes(5000)).Write();
  const std::string good = ReadFileBytes(temp_.path() / "good.tplx");
  WriteFileBytes(temp_.path() / "truncated.tplx", good.substr(0, good.size() / 2));
  WriteFileBytes(temp_.path() / "noise.tplx", NoiseBytes(4096));
  WriteFileBytes(temp_.path() / "empty.tplx", "");
  fs::create_directory(temp_.path() / "folder.tplx");
  ASSERT_EQ(::mkfifo((temp_.path() / "fifo.tplx").c_str(), 0600), 0);
  for (const char* name : {"missing.tplx", "truncated.tplx", "noise.tplx", "empty.tplx", "folder.tplx", "fifo.tplx"}) {
    SCOPED_TRACE(name);
    const ZipFile zip = OpenZip(temp_.path() / name);  // a FIFO must not block here
    EXPECT_EQ(zip.UnzipItem("definition.json"), nullptr);
    EXPECT_FALSE(zip.UnzipItems("definition.json", DirOf(Out())));
    EXPECT_FALSE(fs::exists(Out()));
  }
}

TEST_F(ZipFileTest, DamagedOrOversizedMembersReadAsMissingWithoutHarmingTheOthers) {
  TestZipBuilder(Package()).Add("definition.json", "{}", /*stored=*/true)
      .Add("thumb.png", "PAYLOAD-" + NoiseBytes(300), /*stored=*/true).Write();
  DamageBytes(Package(), "PAYLOAD-");
  const ZipFile zip = OpenZip(Package());
  EXPECT_EQ(zip.UnzipItem("thumb.png"), nullptr) << "the checksum no longer matches";
  EXPECT_FALSE(zip.UnzipItems("thumb.png", DirOf(Out())));
  EXPECT_FALSE(fs::exists(Out() / "thumb.png"));
  EXPECT_EQ(BlockText(zip.UnzipItem("definition.json")), "{}");

  DeclareSize(Package(), "definition.json", static_cast<uint32_t>(ZipFile::kMaxUnzipItemBytes + 1));
  EXPECT_EQ(OpenZip(Package()).UnzipItem("definition.json"), nullptr);
  EXPECT_EQ(OpenZip(Package()).ItemSize("definition.json"), std::nullopt);
}

// What the package's own directory reader lists (sizes, stored sizes, links) is pinned by the validate
// tool's report; a name that reader declines is listed through the archive library alike.
TEST_F(ZipFileTest, ListItemsDescribesMembersTheDirectoryReaderDeclines) {
  TestZipBuilder(Package()).Add("vorschau-\xC3\xBC.png", "PNG").AddDirectory("fonts/").AddLink("evil", "/etc").Write();
  const auto items = OpenZip(Package()).ListItems();
  ASSERT_TRUE(items.has_value());
  ASSERT_EQ(items->size(), 3u);
  EXPECT_EQ((*items)[0].name, "vorschau-\xC3\xBC.png");
  EXPECT_EQ((*items)[0].size, 3u);
  EXPECT_TRUE((*items)[1].isDirectory);
  EXPECT_TRUE((*items)[2].isLink);
}

TEST_F(ZipFileTest, EncryptedMembersNeedThePassword) {
  if (!zip_encryption_method_supported(ZIP_EM_TRAD_PKWARE, 1)) GTEST_SKIP() << "no encryption";
  TestZipBuilder(Package()).AddEncrypted("definition.json", "{\"secret\":1}", "pw").Write();
  EXPECT_EQ(BlockText(OpenZip(Package(), "pw").UnzipItem("definition.json")), "{\"secret\":1}");
  EXPECT_EQ(OpenZip(Package()).UnzipItem("definition.json"), nullptr);
  EXPECT_EQ(OpenZip(Package(), "wrong").UnzipItem("definition.json"), nullptr);
}

// ---- Extracting items ----

// A single member, and an item not there, are capsule_zip_test's project tries.
TEST_F(ZipFileTest, AFolderItemIsWrittenBelowTheDestination) {
  TestZipBuilder(Package()).AddDirectory("project.qzgraphic/").Add("project.qzgraphic/main.json", "main")
      .Add("project.qzgraphic/media/clip.mov", NoiseBytes(100000)).Add("project.qzgraphic/media/empty", "")
      .AddDirectory("project.qzgraphic/fonts/").Add("project.qzgraphic.bak", "not part of the item")
      .Add("other/main.json", "nor this").Write();
  const ZipFile zip = OpenZip(Package());
  ASSERT_TRUE(zip.UnzipItems("project.qzgraphic", DirOf(Out())));
  EXPECT_EQ(temp_.Files(), (std::set<std::string>{"package.tplx", "out/main.json", "out/media/clip.mov",
                                                   "out/media/empty"}));
  EXPECT_TRUE(fs::is_directory(Out() / "fonts"));
  EXPECT_EQ(ReadFileBytes(Out() / "media" / "clip.mov"), NoiseBytes(100000));
  // The same item named as a folder, and extracted again over what is there.
  ASSERT_TRUE(zip.UnzipItems("project.qzgraphic/", DirOf(Out())));
  EXPECT_EQ(ReadFileBytes(Out() / "main.json"), "main");
}

TEST_F(ZipFileTest, HostileMemberNamesAreRefusedAndNothingIsWritten) {
  const fs::path escape = temp_.path() / "escaped.txt";
  // Which names are unsafe is member_name_test's; here one member that climbs out and one absolute.
  for (const std::string& name : std::vector<std::string>{"project.tsgraphic/a/../../../escaped.txt",
                                                          "project.tsgraphic//" + escape.native()}) {
    SCOPED_TRACE(name);
    TestZipBuilder(Package()).Add("project.tsgraphic/good.txt", "good").Add(name, "evil").Write();
    EXPECT_FALSE(OpenZip(Package()).UnzipItems("project.tsgraphic", DirOf(Out())));
    EXPECT_FALSE(fs::exists(escape));
    EXPECT_FALSE(fs::exists(Out())) << "the item is refused whole, before anything is written";
  }
  // Hostile names given as the item itself.
  const std::vector<std::string> items = {"../escaped.txt", escape.native(), "C:/escaped.txt"};
  TestZipBuilder builder(Package());
  for (const std::string& name : items) builder.Add(name, "evil");
  builder.Write();
  for (const std::string& name : items) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(OpenZip(Package()).UnzipItems(name, DirOf(Out() / "in")));
    EXPECT_EQ(temp_.Files(), (std::set<std::string>{"package.tplx"}));
  }
}

TEST_F(ZipFileTest, LinksInThePackageOrTheDestinationAreNeverFollowed) {
  TestZipBuilder(Package()).AddLink("thumb.png", "/etc/passwd").Add("project.tsgraphic/good.txt", "good")
      .AddLink("project.tsgraphic/media", "/").Add("project.tsgraphic/media.txt", "fine").Write();
  const ZipFile zip = OpenZip(Package());
  EXPECT_EQ(zip.UnzipItem("thumb.png"), nullptr);
  EXPECT_EQ(zip.ItemSize("thumb.png"), std::nullopt);
  EXPECT_FALSE(zip.UnzipItems("thumb.png", DirOf(Out())));
  EXPECT_FALSE(zip.UnzipItems("project.tsgraphic", DirOf(Out())));
  EXPECT_FALSE(fs::exists(Out()));

  // A link already in the destination is never written through.
  const fs::path outside = temp_.path() / "outside";
  fs::create_directories(outside);
  fs::create_directories(Out());
  fs::create_directory_symlink(outside, Out() / "media");
  TestZipBuilder(Package()).Add("project.tsgraphic/media/clip.mov", "clip").Write();
  EXPECT_FALSE(OpenZip(Package()).UnzipItems("project.tsgraphic", DirOf(Out())));
  EXPECT_TRUE(fs::is_empty(outside));
}

TEST_F(ZipFileTest, AFailedExtractionTakesBackWhatItCreated) {
  TestZipBuilder(Package()).Add("project.tsgraphic/a.txt", "first")
      .Add("project.tsgraphic/sub/b.bin", "DAMAGED-" + NoiseBytes(200), /*stored=*/true).Write();
  DamageBytes(Package(), "DAMAGED-");
  temp_.WriteFile("out/kept/old.txt", "old");
  EXPECT_FALSE(OpenZip(Package()).UnzipItems("project.tsgraphic", DirOf(Out() / "new" / "target")));
  EXPECT_FALSE(fs::exists(Out() / "new")) << "folders the call made are gone again";
  EXPECT_FALSE(OpenZip(Package()).UnzipItems("project.tsgraphic", DirOf(Out())));
  EXPECT_EQ(temp_.Files(), (std::set<std::string>{"package.tplx", "out/kept/old.txt"}));
  EXPECT_FALSE(fs::exists(Out() / "sub"));
}

// ---- Adding items ----

class ZipFileAddTest : public ZipFileTest {
 protected:
  void SetUp() override {
    TestZipBuilder(Package()).Add("definition.json", "{\"version\":1}").Add("thumb.png", thumb_, /*stored=*/true)
        .Add("project.tsgraphic/main.json", "main").Add("project.tsgraphic/media/clip.mov", clip_).Write();
    temp_.WriteFile("source/definition.json", "{\"version\":2}");
  }
  fs::path Source() const { return temp_.path() / "source"; }
  bool Add(const ZipFile& zip) const { return zip.AddItem("definition.json", DirOf(Source()), true); }
  // Files beside the package other than the source folder's: a leftover temporary is a fault.
  std::set<std::string> Leftovers() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(temp_.path())) names.insert(entry.path().filename());
    names.erase("package.tplx");
    names.erase("source");
    return names;
  }

  const std::string thumb_ = NoiseBytes(3000, 7);
  const std::string clip_ = NoiseBytes(200000, 9);
};

TEST_F(ZipFileAddTest, ReplacingAMemberKeepsTheOthersAndRenamesTheNewPackageIntoPlace) {
  struct stat before, after;
  ASSERT_EQ(::stat(Package().c_str(), &before), 0);
  const ZipFile independent = OpenZip(Package());
  const ZipFile writer = OpenZip(Package());
  const ZipFile sharer = writer;
  ASSERT_EQ(BlockText(writer.UnzipItem("definition.json")), "{\"version\":1}");
  ASSERT_TRUE(Add(writer));
  ASSERT_EQ(::stat(Package().c_str(), &after), 0);
  EXPECT_NE(before.st_ino, after.st_ino) << "written to a new file and renamed, not patched in place";
  EXPECT_EQ(BlockText(sharer.UnzipItem("definition.json")), "{\"version\":2}");
  // A reader opened on its own keeps the old package.
  EXPECT_EQ(BlockText(independent.UnzipItem("definition.json")), "{\"version\":1}");
  const ZipFile reopened = OpenZip(Package());
  EXPECT_EQ(BlockText(reopened.UnzipItem("definition.json")), "{\"version\":2}");
  EXPECT_EQ(BlockText(reopened.UnzipItem("thumb.png")), thumb_);  // stored
  EXPECT_EQ(BlockText(reopened.UnzipItem("project.tsgraphic/media/clip.mov")), clip_);
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(ZipFileAddTest, AWriteThatFailsPartWayOrARefusedAdditionLeavesTheOldPackage) {
  const std::string original = ReadFileBytes(Package());
  // A file-size limit below the package's size makes the new package's write fail like a full disk.
  struct rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = original.size() / 2;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool added = Add(OpenZip(Package()));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(added);
  EXPECT_EQ(ReadFileBytes(Package()), original);
  EXPECT_TRUE(Leftovers().empty());

  const ZipFile zip = OpenZip(Package());
  EXPECT_FALSE(zip.AddItem("definition.json", DirOf(Source()), false)) << "present, not replaced";
  EXPECT_FALSE(zip.AddItem("../source/definition.json", DirOf(Source() / "x"), true));  // names: member_name_test
  fs::create_directories(Source() / "folder");
  EXPECT_FALSE(zip.AddItem("folder", DirOf(Source()), true));
  EXPECT_EQ(ReadFileBytes(Package()), original);
  EXPECT_EQ(BlockText(zip.UnzipItem("definition.json")), "{\"version\":1}");
}

// Subtracts `amount` from the little-endian field of `width` bytes at `at`.
void ShrinkField(std::string& bytes, size_t at, int width, uint32_t amount) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  value -= amount;
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

TEST_F(ZipFileAddTest, ANewPackageThatWouldNotReadBackIsNeverPutInPlace) {
  // The last member's name ends in the signature of a zip64 locator and 16 more bytes. Written
  // whole, that signature sits 20 bytes before the end record, where readers take it for a real
  // locator and give up on the archive. Cutting ".png" off the name in the central directory
  // leaves 4 stray bytes there, so this package reads; a rewrite drops them.
  TestZipBuilder(Package()).Add("definition.json", "{\"version\":1}").Add("aSIGN0123456789abcdef.png", "x").Write();
  std::string bytes = ReadFileBytes(Package());
  for (size_t at = bytes.find("SIGN"); at != std::string::npos; at = bytes.find("SIGN", at)) {
    bytes.replace(at, 4, "PK\x06\x07", 4);  // libzip takes no such name; the bytes are not checksummed
  }
  const size_t lastEntry = bytes.rfind(std::string("PK\x01\x02", 4));
  const size_t endRecord = bytes.rfind(std::string("PK\x05\x06", 4));
  ASSERT_TRUE(lastEntry != std::string::npos && endRecord != std::string::npos);
  ShrinkField(bytes, lastEntry + 28, 2, 4);  // the name's length
  ShrinkField(bytes, endRecord + 12, 4, 4);  // the central directory's size
  WriteFileBytes(Package(), bytes);
  const ZipFile zip = OpenZip(Package());
  ASSERT_EQ(BlockText(zip.UnzipItem("definition.json")), "{\"version\":1}");

  EXPECT_FALSE(Add(zip));
  EXPECT_EQ(ReadFileBytes(Package()), bytes);
  EXPECT_EQ(BlockText(zip.UnzipItem("definition.json")), "{\"version\":1}");
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(ZipFileAddTest, AddingCreatesAMissingPackageFollowsLinksButNeverOverwritesANonZip) {
  const fs::path fresh = temp_.path() / "fresh.tplx", link = temp_.path() / "link.tplx";
  ASSERT_TRUE(Add(OpenZip(fresh)));
  EXPECT_EQ(BlockText(OpenZip(fresh).UnzipItem("definition.json")), "{\"version\":2}");
  fs::create_symlink(Package(), link);
  ASSERT_TRUE(Add(OpenZip(link)));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(BlockText(OpenZip(Package()).UnzipItem("definition.json")), "{\"version\":2}");
  WriteFileBytes(temp_.path() / "notzip.tplx", NoiseBytes(1000));
  EXPECT_FALSE(Add(OpenZip(temp_.path() / "notzip.tplx")));
  EXPECT_EQ(ReadFileBytes(temp_.path() / "notzip.tplx"), NoiseBytes(1000));
}

// ---- Sharing ----

// How many of this process's open descriptors name `path`.
int OpenDescriptorsOn(const fs::path& path) {
  int count = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
    count += fs::read_symlink(entry.path(), error) == fs::canonical(path);
  }
  return count;
}

TEST_F(ZipFileTest, CopiesShareOnePackageThatClosesWithTheLastSharer) {
  TestZipBuilder(Package()).Add("definition.json", "{}").Write();
  const int before = OpenDescriptorsOn(Package());
  {
    auto original = std::make_unique<ZipFile>(OpenZip(Package()));
    ZipFile copy = *original;
    ZipFile moved = std::move(copy);
    EXPECT_EQ(OpenDescriptorsOn(Package()), before + 1) << "one open package for all the copies";
    original.reset();
    EXPECT_EQ(BlockText(moved.UnzipItem("definition.json")), "{}");
    EXPECT_EQ(BlockText(copy.UnzipItem("definition.json")), "{}") << "a move copies";
  }
  EXPECT_EQ(OpenDescriptorsOn(Package()), before);
}

}  // namespace
}  // namespace zorvstorage
