// CatalogueTest: the fixture of the tests that drive a source manager as a host does. The index and
// $TMPDIR (so thumbnail caches land there) live in a temporary folder; assertion reports are kept;
// the vector callback of the default set and the word-search callback record what they get; the
// main-thread queue is pumped until the delivery a step waits for arrives. Test code only.
//
// Thread safety: use from the test's thread; Reports() may be read from any.

#ifndef ZORVCAPSULE_CATALOGUE_CATALOGUE_TEST_FIXTURE_H_
#define ZORVCAPSULE_CATALOGUE_CATALOGUE_TEST_FIXTURE_H_

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capsule/capsule.h"
#include "capsule/capsule_json.h"
#include "catalogue/graphic_source_manager.h"
#include "host/core/test_report_capture.h"
#include "host/core/main_thread.h"
#include "host/core/test_environment_variable.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "host/storage/test_zip_builder.h"
#include "package/temp_directories_internal.h"

namespace zorvcapsule::testing {

// A description as an authoring application writes it; `edit` adjusts the record first.
template <typename Edit>
std::string Description(Edit edit) {
  auto capsule = std::make_shared<Capsule>(u"tssl", u"", u"capsule-id");
  capsule->SetCapsuleNameLocalized(UIString());
  edit(*capsule);
  return serialization::CapsuleToJson(capsule);
}

inline std::string NamedDescription(const UIString& names) {
  return Description([&](Capsule& c) { c.SetCapsuleNameLocalized(names); });
}

class CatalogueTest : public ::testing::Test {
 protected:
  using Entries = GraphicSourceManager::EntryVector;
  using WordSet = GraphicSourceManager::WordSet;

  struct Delivery {
    Entries entries;
    int32_t total = -1;
  };

  void SetUp() override {
    zorvcore::RunMainThreadTasks();
    std::filesystem::create_directories(folder_.path() / "tmp");
    tmpDir_.emplace("TMPDIR", (folder_.path() / "tmp").string());
    internal::ResetTempDirectoryChecksForTesting();
    reports_.emplace();
  }

  void TearDown() override {
    manager_.reset();
    zorvcore::RunMainThreadTasks();
    reports_.reset();
    tmpDir_.reset();
    internal::ResetTempDirectoryChecksForTesting();
  }

  // A manager with its index in the folder, `source` added and the callbacks installed.
  GraphicSourceManager& StartManager(std::shared_ptr<IGraphicSource> source) {
    manager_ = std::make_unique<GraphicSourceManager>(Path("index.db"));
    manager_->AddGraphicSource(std::move(source));
    manager_->SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
        [this](Entries& entries, int32_t, int32_t total) { sets_.push_back({entries, total}); }));
    manager_->SetDatabaseRequestCallback(std::make_shared<GraphicSourceManager::WordSetCallback>(
        [this](WordSet keys) { searches_.push_back(std::move(keys)); }));
    return *manager_;
  }

  template <typename Predicate>
  static void PumpUntil(Predicate done) {
    while (!done()) zorvcore::WaitAndRunMainThreadTasks(std::chrono::milliseconds(100));
  }

  Delivery DefaultSet() {
    const size_t before = sets_.size();
    manager_->RequestDefaultGraphicSet();
    PumpUntil([&] { return sets_.size() > before; });
    return sets_.back();
  }

  WordSet Search(const std::vector<std::u16string>& words) {
    const size_t before = searches_.size();
    manager_->RequestGraphics(words);
    PumpUntil([&] { return searches_.size() > before; });
    return searches_.back();
  }

  static std::vector<std::u16string> Names(const Entries& entries) {
    std::vector<std::u16string> names;
    for (const auto& entry : entries) names.push_back(entry->name);
    return names;
  }

  static CapsuleEntryPtr Named(const Entries& entries, const std::u16string& name) {
    for (const auto& entry : entries) {
      if (entry->name == name) return entry;
    }
    ADD_FAILURE() << "no entry named " << zorvcore::UTF16ToUTF8(name);
    return std::make_shared<CapsuleEntry>();
  }

  IGraphicSource::GraphicFilterID Filter() const {
    std::vector<IGraphicSource::GraphicFilterID> filters;
    manager_->GetFilterList(filters);
    EXPECT_EQ(filters.size(), 1u);
    return filters.empty() ? IGraphicSource::GraphicFilterID() : filters[0];
  }
  // Each item of a filter as "name=id", with " (unavailable)" added when it is.
  static std::vector<std::string> Items(const IGraphicSource::GraphicFilterID& filter) {
    std::vector<std::string> items;
    for (const auto& item : filter.items) {
      items.push_back(zorvcore::UTF16ToUTF8(item.name) + "=" + item.id + (item.available ? "" : " (unavailable)"));
    }
    return items;
  }

  std::vector<std::string> Reports() {
    return reports_->Messages();
  }

  // The UTF-16 path of `relative` in the folder.
  std::u16string Path(const std::string& relative) const { return folder_.U16(zorvcore::UTF8ToUTF16(relative)); }

  // A package at `relative`: `description` as its description (none when empty), a still and a
  // video thumbnail when asked for, and a project member.
  void WritePackage(const std::string& relative, const std::string& description = NamedDescription(UIString()),
                    bool still = true, bool video = true) const {
    std::filesystem::create_directories((folder_.path() / relative).parent_path());
    zorvstorage::TestZipBuilder zip(folder_.path() / relative);
    if (!description.empty()) zip.Add("definition.json", description);
    if (still) zip.Add("thumb.png", kStillBytes);
    if (video) zip.Add("thumb.mp4", kVideoBytes);
    zip.Add("project.tsgraphic/main.json", "{}");
    zip.Write();
  }

  inline static const std::string kStillBytes = zorvstorage::NoiseBytes(700, 7);
  inline static const std::string kVideoBytes = zorvstorage::NoiseBytes(1500, 9);

  zorvcore::TestTempFolder folder_;
  std::unique_ptr<GraphicSourceManager> manager_;
  std::vector<Delivery> sets_;
  std::vector<WordSet> searches_;

 private:
  std::optional<zorvcore::ScopedEnvironmentVariable> tmpDir_;
  std::optional<zorvcore::ReportCapture> reports_;  // from SetUp until the manager's threads are gone
};

}  // namespace zorvcapsule::testing

#endif  // ZORVCAPSULE_CATALOGUE_CATALOGUE_TEST_FIXTURE_H_
