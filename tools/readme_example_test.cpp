// The README's code example builds and does what the README says: it lists the templates of a
// folder, marks those matching the word, and gives each one's still thumbnail.

#include <algorithm>

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

  size_t marked = 0;
  for (const auto& written : set.templates) {
    const std::string name = Utf8(written.capsule->GetDisplayName());
    // Each line: a two-character mark ("* " for a match), the name, two spaces, the thumbnail.
    const auto line = std::find_if(lines.begin(), lines.end(),
                                   [&](const std::string& text) { return text.compare(2, name.size() + 2, name + "  ") == 0; });
    ASSERT_NE(line, lines.end()) << name;
    const auto& tags = written.capsule->GetTags();
    const bool tagged = std::find(tags.begin(), tags.end(), "title") != tags.end();
    if (tagged) {
      EXPECT_EQ(line->rfind("* ", 0), 0u) << *line;
    }
    if (line->rfind("* ", 0) == 0) ++marked;
    const std::string thumbnail = line->substr(line->rfind("  ") + 2);
    EXPECT_EQ(ReadWholeFile(thumbnail).substr(0, 4), "\x89PNG") << *line;
  }
  EXPECT_GT(marked, 0u);
}

}  // namespace
}  // namespace capsuletool
