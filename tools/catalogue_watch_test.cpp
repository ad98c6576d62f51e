// `capsule catalogue --watch`, run in the background while the test changes the templates folder.
// Each step waits, with a generous limit, for the lines that show it; none waits for a fixed time.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/storage/test_zip_builder.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

namespace fs = std::filesystem;
namespace json = zorvcore::serialization;

constexpr const char* kListedThree = R"({"event":"listed","count":3})";

class CatalogueWatchTest : public ToolTest {
 protected:
  // A package without a description, listed under its file title; `members` varies its size.
  void WritePackage(const fs::path& file, int members = 1) const {
    fs::create_directories(file.parent_path());
    zorvstorage::TestZipBuilder zip(file);
    for (int i = 0; i < members; ++i) zip.Add("project.tsgraphic/part" + std::to_string(i) + ".json", "{}");
    zip.Write();
  }

  // Replaces a package in one step, as a careful copy does: written beside it, renamed over it.
  void ReplacePackage(const fs::path& file) const {
    const fs::path beside = Path("staging.tplx");
    WritePackage(beside, 3);
    fs::rename(beside, file);
  }

  std::unique_ptr<BackgroundProgram> Watch(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {"catalogue", Path("templates").string(), "--watch"});
    return std::make_unique<BackgroundProgram>(CAPSULE_TOOL_PATH, arguments, temp.path());
  }

  static bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

struct Event {
  std::string event, path, name;
  auto operator<=>(const Event&) const = default;
};

// The JSON lines after the first, in rebuilds: each rebuild's differences up to its "listed" line.
std::vector<std::vector<Event>> Rebuilds(const std::vector<std::string>& lines) {
  std::vector<std::vector<Event>> rebuilds(1);
  for (size_t i = 1; i < lines.size(); ++i) {
    const json::JSONValuePtr object = json::JSONParse(lines[i]);
    if (!object || !object->IsObject()) {
      ADD_FAILURE() << "not a JSON object: " << lines[i];
      continue;
    }
    const std::string event = json::AsString(json::GetVariantInObject(object, "event"));
    if (event == "listed") {
      rebuilds.emplace_back();
      continue;
    }
    rebuilds.back().push_back({event, json::AsString(json::GetVariantInObject(object, "path")),
                               json::AsString(json::GetVariantInObject(object, "name"))});
  }
  rebuilds.pop_back();  // differences not yet followed by their "listed" line
  return rebuilds;
}

std::vector<Event> AllDifferences(const std::vector<std::string>& lines) {
  std::vector<Event> all;
  for (const auto& rebuild : Rebuilds(lines)) all.insert(all.end(), rebuild.begin(), rebuild.end());
  std::sort(all.begin(), all.end());
  return all;
}

// What the program printed, for a failure's message.
std::string Printed(const BackgroundProgram& program) {
  std::string text;
  for (const std::string& line : program.OutLines()) text += line + "\n";
  return text + "--- stderr\n" + program.Err();
}

int GroupOf(const std::string& event) { return event == "removed" ? 0 : event == "added" ? 1 : 2; }

TEST_F(CatalogueWatchTest, JsonLinesTellWhatEachRebuildChanged) {
  for (const char* name : {"Alpha", "Beta", "Gamma"}) WritePackage(Path("templates") / (std::string(name) + ".tplx"));
  const auto watch = Watch({"--json"});
  ASSERT_TRUE(watch->WaitForOutput([](const auto& lines) { return !lines.empty(); })) << watch->Err();
  EXPECT_EQ(watch->OutLines().front(), kListedThree);

  fs::remove(Path("templates/Alpha.tplx"));
  WritePackage(Path("templates/New/Delta.tplx"));
  ReplacePackage(Path("templates/Gamma.tplx"));
  const std::vector<Event> expected{{"added", Path("templates/New/Delta.tplx").string(), "Delta"},
                                    {"changed", Path("templates/Gamma.tplx").string(), "Gamma"},
                                    {"removed", Path("templates/Alpha.tplx").string(), "Alpha"}};
  ASSERT_TRUE(watch->WaitForOutput([&](const auto& lines) { return AllDifferences(lines) == expected; }))
      << watch->Err();
  const std::vector<std::string> lines = watch->OutLines();
  EXPECT_EQ(lines.back(), kListedThree);
  for (const auto& rebuild : Rebuilds(lines)) {
    EXPECT_TRUE(std::is_sorted(rebuild.begin(), rebuild.end(), [](const Event& a, const Event& b) {
      return std::make_pair(GroupOf(a.event), a.path) < std::make_pair(GroupOf(b.event), b.path);
    }));
  }

  EXPECT_EQ(watch->Stop(SIGINT), 0);
  EXPECT_EQ(watch->Err(), "");
}

TEST_F(CatalogueWatchTest, TheTableIsFollowedByALineForEachChange) {
  WritePackage(Path("templates/Alpha.tplx"));
  WritePackage(Path("templates/Beta.tplx"));
  const auto watch = Watch({});
  ASSERT_TRUE(watch->WaitForOutput([](const auto& lines) { return Contains(lines, "2 templates"); })) << watch->Err();
  EXPECT_EQ(watch->OutLines().front().rfind("NAME", 0), 0u);

  WritePackage(Path("templates/Extra Folder/Copy.tplx"));
  EXPECT_TRUE(watch->WaitForOutput([](const auto& lines) {
    return Contains(lines, "+ Copy (Extra Folder)") && lines.back() == "3 templates";
  })) << Printed(*watch);
  fs::remove(Path("templates/Beta.tplx"));
  EXPECT_TRUE(watch->WaitForOutput([](const auto& lines) { return Contains(lines, "- Beta"); })) << Printed(*watch);
  // A package whose modification time alone changed counts as changed.
  fs::last_write_time(Path("templates/Alpha.tplx"),
                      fs::last_write_time(Path("templates/Alpha.tplx")) - std::chrono::hours(1));
  EXPECT_TRUE(watch->WaitForOutput([](const auto& lines) { return Contains(lines, "~ Alpha"); })) << Printed(*watch);

  EXPECT_EQ(watch->Stop(SIGTERM), 0);
  EXPECT_EQ(watch->Err(), "");
}

}  // namespace
}  // namespace capsuletool
