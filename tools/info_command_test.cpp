// `capsule info`, run as a user runs it, on packages the sample generator and the tests write.

#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class InfoCommandTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    set = WriteSamples("templates", 4);
  }
  zorvsamples::SampleSet set;
};

// The text form of three samples is pinned (tools/testdata): the first carries every control kind,
// five languages and localized members; the second is a compositing-application template with a
// project folder; the fourth one that cannot use the compositing library.
TEST_F(InfoCommandTest, TextFormOfTheSamplesIsUnchanged) {
  std::string printed;
  for (const size_t sample : {0, 1, 3}) {
    const ProgramRun run = Capsule({"info", Utf8(set.templates[sample].path)});
    ASSERT_EQ(run.status, 0) << Describe(run);
    EXPECT_EQ(run.err, "");
    printed += run.out + "\n";
  }
  EXPECT_EQ(WithFolderAsTEST(printed), TestData("info_samples.txt"));
}

TEST_F(InfoCommandTest, JsonFormIsTheDescriptionAsTheLibraryWritesIt) {
  const std::u16string& package = set.templates[0].path;
  const ProgramRun run = Capsule({"info", Utf8(package), "--json"});
  ASSERT_EQ(run.status, 0) << Describe(run);
  EXPECT_EQ(run.out, zorvcapsule::serialization::CapsuleToJson(ReadBack(package)) + "\n");
  EXPECT_EQ(JsonText(ParseObject(run), "apiVersion"), "1.4");
}

}  // namespace
}  // namespace capsuletool
