// `capsule info`, run as a user runs it, on packages the sample generator and the tests write.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "samples/template_package_writer.h"
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

struct BrokenPackage {
  const char* name;
  std::vector<zorvsamples::PackageMember> members;
  const char* problem;
};

TEST_F(InfoCommandTest, AnUnreadableDescriptionFailsWithOneLineSayingWhy) {
  const std::vector<BrokenPackage> packages = {
      {"no-description.tplx", {{"thumb.png", "x"}}, "no readable definition.json"},
      {"newer.tplx", {{"definition.json", R"({"apiVersion": "2.0"})"}}, "format version 2.0, newer than this library's 1.4"},
      {"unversioned.tplx", {{"definition.json", R"({"capsuleID": "a"})"}}, "has no apiVersion"},
      {"wrong-type.tplx", {{"definition.json", R"({"apiVersion": "1.4", "capsuleID": 5})"}}, "wrong JSON type (bad cast)"},
      {"not-json.tplx", {{"definition.json", R"({"apiVersion": "1.4", )"}}, "not valid JSON"},
  };
  for (const BrokenPackage& broken : packages) {
    SCOPED_TRACE(broken.name);
    const std::filesystem::path path = Path(broken.name);
    ASSERT_TRUE(zorvsamples::WritePackageMembers(zorvcore::UTF8ToUTF16(path.string()), broken.members).ok);
    for (const bool asJSON : {false, true}) {
      const ProgramRun run = asJSON ? Capsule({"info", path.string(), "--json"}) : Capsule({"info", path.string()});
      EXPECT_EQ(run.status, 1) << Describe(run);
      EXPECT_EQ(run.out, "");
      EXPECT_THAT(run.err, StartsWith("capsule: " + path.string() + ": "));
      EXPECT_THAT(run.err, HasSubstr(broken.problem));
      EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    }
  }
}

}  // namespace
}  // namespace capsuletool
