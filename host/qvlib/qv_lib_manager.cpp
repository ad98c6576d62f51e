#include "host/qvlib/qv_lib_manager.h"

#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>

#include "host/qvlib/library_snapshot.h"

namespace zorvqvlib {
namespace {

struct ManagerState {
  std::mutex mutex;
  int starts = 0;
  std::unique_ptr<LibrarySnapshot> snapshot;
};

// Never destroyed: a worker may still ask while the process exits.
ManagerState& State() {
  static ManagerState* const state = new ManagerState;
  return *state;
}

// Runs `ask` on the snapshot under the lock; `fallback` when the manager is not started.
template <typename Ask, typename Result = std::invoke_result_t<Ask, LibrarySnapshot&>>
Result Answer(Ask ask, Result fallback = Result()) {
  ManagerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (!state.snapshot) return fallback;
  return ask(*state.snapshot);
}

std::optional<ElementFiles> ElementOf(const std::string& libraryID, const std::string& elementID) {
  return Answer([&](LibrarySnapshot& snapshot) { return snapshot.Element(libraryID, elementID); });
}

void Append(std::vector<std::string>& ids, std::vector<std::string> more) {
  ids.insert(ids.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

}  // namespace

void QvLibManager::Initialize() {
  ManagerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.starts == 0) state.snapshot = std::make_unique<LibrarySnapshot>();
  ++state.starts;
}

void QvLibManager::Terminate() {
  ManagerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.starts == 0) return;
  if (--state.starts == 0) state.snapshot.reset();
}

bool QvLibManager::IsStarted() {
  ManagerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.starts > 0;
}

void QvLibManager::GetLibraryList(std::vector<std::string>& ids) {
  Append(ids, Answer([](LibrarySnapshot& snapshot) { return snapshot.LibraryIDs(); }));
}

std::string QvLibManager::GetLibraryNameFromLibraryID(const std::string& libraryID) {
  return Answer([&](LibrarySnapshot& snapshot) { return snapshot.LibraryName(libraryID); })
      .value_or(std::string());
}

void QvLibManager::GetCapsuleElementIDs(const std::string& libraryID, std::vector<std::string>& ids) {
  Append(ids, Answer([&](LibrarySnapshot& snapshot) { return snapshot.ElementIDs(libraryID); }));
}

std::string QvLibManager::GetCapsulePath(const std::string& libraryID, const std::string& elementID) {
  const auto element = ElementOf(libraryID, elementID);
  return element ? element->capsulePath : std::string();
}

std::string QvLibManager::GetCapsuleSchemaPath(const std::string& libraryID, const std::string& elementID) {
  const auto element = ElementOf(libraryID, elementID);
  return element ? element->schemaPath : std::string();
}

std::string QvLibManager::GetCapsuleThumbnailPath(const std::string& libraryID, const std::string& elementID) {
  const auto element = ElementOf(libraryID, elementID);
  return element ? element->thumbnailPath : std::string();
}

std::string QvLibManager::GetCapsuleVideoThumbnailPath(const std::string& libraryID,
                                                       const std::string& elementID) {
  const auto element = ElementOf(libraryID, elementID);
  return element ? element->videoThumbnailPath : std::string();
}

std::string QvLibManager::GetElementName(const std::string& libraryID, const std::string& elementID) {
  const auto element = ElementOf(libraryID, elementID);
  return element ? element->name : std::string();
}

}  // namespace zorvqvlib
