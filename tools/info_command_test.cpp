// `capsule info`, run as a user runs it, on packages the sample generator writes. (The refusals of
// unreadable packages are in the command line's failure table, capsule_commands_test.cpp.)

#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using InfoCommandTest = ToolTest;

// The text form of three samples is pinned (tools/testdata): the first carries every control kind,
// five languages and localized members; the second is a compositing-application template with a
// project folder; the fourth one that cannot use the compositing library. The JSON form is the
// description as the library writes it.
TEST_F(InfoCommandTest, TextFormOfTheSamplesIsUnchangedAndTheJSONFormIsTheLibrarys) {
  const zorvsamples::SampleSet set = WriteSamples("templates", 4);
  std::string printed;
  for (const size_t sample : {0, 1, 3}) {
    const ProgramRun run = Capsule({"info", Utf8(set.templates[sample].path)});
    ASSERT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(run.err, "");
    printed += run.out + "\n";
  }
  EXPECT_EQ(WithFolderAsTEST(printed), TestData("info_samples.txt"));

  const ProgramRun run = Capsule({"info", Utf8(set.templates[0].path), "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(run.out, zorvcapsule::serialization::CapsuleToJson(ReadBack(set.templates[0].path)) + "\n");
}

}  // namespace
}  // namespace capsuletool
