// The README's code example builds and does what the README says: it lists the templates of a
// folder, marks those matching the word, and gives each one's still thumbnail.

#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using ReadmeExampleTest = ToolTest;

TEST_F(ReadmeExampleTest, IsTheCodeBuiltAndListsTheTemplatesMarksTheMatchesAndFindsTheirThumbnails) {
  const std::string source = ReadWholeFile(README_EXAMPLE_SOURCE);
  ASSERT_FALSE(source.empty());
  EXPECT_NE(ReadWholeFile(README_PATH).find("```cpp\n" + source + "```\n"), std::string::npos)
      << "README.md's example differs from examples/host/catalogue_host.cpp";

  const zorvsamples::SampleSet set = WriteSamples("templates", 12);
  const ProgramRun run = RunProgram(README_EXAMPLE_PATH,
                                    {Path("templates").string(), Path("index.db").string(), "title"}, temp.path());
  ASSERT_EQ(run.status, 0) << Describe(run);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), set.templates.size());

  // Each line: a two-character mark ("* " for a match), the name, two spaces, the thumbnail. Which
  // templates a word matches is pinned by the catalogue's output (tools/testdata).
  size_t marked = 0;
  for (const std::string& line : lines) {
    marked += line.rfind("* ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(ReadWholeFile(line.substr(line.rfind("  ") + 2)).substr(0, 4), "\x89PNG") << line;
  }
  EXPECT_GT(marked, 0u);
  EXPECT_LT(marked, lines.size());
}

}  // namespace
}  // namespace capsuletool
