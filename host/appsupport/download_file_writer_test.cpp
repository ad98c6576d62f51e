#include "host/appsupport/download_file_writer.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"

namespace zorvappsupport::http {
namespace {

bool Append(DownloadFileWriter& writer, const std::string& bytes) {
  return writer.Append(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

class DownloadFileWriterTest : public ::testing::Test {
 protected:
  std::unique_ptr<DownloadFileWriter> Writer(const std::string& relative, size_t bufferBytes) {
    std::unique_ptr<DownloadFileWriter> writer;
    const zorvcore::Status made = DownloadFileWriter::Create(
        zorvcore::File(folder_.U16(zorvcore::UTF8ToUTF16(relative))), bufferBytes, &writer);
    EXPECT_TRUE(made.ok()) << made.ToString();
    return writer;
  }

  zorvcore::TestTempFolder folder_;
};

TEST_F(DownloadFileWriterTest, WholeBodyReplacesTheTargetWhateverTheBufferSize) {
  const std::string body = "0123456789abcdefghij";
  for (const size_t buffer : {size_t{0}, size_t{3}, size_t{20}, size_t{1000}}) {
    folder_.WriteFile("target.bin", "old");
    auto writer = Writer("target.bin", buffer);
    ASSERT_NE(writer, nullptr);
    ASSERT_TRUE(Append(*writer, body.substr(0, 7)));
    ASSERT_TRUE(Append(*writer, body.substr(7)));
    EXPECT_EQ(folder_.ReadFile("target.bin"), "old");  // nothing shows before the commit

    const zorvcore::Status committed = writer->Commit(static_cast<int64_t>(body.size()));
    EXPECT_TRUE(committed.ok()) << committed.ToString();
    EXPECT_EQ(folder_.ReadFile("target.bin"), body) << "buffer " << buffer;
    EXPECT_EQ(writer->BytesReceived(), 20);
    EXPECT_EQ(folder_.Files(), std::set<std::string>{"target.bin"});
  }
}

// A body of the wrong length never reaches the target, nor does one whose writer is abandoned; an
// unannounced length accepts what came; a target that cannot be written is refused.
TEST_F(DownloadFileWriterTest, OnlyACompleteBodyReachesAWritableTarget) {
  folder_.WriteFile("target.bin", "old");
  {
    auto shortBody = Writer("target.bin", 4);
    Append(*shortBody, "12345");
    const zorvcore::Status shortCommit = shortBody->Commit(10);
    EXPECT_TRUE(shortCommit.IsCorruption());
    EXPECT_NE(shortCommit.message().find("5 of 10"), std::string::npos) << shortCommit.ToString();
    auto longBody = Writer("target.bin", 4);
    Append(*longBody, "12345");
    EXPECT_TRUE(longBody->Commit(4).IsCorruption());
    auto abandoned = Writer("fresh.bin", 2);
    Append(*abandoned, "partial body");
  }
  EXPECT_EQ(folder_.ReadFile("target.bin"), "old");
  auto writer = Writer("a/b/target.bin", 1024);
  ASSERT_NE(writer, nullptr);
  Append(*writer, "xyz");
  EXPECT_TRUE(writer->Commit(-1).ok());
  EXPECT_EQ(folder_.ReadFile("a/b/target.bin"), "xyz");
  EXPECT_EQ(folder_.Files(), (std::set<std::string>{"a/b/target.bin", "target.bin"}));

  std::unique_ptr<DownloadFileWriter> refused;
  EXPECT_TRUE(DownloadFileWriter::Create(zorvcore::File(folder_.U16(u"target.bin/x")), 16, &refused).IsIOError());
  EXPECT_TRUE(DownloadFileWriter::Create(zorvcore::File(u""), 16, &refused).IsInvalidArgument());
  EXPECT_EQ(refused, nullptr);
}

}  // namespace
}  // namespace zorvappsupport::http
