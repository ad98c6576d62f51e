// The `capsule` commands beside info and catalogue (samples, extract), and the command line as a
// whole: help, version, misuse and the failures that name what they could not use.

#include "samples/template_package_writer.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

using CapsuleCommandTest = ToolTest;

std::u16string Utf16(const fs::path& path) { return zorvcore::UTF8ToUTF16(path.string()); }

TEST_F(CapsuleCommandTest, SamplesWritesTheGeneratorsSetByteForByte) {
  const ProgramRun run = Capsule({"samples", Path("out").string(), "--count", "6", "--seed", "9"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(run.out, "6 templates written to " + Path("out").string() + "\n");
  EXPECT_EQ(run.err, "");
  WriteSamples("expected", 6, 9);
  EXPECT_EQ(FolderContents(Path("out")), FolderContents(Path("expected")));
}

// (Which member or folder is the project, and how its folder is named, is pinned by the package
// reader's own tests; the command hands the reader its options and prints where it went.)
TEST_F(CapsuleCommandTest, ExtractWritesTheProjectIntoTheFolderNamed) {
  const zorvsamples::SampleSet set = WriteSamples("templates", 1);
  const ProgramRun run =
      Capsule({"extract", Utf8(set.templates[0].path), "--into", Path("work").string(), "--name", "First"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(run.out, Path("work/First.tsgraphic").string() + "\n");
  EXPECT_TRUE(fs::is_regular_file(Path("work/First.tsgraphic/project.tsgraphic")));
}

// Help and the version are answers, not misuse. (The options the help lists are the parser's own
// declarations, which every other test of a command uses.)
TEST_F(CapsuleCommandTest, HelpAndTheVersionAreAnswers) {
  for (const auto& [line, start] : std::map<std::vector<std::string>, std::string>{
           {{"--help"}, "capsule: work with"}, {{"catalogue", "--help"}, "List and search"}, {{"--version"}, "capsule "}}) {
    const ProgramRun run = Capsule(line);
    EXPECT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(run.err, "");
    EXPECT_THAT(run.out, StartsWith(start));
  }
}

// Misuse exits with 2, and a path the command cannot use with 1; either way with one line on
// standard error, nothing on standard output and nothing written or changed anywhere.
// (One row for each kind of parser refusal, and one for each required argument or range the
// commands declare themselves.)
TEST_F(CapsuleCommandTest, MisuseAndUnusablePathsFailWithOneLineAndWriteNothing) {
  const zorvsamples::SampleSet set = WriteSamples("templates", 1);
  const std::string package = Utf8(set.templates[0].path);
  const std::string templates = Path("templates").string();
  temp.WriteFile("taken", "a file");
  temp.WriteFile("plain.tplx", "not a zip archive");
  temp.WriteFile("notes.txt", "a file of the user's");
  // Descriptions the reader refuses, each for its own reason (a member of the wrong type ends the
  // catalogue's listing in catalogue_command_test.cpp, with the same words).
  for (const auto& [name, description] : std::map<std::string, std::string>{
           {"bare.tplx", "{}"}, {"newer.tplx", R"({"apiVersion": "2.0"})"}, {"not-json.tplx", R"({"apiVersion": "1.4", )"}}) {
    ASSERT_TRUE(zorvsamples::WritePackageMembers(Utf16(Path(name)), {{"definition.json", description}}).ok);
  }
  const auto before = FolderContents(temp.path());

  const struct {
    std::vector<std::string> line;
    int status;
    std::string problem;  // what standard error says after "capsule: "
  } cases[] = {
      {{}, 2, ""},
      {{"info"}, 2, ""},
      {{"info", "a.tplx", "--verbose"}, 2, ""},
      {{"samples"}, 2, ""},
      {{"samples", Path("other").string(), "--count", "-1"}, 2, ""},
      {{"extract", package, "--into", Path("work").string(), "--name", "../escape"}, 2, ""},
      {{"extract", package, "--into", Path("work").string(), "--name", ".."}, 2, ""},
      {{"extract", package, "--name", "x"}, 2, ""},
      {{"catalogue", templates, "--folder", "no-equals-sign"}, 2, ""},
      {{"catalogue", templates, "--folder", "=" + templates}, 2, ""},
      {{"catalogue", templates, templates}, 2, ""},
      {{"catalogue", templates, "--watch", "--search", "neon"}, 2, ""},
      {{"--set", "no-equals", "stock", "search", "--token", "t"}, 2, ""},
      {{"--set", "=value", "stock", "search", "--token", "t"}, 2, ""},
      {{"stock", "search", "--token", "t", "--set", "a=b"}, 2, ""},
      {{"stock", "search", "--filter", "premium", "--token", "t"}, 2, ""},  // a filter is true or false
      {{"stock", "serve", templates, "--fail-rate", "1.5"}, 2, ""},
      {{"stock", "serve", templates, "--port", "70000"}, 2, ""},
      {{"samples", Path("taken/out").string(), "--count", "2"}, 1, Path("taken/out").string()},
      {{"extract", Path("bare.tplx").string(), "--into", Path("work").string(), "--name", "x"}, 1,
       Path("bare.tplx").string() + ": no project package"},
      {{"extract", Path("gone.tplx").string(), "--into", Path("work").string(), "--name", "x"}, 1,
       Path("gone.tplx").string() + ": no such file\n"},
      {{"info", Path("gone.tplx").string()}, 1, Path("gone.tplx").string() + ": no such file\n"},
      {{"info", Path("plain.tplx").string()}, 1, Path("plain.tplx").string() + ": no readable definition.json"},
      {{"info", Path("bare.tplx").string(), "--json"}, 1, "bare.tplx: definition.json has no apiVersion"},
      {{"info", Path("newer.tplx").string()}, 1, "format version 2.0, newer than this library's 1.4"},
      {{"info", Path("not-json.tplx").string()}, 1, "not-json.tplx: definition.json is not valid JSON"},
      {{"info", templates}, 1, templates + ": is a folder"},
      {{"catalogue", Path("nowhere").string()}, 1, Path("nowhere").string() + ": no such folder\n"},
      {{"catalogue", templates, "--index", Path("notes.txt").string()}, 1,
       Path("notes.txt").string() + ": is not a search index"},
      {{"catalogue", templates, "--index", Path("missing/words.db").string()}, 1,
       Path("missing/words.db").string() + ": its folder does not exist\n"},
      {{"gallery", Path("nowhere").string(), "--out", Path("site").string()}, 1, Path("nowhere").string()},
      {{"stock", "serve", Path("nowhere").string()}, 1, Path("nowhere").string()},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Capsule(c.line);
    SCOPED_TRACE(Describe(run));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, StartsWith("capsule: "));
    EXPECT_THAT(run.err, HasSubstr(c.problem));
    EXPECT_EQ(Lines(run.err).size(), 1u);
  }
  EXPECT_EQ(FolderContents(temp.path()), before);
}

}  // namespace
}  // namespace capsuletool
