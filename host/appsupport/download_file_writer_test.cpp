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

// Bytes held in the buffer are written before a block too large for it (the file stays hidden until
// the commit: byte_stream_test).
TEST_F(DownloadFileWriterTest, BufferedBytesKeepTheirPlaceBeforeALargerBlock) {
  auto writer = Writer("target.bin", 10);
  ASSERT_NE(writer, nullptr);
  ASSERT_TRUE(Append(*writer, "0123456"));
  ASSERT_TRUE(Append(*writer, "789abcdefghij"));
  const zorvcore::Status committed = writer->Commit(20);
  EXPECT_TRUE(committed.ok()) << committed.ToString();
  EXPECT_EQ(folder_.ReadFile("target.bin"), "0123456789abcdefghij");
}

// A body of the wrong length never reaches the target; an unannounced length accepts what came; a
// target that cannot be written is refused.
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
  }
  EXPECT_EQ(folder_.ReadFile("target.bin"), "old");
  auto writer = Writer("fresh.bin", 1024);
  ASSERT_NE(writer, nullptr);
  Append(*writer, "xyz");
  EXPECT_TRUE(writer->Commit(-1).ok());
  EXPECT_EQ(folder_.ReadFile("fresh.bin"), "xyz");
  EXPECT_EQ(folder_.Files(), (std::set<std::string>{"fresh.bin", "target.bin"}));

  std::unique_ptr<DownloadFileWriter> refused;
  EXPECT_TRUE(DownloadFileWriter::Create(zorvcore::File(folder_.U16(u"target.bin/x")), 16, &refused).IsIOError());
  EXPECT_TRUE(DownloadFileWriter::Create(zorvcore::File(u""), 16, &refused).IsInvalidArgument());
  EXPECT_EQ(refused, nullptr);
}

}  // namespace
}  // namespace zorvappsupport::http
