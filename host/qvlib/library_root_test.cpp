// Where the libraries are looked for: the setting first, then the user's data folder by the XDG
// rules. The environment is the process's, so each test puts back what it changed.
#include "host/qvlib/library_root.h"

#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "host/core/debug_database.h"
#include "host/core/test_environment_variable.h"

namespace zorvqvlib {
namespace {

using ScopedVariable = zorvcore::ScopedEnvironmentVariable;

TEST(LibraryRootTest, TheSettingWinsMadeAbsoluteAndNormalElseTheUserDataFolder) {
  const ScopedVariable xdg("XDG_DATA_HOME", "/data");
  // Read afresh at each call: an empty setting means the default again.
  for (const auto& [setting, root] : std::vector<std::pair<std::string, std::string>>{
           {"/srv//libs/./cloud/", "/srv/libs/cloud"}, {"/", "/"}, {"", "/data/zorvcapsule/libraries"},
           {"relative/libs", std::filesystem::current_path() / "relative/libs"}}) {
    zorvcore::DebugDatabase::SetEntry(kLibraryRootSetting, setting);
    EXPECT_EQ(ConfiguredLibraryRoot(), root) << setting;
  }
  zorvcore::DebugDatabase::ClearEntry(kLibraryRootSetting);

  // Without the setting: the user's data folder.
  const ScopedVariable home("HOME", "/home/someone/");
  {
    const ScopedVariable xdgHome("XDG_DATA_HOME", "/xdg/data");
    EXPECT_EQ(ConfiguredLibraryRoot(), "/xdg/data/zorvcapsule/libraries");
  }
  for (const std::optional<std::string>& ignored : std::vector<std::optional<std::string>>{{}, "", "relative/data"}) {
    const ScopedVariable xdgIgnored("XDG_DATA_HOME", ignored);
    EXPECT_EQ(ConfiguredLibraryRoot(), "/home/someone/.local/share/zorvcapsule/libraries");
  }
  const ScopedVariable noXdg("XDG_DATA_HOME", std::nullopt);
  const ScopedVariable noHome("HOME", std::nullopt);
  EXPECT_EQ(ConfiguredLibraryRoot(), "");  // no setting and no home: no root
}

}  // namespace
}  // namespace zorvqvlib
