#include "host/core/byte_stream.h"

#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "host/core/test_temp_folder.h"

namespace zorvcore {
namespace {

TEST(InputByteStreamTest, ReadsTheWholeFileInBlocksAndOpensOnlyRegularFiles) {
  TestTempFolder folder;
  std::string content;
  for (int i = 0; i < 1000; ++i) content.push_back(static_cast<char>(i * 7));
  folder.WriteFile("data.bin", content);
  auto stream = InputByteStream::Open(File(folder.U16(u"data.bin")));
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->Length(), 1000);
  std::string read;
  char block[300];
  size_t got = 0;
  do {
    ASSERT_TRUE(stream->ReadBlock(block, sizeof block, got));
    read.append(block, got);
  } while (got == sizeof block);
  EXPECT_EQ(read, content);
  ASSERT_TRUE(stream->ReadBlock(block, sizeof block, got));
  EXPECT_EQ(got, 0u);

  EXPECT_EQ(InputByteStream::Open(File(folder.U16(u"missing"))), nullptr);
  EXPECT_EQ(InputByteStream::Open(File(folder.U16())), nullptr);
}

TEST(OutputByteStreamTest, TargetChangesOnlyOnCommit) {
  TestTempFolder folder;
  folder.WriteFile("thumb.png", "old");
  {
    auto stream = OutputByteStream::Create(File(folder.U16(u"thumb.png")));
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(stream->WriteBlock("new ", 4));
    ASSERT_TRUE(stream->WriteBlock("content", 7));
    EXPECT_EQ(stream->Length(), 11);
    // Written but not committed: readers still see the old file; the work in progress is hidden beside it.
    EXPECT_EQ(folder.ReadFile("thumb.png"), "old");
    ASSERT_EQ(folder.Files().size(), 2u);
    EXPECT_EQ(folder.Files().begin()->front(), '.');
    ASSERT_TRUE(stream->Commit());
    EXPECT_FALSE(stream->WriteBlock("late", 4));
    EXPECT_FALSE(stream->Commit());
  }
  EXPECT_EQ(folder.ReadFile("thumb.png"), "new content");
  EXPECT_EQ(folder.Files(), std::set<std::string>{"thumb.png"});
}

TEST(OutputByteStreamTest, AbandonedOrFailedWritesLeaveWhatWasThere) {
  TestTempFolder folder;
  folder.WriteFile("kept.json", "old");
  folder.WriteFile("target/inner.txt", "keep");
  for (const char16_t* name : {u"kept.json", u"new.json", u"target"}) {
    auto stream = OutputByteStream::Create(File(folder.U16(name)));
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(stream->WriteBlock("half", 4));
    if (name == std::u16string_view(u"target")) {
      EXPECT_FALSE(stream->Commit()) << "a folder cannot be replaced";
    }
  }
  EXPECT_EQ(OutputByteStream::Create(File(folder.U16(u"missing/x.png"))), nullptr);
  EXPECT_EQ(folder.ReadFile("kept.json"), "old");
  EXPECT_EQ(folder.Files(), (std::set<std::string>{"kept.json", "target/inner.txt"}));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing"));
}

TEST(OutputByteStreamTest, LongAndNonAsciiNamesStillCommit) {
  TestTempFolder folder;
  std::u16string name = u"a";  // 241 bytes of UTF-8 near the name limit, four-byte characters across any cut
  for (int i = 0; i < 60; ++i) name += u"\U0001F600";
  auto stream = OutputByteStream::Create(File(folder.U16(name)));
  ASSERT_NE(stream, nullptr);
  ASSERT_TRUE(stream->WriteBlock("ok", 2));
  ASSERT_TRUE(stream->Commit());
  EXPECT_EQ(folder.ReadFile(FileHelperUtils::UTF16ToStdPath(folder.U16(name))), "ok");
  EXPECT_EQ(folder.Files().size(), 1u);
}

}  // namespace
}  // namespace zorvcore
