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

class LibraryRootTest : public ::testing::Test {
 protected:
  void SetUp() override { zorvcore::DebugDatabase::ClearEntry(kLibraryRootSetting); }
  void TearDown() override { zorvcore::DebugDatabase::ClearEntry(kLibraryRootSetting); }
};

TEST_F(LibraryRootTest, TheSettingWinsAndIsMadeAbsoluteAndNormal) {
  const ScopedVariable xdg("XDG_DATA_HOME", "/data");
  zorvcore::DebugDatabase::SetEntry(kLibraryRootSetting, "/srv//libs/./cloud/");
  EXPECT_EQ(ConfiguredLibraryRoot(), "/srv/libs/cloud");
  zorvcore::DebugDatabase::SetEntry(kLibraryRootSetting, "relative/libs");
  EXPECT_EQ(ConfiguredLibraryRoot(), (std::filesystem::current_path() / "relative/libs").native());
  zorvcore::DebugDatabase::SetEntry(kLibraryRootSetting, "/");
  EXPECT_EQ(ConfiguredLibraryRoot(), "/");
  // Read afresh at each call: an empty setting means the default again.
  zorvcore::DebugDatabase::SetEntry(kLibraryRootSetting, "");
  EXPECT_EQ(ConfiguredLibraryRoot(), "/data/zorvcapsule/libraries");
}

TEST_F(LibraryRootTest, DefaultsToTheUserDataFolder) {
  const ScopedVariable home("HOME", "/home/someone/");
  {
    const ScopedVariable xdg("XDG_DATA_HOME", "/xdg/data");
    EXPECT_EQ(ConfiguredLibraryRoot(), "/xdg/data/zorvcapsule/libraries");
  }
  for (const std::optional<std::string>& ignored : {std::optional<std::string>(), std::optional<std::string>(""),
                                                    std::optional<std::string>("relative/data")}) {
    const ScopedVariable xdg("XDG_DATA_HOME", ignored);
    EXPECT_EQ(ConfiguredLibraryRoot(), "/home/someone/.local/share/zorvcapsule/libraries");
  }
  const ScopedVariable xdg("XDG_DATA_HOME", std::nullopt);
  const ScopedVariable noHome("HOME", std::nullopt);
  EXPECT_EQ(ConfiguredLibraryRoot(), "");  // no setting and no home: no root
}

}  // namespace
}  // namespace zorvqvlib
