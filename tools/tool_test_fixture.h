// ToolTest: the fixture of the tests that run the built `capsule` tool: a fresh temporary folder
// (also the tool's TMPDIR), ways to run the tool in it, and sample packages written there by the
// library's own generator to run it on. Test code only.
//
// Thread safety: use from the test's thread.

#ifndef ZORVCAPSULE_TOOLS_TOOL_TEST_FIXTURE_H_
#define ZORVCAPSULE_TOOLS_TOOL_TEST_FIXTURE_H_

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "capsule/capsule.h"
#include "capsule/capsule_json.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/core/locale.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "package/capsule_zip.h"
#include "samples/sample_templates.h"
#include "tools/test_tool_runner.h"

namespace capsuletool {

namespace fs = std::filesystem;
namespace json = zorvcore::serialization;

// A text or whole-number member of a JSON object of the tool's output.
inline std::string JsonText(const json::JSONValuePtr& object, const char* key) {
  return json::AsString(json::GetVariantInObject(object, std::string_view(key)));
}
inline int64_t JsonInt(const json::JSONValuePtr& object, const char* key) {
  return json::AsAnyInt64(json::GetVariantInObject(object, std::string_view(key)));
}

// The tool's --json output; fails the test when it is not one JSON object.
inline json::JSONValuePtr ParseObject(const ProgramRun& run) {
  json::JSONValuePtr root = json::JSONParse(run.out);
  EXPECT_TRUE(root && root->IsObject()) << Describe(run);
  return root && root->IsObject() ? root : json::MakeJSONObject();
}

// Every file below `folder` with its bytes, and every folder.
inline std::map<std::string, std::string> FolderContents(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    const std::string bytes = item.is_directory() ? "<folder>" : ReadWholeFile(item.path());
    contents[fs::relative(item.path(), folder).string()] = bytes;
  }
  return contents;
}

class ToolTest : public ::testing::Test {
 protected:
  // The tool runs with LC_ALL=C, whose application language is "en_US"; so does the test.
  void SetUp() override { zorvcore::Locale::SetApplicationLanguage(u"en_US"); }
  void TearDown() override { zorvcore::Locale::SetApplicationLanguage(u""); }

  ProgramRun Capsule(const std::vector<std::string>& arguments,
                     const std::vector<std::string>& extraEnvironment = {}) const {
    return RunProgram(CAPSULE_TOOL_PATH, arguments, temp.path(), extraEnvironment);
  }

  std::filesystem::path Path(const std::string& relative) const { return temp.path() / relative; }

  zorvsamples::SampleSet WriteSamples(const std::string& folder, size_t count,
                                      uint64_t seed = zorvsamples::kDefaultSampleSeed) const {
    zorvsamples::SampleSet set = zorvsamples::WriteSampleTemplates(temp.U16(zorvcore::UTF8ToUTF16(folder)), count, seed);
    EXPECT_TRUE(set.ok) << set.error;
    return set;
  }

  // The description as the library reads it back from the package.
  static std::shared_ptr<zorvcapsule::Capsule> ReadBack(const std::u16string& package) {
    const zorvcapsule::CapsuleZip zip(package, std::string());
    return zorvcapsule::serialization::CapsuleFromJson(zorvcore::UTF16ToUTF8(zip.GetTPLXDescriptionJSON()));
  }

  static std::string Utf8(const std::u16string& text) { return zorvcore::UTF16ToUTF8(text); }

  // A file of tools/testdata: an output pinned when it was last checked by hand.
  static std::string TestData(const std::string& name) {
    return ReadWholeFile(std::string(TOOLS_TESTDATA_PATH) + "/" + name);
  }

  // `text` with this test's folder written "TEST", as the pinned outputs have it.
  std::string WithFolderAsTEST(std::string text) const {
    const std::string folder = temp.path().string();
    for (size_t at; (at = text.find(folder)) != std::string::npos;) text.replace(at, folder.size(), "TEST");
    return text;
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
  }

  zorvcore::TestTempFolder temp;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TOOL_TEST_FIXTURE_H_
