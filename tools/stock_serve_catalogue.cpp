#include "tools/stock_serve_catalogue.h"

#include <set>

#include "host/core/main_thread.h"
#include "tools/main_thread_pump.h"

namespace capsuletool {
namespace {

using zorvcapsule::GraphicSourceManager;

struct Delivery {
  std::vector<zorvcapsule::CapsuleEntryPtr> entries;
  bool arrived = false;
};

}  // namespace

ServedCatalogue::ServedCatalogue(const std::u16string& folder, const std::u16string& indexPath,
                                 const DiagnosticsCollector& diagnostics, TerminalProgress& progress)
    : manager_(indexPath),
      source_(std::make_shared<zorvcapsule::LocalGraphicsSource>(folder, zorvcapsule::LocalGraphicsSource::FolderList())) {
  manager_.AddGraphicSource(source_);
  manager_.SetCapsuleSortFxn(nullptr);
  // Shared with the callback, so that a delivery still queued after a failed wait finds it alive.
  auto delivery = std::make_shared<Delivery>();
  manager_.SetLocalRequestVectorCallback(std::make_shared<GraphicSourceManager::EntryVectorCallback>(
      [delivery](GraphicSourceManager::EntryVector& entries, int32_t, int32_t) {
        delivery->entries = entries;
        delivery->arrived = true;
      }));
  manager_.RequestDefaultGraphicSet();
  complete_ = PumpMainThreadUntil([&delivery] { return delivery->arrived; }, diagnostics,
                                  [&progress] { progress.Show("reading templates..."); });
  progress.Clear();
  entries_ = delivery->entries;
  for (size_t i = 0; i < entries_.size(); ++i) idByPath_.emplace(entries_[i]->path, static_cast<int32_t>(i + 1));
}

ServedCatalogue::~ServedCatalogue() {
  manager_.Shutdown();
  // Anything the manager queued before it stopped is dropped here, not left for a later caller.
  zorvcore::RunMainThreadTasks();
}

zorvcapsule::CapsuleEntryPtr ServedCatalogue::Find(int64_t id) const {
  if (id < 1 || id > Size()) return nullptr;
  return entries_[static_cast<size_t>(id - 1)];
}

std::vector<int32_t> ServedCatalogue::Match(const std::vector<std::u16string>& words) const {
  std::vector<int32_t> ids;
  if (words.empty()) {
    for (int32_t id = 1; id <= Size(); ++id) ids.push_back(id);
    return ids;
  }
  std::set<std::u16string> paths;
  {
    std::lock_guard<std::mutex> lock(searchMutex_);
    source_->SearchDB(words, paths);
  }
  std::set<int32_t> found;
  for (const auto& path : paths) {
    if (const auto it = idByPath_.find(path); it != idByPath_.end()) found.insert(it->second);
  }
  return std::vector<int32_t>(found.begin(), found.end());
}

}  // namespace capsuletool
