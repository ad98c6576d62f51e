// Settings, host identity, localization and diagnostics.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "host/core/debug.h"
#include "host/core/debug_database.h"
#include "host/core/locale.h"
#include "host/core/localizer.h"
#include "host/core/test_environment_variable.h"
#include "host/core/test_temp_folder.h"

namespace zorvcore {
namespace {

TEST(SettingsFileTest, FileValuesBecomeTextCodeOverridesThemAndABadOrMissingFileSuppliesNothing) {
  TestTempFolder folder;
  const std::filesystem::path path = folder.path() / "settings.json";
  const ScopedEnvironmentVariable settingsFile(DebugDatabase::kSettingsFileVariable, path.native());
  const auto write = [&](const std::string& text) {
    std::ofstream(path) << text;
    DebugDatabase::ReloadSettingsFile();
  };
  DebugDatabase::ClearAllEntries();
  write(R"({"Graphics.UseStockStage": true, "ZORV.graphicfindinterval": 1000,
            "Stock.ServiceURL": "https://127.0.0.1:9/", "Nested": {"a": 1}})");
  EXPECT_EQ(DebugDatabase::GetEntry("Graphics.UseStockStage", "false"), "true");
  EXPECT_EQ(DebugDatabase::GetEntry("ZORV.graphicfindinterval", "50000"), "1000");
  EXPECT_EQ(DebugDatabase::GetEntry("Stock.ServiceURL", ""), "https://127.0.0.1:9/");
  EXPECT_EQ(DebugDatabase::GetEntry("Nested", "none"), "none");
  DebugDatabase::SetEntry("Graphics.UseStockStage", "false");
  EXPECT_EQ(DebugDatabase::GetEntry("Graphics.UseStockStage", ""), "false");
  DebugDatabase::ClearEntry("Graphics.UseStockStage");
  EXPECT_EQ(DebugDatabase::GetEntry("Graphics.UseStockStage", ""), "true");

  write("{\"Graphics.UseStockStage\": ");
  EXPECT_EQ(DebugDatabase::GetEntry("Graphics.UseStockStage", "default"), "default");
  write("[1, 2]");
  EXPECT_EQ(DebugDatabase::GetEntry("Graphics.UseStockStage", "default"), "default");
  std::filesystem::remove(path);
  DebugDatabase::ReloadSettingsFile();
  EXPECT_EQ(DebugDatabase::GetEntry("Graphics.UseStockStage", "default"), "default");
  settingsFile.Set(std::nullopt);
  DebugDatabase::ReloadSettingsFile();
  DebugDatabase::ClearAllEntries();
}

// The host's own setting is what every test in a chosen application language relies on.
TEST(LocaleTest, WithoutAHostSettingTheEnvironmentNamesTheLanguage) {
  Locale::SetApplicationLanguage(u"");
  const ScopedEnvironmentVariable language("LC_ALL", "de_DE.UTF-8");
  EXPECT_EQ(Locale::ApplicationLangauge(), u"de_DE");
  language.Set("C");
  EXPECT_EQ(Locale::ApplicationLangauge(), u"en_US");
}

TEST(LocalizerTest, TranslationsAndPlainText) {
  Localizer::LoadTranslations({});  // the default text is shown in the catalogue output's golden file
  EXPECT_EQ(Localizer::Localize(u"plain = text"), u"plain = text");
  EXPECT_EQ(Localizer::Localize(u"$$$/Browser/NoDefault"), u"$$$/Browser/NoDefault");
  Localizer::LoadTranslations({{u"$$$/Browser/All", u"Alle Vorlagen"}});
  EXPECT_EQ(Localizer::Localize(u"$$$/Browser/All=All templates"), u"Alle Vorlagen");
  Localizer::LoadTranslations({});
}

TEST(DebugTest, ReporterReceivesReportsAndCanSilenceACallSite) {
  std::vector<debug::AssertReport> reports;
  auto previous = debug::SetAssertReporter([&](const debug::AssertReport& report) {
    reports.push_back(report);
    return debug::AssertAction::kSilence;
  });
  bool silenced = false;
  EXPECT_FALSE(debug::BreakAfterAssertDialog("false", "StockLicense", "Fn", "message\r\n", &silenced));
  EXPECT_TRUE(silenced);
  debug::BreakAfterAssertDialog("false", "StockLicense", "Fn", "again", &silenced);
  debug::ReportDiagnostic("Index", "DB Assert x");
  debug::SetAssertReporter(previous);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].source + " " + reports[0].function + " " + reports[0].message, "StockLicense Fn message\r\n");
  EXPECT_EQ(reports[1].message, "DB Assert x");
  EXPECT_FALSE(debug::IsDebuggerAttached());
}

}  // namespace
}  // namespace zorvcore
