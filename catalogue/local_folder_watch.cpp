#include "catalogue/local_folder_watch.h"

#include <set>
#include <string>

#include "host/core/file_helper_utils.h"
#include "package/package_names.h"
#include "host/watch/watched_root.h"

namespace zorvcapsule {
namespace {

std::filesystem::path Normal(const std::u16string& path) {
  return zorvwatch::NormalFolderPath(zorvcore::FileHelperUtils::UTF16ToStdPath(path));
}

// The templates folder with its subfolders, then every other folder alone, in path order.
std::vector<zorvwatch::WatchedFolder> FoldersToWatch(GraphicSourceManager& manager, LocalGraphicsSource& source) {
  std::set<std::u16string> folders;
  manager.GetLocalDirectories(folders);
  // Additional folders that do not exist yet are watched too, to notice them appear.
  for (const auto& [displayName, path] : source.GetFolders()) {
    if (!path.empty()) folders.insert(path);
  }
  std::vector<zorvwatch::WatchedFolder> watched;
  const std::u16string templates = source.GetTemplatesFolder();
  if (!templates.empty()) watched.push_back({templates, true});
  const std::filesystem::path tree = Normal(templates);
  for (const std::u16string& folder : folders) {
    if (templates.empty() || !zorvwatch::IsAtOrBelow(Normal(folder), tree)) watched.push_back({folder, false});
  }
  return watched;
}

zorvwatch::FolderWatcher::Options PackagesOnly(zorvwatch::FolderWatcher::Options options) {
  options.fileSuffixes = {kCapsuleExtn};
  return options;
}

}  // namespace

LocalFolderWatch::LocalFolderWatch(GraphicSourceManager& manager, std::shared_ptr<LocalGraphicsSource> source)
    : LocalFolderWatch(manager, std::move(source), zorvwatch::FolderWatcher::Options()) {}

LocalFolderWatch::LocalFolderWatch(GraphicSourceManager& manager, std::shared_ptr<LocalGraphicsSource> source,
                                   zorvwatch::FolderWatcher::Options options)
    : manager_(manager), source_(std::move(source)) {
  watcher_ = std::make_unique<zorvwatch::FolderWatcher>([this](const zorvwatch::FolderChange&) { OnChange(); },
                                                        PackagesOnly(std::move(options)));
  Refresh();
}

LocalFolderWatch::~LocalFolderWatch() { Stop(); }

void LocalFolderWatch::Refresh() {
  if (watcher_ && source_) watcher_->SetFolders(FoldersToWatch(manager_, *source_));
}

void LocalFolderWatch::Stop() { watcher_.reset(); }

std::vector<zorvwatch::WatchedFolder> LocalFolderWatch::WatchedFolders() const {
  return watcher_ ? watcher_->Folders() : std::vector<zorvwatch::WatchedFolder>();
}

// Whatever changed, the whole index is rebuilt: the manager has no finer request.
void LocalFolderWatch::OnChange() {
  manager_.LocalDirectoryChanged(false, source_->GetFolders());
  Refresh();
}

}  // namespace zorvcapsule
