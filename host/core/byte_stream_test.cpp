#include "host/core/byte_stream.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/core/test_temp_folder.h"

namespace zorvcore {
namespace {

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().native());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

TEST(InputByteStreamTest, ReadsTheWholeFileInBlocks) {
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
}

TEST(InputByteStreamTest, OpensOnlyReadableRegularFiles) {
  TestTempFolder folder;
  EXPECT_EQ(InputByteStream::Open(File(folder.U16(u"missing"))), nullptr);
  EXPECT_EQ(InputByteStream::Open(File(folder.U16())), nullptr);
}

TEST(OutputByteStreamTest, TargetChangesOnlyOnCommit) {
  TestTempFolder folder;
  folder.WriteFile("thumb.png", "old");
  const File target(folder.U16(u"thumb.png"));
  {
    auto stream = OutputByteStream::Create(target);
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(stream->WriteBlock("new ", 4));
    ASSERT_TRUE(stream->WriteBlock("content", 7));
    EXPECT_EQ(stream->Length(), 11);
    // Written but not committed: readers still see the old file; the work in progress is a
    // hidden file beside it.
    EXPECT_EQ(ReadAll(folder.path() / "thumb.png"), "old");
    const std::vector<std::string> names = NamesIn(folder.path());
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].front(), '.');
    ASSERT_TRUE(stream->Commit());
    EXPECT_FALSE(stream->WriteBlock("late", 4));
    EXPECT_FALSE(stream->Commit());
  }
  EXPECT_EQ(ReadAll(folder.path() / "thumb.png"), "new content");
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"thumb.png"});
}

TEST(OutputByteStreamTest, AbandonedWriterLeavesNothingBehind) {
  TestTempFolder folder;
  folder.WriteFile("kept.json", "old");
  {
    auto stream = OutputByteStream::Create(File(folder.U16(u"kept.json")));
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(stream->WriteBlock("half", 4));
  }
  {
    auto stream = OutputByteStream::Create(File(folder.U16(u"new.json")));
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(stream->WriteBlock("half", 4));
  }
  EXPECT_EQ(ReadAll(folder.path() / "kept.json"), "old");
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"kept.json"});
}

TEST(OutputByteStreamTest, FailedCommitKeepsTheTarget) {
  TestTempFolder folder;
  folder.WriteFile("target/inner.txt", "keep");
  auto stream = OutputByteStream::Create(File(folder.U16(u"target")));
  ASSERT_NE(stream, nullptr);
  ASSERT_TRUE(stream->WriteBlock("x", 1));
  EXPECT_FALSE(stream->Commit());
  EXPECT_EQ(ReadAll(folder.path() / "target/inner.txt"), "keep");
  EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"target"});
}

TEST(OutputByteStreamTest, CreateNeedsAnExistingFolder) {
  TestTempFolder folder;
  EXPECT_EQ(OutputByteStream::Create(File(folder.U16(u"missing/x.png"))), nullptr);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing"));
}

TEST(OutputByteStreamTest, LongAndNonAsciiNamesStillCommit) {
  TestTempFolder folder;
  // 241 bytes of UTF-8, close to the name limit, with four-byte characters across any cut.
  std::u16string name = u"a";
  for (int i = 0; i < 60; ++i) name += u"\U0001F600";
  auto stream = OutputByteStream::Create(File(folder.U16(name)));
  ASSERT_NE(stream, nullptr);
  ASSERT_TRUE(stream->WriteBlock("ok", 2));
  ASSERT_TRUE(stream->Commit());
  EXPECT_EQ(ReadAll(FileHelperUtils::UTF16ToStdPath(folder.U16(name))), "ok");
  EXPECT_EQ(NamesIn(folder.path()).size(), 1u);
}

}  // namespace
}  // namespace zorvcore
