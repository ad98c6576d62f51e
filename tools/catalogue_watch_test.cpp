// `capsule catalogue --watch`, run in the background while the test changes the templates folder.
// Each step waits, with a generous limit, for the lines that show it; none waits for a fixed time.

#include <algorithm>
#include <utility>

#include "host/storage/test_zip_builder.h"
#include "tools/tool_test_fixture.h"

namespace capsuletool {
namespace {

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

// Two watches of one folder, one printing JSON lines, one the table: both tell each change, a
// package whose modification time alone changed counting as changed.
TEST_F(CatalogueWatchTest, JsonLinesAndTableLinesTellWhatEachRebuildChanged) {
  for (const char* name : {"Alpha", "Beta", "Gamma"}) WritePackage(Path("templates") / (std::string(name) + ".tplx"));
  const auto json = Watch({"--json"});
  const auto table = Watch({});
  ASSERT_TRUE(json->WaitForOutput([](const auto& lines) { return !lines.empty(); })) << json->Err();
  EXPECT_EQ(json->OutLines().front(), kListedThree);
  ASSERT_TRUE(table->WaitForOutput([](const auto& lines) { return Contains(lines, "3 templates"); })) << table->Err();

  fs::remove(Path("templates/Alpha.tplx"));
  WritePackage(Path("templates/New Folder/Delta.tplx"));
  ReplacePackage(Path("templates/Gamma.tplx"));
  const fs::path beta = Path("templates/Beta.tplx");
  fs::last_write_time(beta, fs::last_write_time(beta) - std::chrono::hours(1));
  const std::vector<Event> expected{{"added", Path("templates/New Folder/Delta.tplx").string(), "Delta"},
                                    {"changed", Path("templates/Beta.tplx").string(), "Beta"},
                                    {"changed", Path("templates/Gamma.tplx").string(), "Gamma"},
                                    {"removed", Path("templates/Alpha.tplx").string(), "Alpha"}};
  ASSERT_TRUE(json->WaitForOutput([&](const auto& lines) { return AllDifferences(lines) == expected; }))
      << Printed(*json);
  const std::vector<std::string> lines = json->OutLines();
  EXPECT_EQ(lines.back(), kListedThree);
  for (const auto& rebuild : Rebuilds(lines)) {
    EXPECT_TRUE(std::is_sorted(rebuild.begin(), rebuild.end(), [](const Event& a, const Event& b) {
      return std::make_pair(GroupOf(a.event), a.path) < std::make_pair(GroupOf(b.event), b.path);
    }));
  }
  EXPECT_TRUE(table->WaitForOutput([](const auto& lines) {
    for (const char* change : {"+ Delta (New Folder)", "- Alpha", "~ Gamma", "~ Beta"}) {
      if (!Contains(lines, change)) return false;
    }
    return lines.back() == "3 templates";
  })) << Printed(*table);

  EXPECT_EQ(json->Stop(SIGINT), 0);
  EXPECT_EQ(json->Err(), "");
  EXPECT_EQ(table->Stop(SIGTERM), 0);
  EXPECT_EQ(table->Err(), "");
}

}  // namespace
}  // namespace capsuletool
