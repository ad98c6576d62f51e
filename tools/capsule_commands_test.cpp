// The `capsule` commands beside info and catalogue (samples, extract), and the command line as a
// whole: help, version and misuse.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "samples/template_package_writer.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
namespace fs = std::filesystem;

std::map<std::string, std::string> FolderContents(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (item.is_regular_file()) contents[fs::relative(item.path(), folder).string()] = ReadWholeFile(item.path());
  }
  return contents;
}

void ExpectBadUsage(const ProgramRun& run) {
  EXPECT_EQ(run.status, 2) << Describe(run);
  EXPECT_EQ(run.out, "");
  EXPECT_THAT(run.err, StartsWith("capsule: "));
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

using SamplesCommandTest = ToolTest;

TEST_F(SamplesCommandTest, WritesTheGeneratorsSetByteForByte) {
  const ProgramRun run = Capsule({"samples", Path("out").string(), "--count", "6", "--seed", "9"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(run.out, "6 templates written to " + Path("out").string() + "\n");
  EXPECT_EQ(run.err, "");
  WriteSamples("expected", 6, 9);
  const auto written = FolderContents(Path("out"));
  EXPECT_EQ(written.size(), 6u);
  EXPECT_EQ(written, FolderContents(Path("expected")));
}

TEST_F(SamplesCommandTest, DefaultsToTwentyFourAndRefusesACountThatIsNoCount) {
  const ProgramRun run = Capsule({"samples", Path("out").string()});
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(FolderContents(Path("out")).size(), 24u);

  ExpectBadUsage(Capsule({"samples", Path("other").string(), "--count", "-1"}));
  ExpectBadUsage(Capsule({"samples", Path("other").string(), "--count", "many"}));
  ExpectBadUsage(Capsule({"samples"}));
  EXPECT_FALSE(fs::exists(Path("other")));
}

TEST_F(SamplesCommandTest, AFolderThatCannotBeMadeFailsNamingIt) {
  temp.WriteFile("taken", "a file");
  const ProgramRun run = Capsule({"samples", Path("taken/out").string(), "--count", "2"});
  EXPECT_EQ(run.status, 1) << Describe(run);
  EXPECT_EQ(run.out, "");
  EXPECT_THAT(run.err, HasSubstr(Path("taken/out").string()));
}

class ExtractCommandTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    set = WriteSamples("templates", 2);
  }
  zorvsamples::SampleSet set;
};

TEST_F(ExtractCommandTest, ExtractsAProjectMemberAndAProjectFolder) {
  // The first sample's project is one member of the editing application, the second's a folder of
  // the compositing application.
  const ProgramRun single =
      Capsule({"extract", Utf8(set.templates[0].path), "--into", Path("work").string(), "--name", "First"});
  ASSERT_EQ(single.status, 0) << Describe(single);
  EXPECT_EQ(single.out, Path("work/First.tsgraphic").string() + "\n");
  EXPECT_TRUE(fs::is_regular_file(Path("work/First.tsgraphic/project.tsgraphic")));

  const ProgramRun folder =
      Capsule({"extract", Utf8(set.templates[1].path), "--into", Path("work").string(), "--name", "Second"});
  ASSERT_EQ(folder.status, 0) << Describe(folder);
  EXPECT_EQ(folder.out, Path("work/Second.qzgraphic").string() + "\n");
  EXPECT_TRUE(fs::is_regular_file(Path("work/Second.qzgraphic/main.qzproj")));
  EXPECT_TRUE(fs::is_regular_file(Path("work/Second.qzgraphic/Assets/texture.png")));
}

TEST_F(ExtractCommandTest, RefusesNamesThatLeaveTheFolderAndPackagesWithoutAProject) {
  const std::string package = Utf8(set.templates[0].path);
  ExpectBadUsage(Capsule({"extract", package, "--into", Path("work").string(), "--name", "../escape"}));
  ExpectBadUsage(Capsule({"extract", package, "--into", Path("work").string(), "--name", ".."}));
  ExpectBadUsage(Capsule({"extract", package, "--name", "x"}));
  EXPECT_FALSE(fs::exists(Path("work")));
  EXPECT_FALSE(fs::exists(Path("escape.tsgraphic")));

  ASSERT_TRUE(zorvsamples::WritePackageMembers(temp.U16(u"bare.tplx"), {{"definition.json", "{}"}}).ok);
  const ProgramRun bare = Capsule({"extract", Path("bare.tplx").string(), "--into", Path("work").string(), "--name", "x"});
  EXPECT_EQ(bare.status, 1) << Describe(bare);
  EXPECT_EQ(bare.out, "");
  EXPECT_THAT(bare.err, StartsWith("capsule: " + Path("bare.tplx").string() + ": no project package"));

  const ProgramRun missing = Capsule({"extract", Path("gone.tplx").string(), "--into", Path("work").string(), "--name", "x"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "capsule: " + Path("gone.tplx").string() + ": no such file\n");
}

using CommandLineTest = ToolTest;

TEST_F(CommandLineTest, EveryCommandExplainsItself) {
  const ProgramRun top = Capsule({"--help"});
  ASSERT_EQ(top.status, 0) << Describe(top);
  for (const char* command : {"info", "catalogue", "extract", "samples", "validate"}) EXPECT_THAT(top.out, HasSubstr(command));

  const std::map<std::string, std::vector<std::string>> options = {
      {"info", {"PACKAGE", "--json"}},
      {"catalogue", {"DIR", "--folder", "--index", "--search", "--similar", "--thumbnails", "--json"}},
      {"extract", {"PACKAGE", "--into", "--name"}},
      {"samples", {"OUTDIR", "--count", "--seed"}},
      {"validate", {"PATH", "--json", "--strict"}},
  };
  for (const auto& [command, names] : options) {
    const ProgramRun help = Capsule({command, "--help"});
    EXPECT_EQ(help.status, 0) << Describe(help);
    EXPECT_EQ(help.err, "");
    for (const auto& name : names) EXPECT_THAT(help.out, HasSubstr(name)) << command;
  }
  const ProgramRun version = Capsule({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_THAT(version.out, StartsWith("capsule "));
}

TEST_F(CommandLineTest, AMissingOrUnknownCommandIsBadUsage) {
  ExpectBadUsage(Capsule({}));
  ExpectBadUsage(Capsule({"frobnicate"}));
  ExpectBadUsage(Capsule({"info"}));
  ExpectBadUsage(Capsule({"info", "a.tplx", "--verbose"}));
}

}  // namespace
}  // namespace capsuletool
