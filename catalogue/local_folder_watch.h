// LocalFolderWatch: keeps a catalogue in step with the template folders on disk. A host adds one
// beside its GraphicSourceManager; when packages are added, removed or replaced in the local
// folders, the manager rebuilds its index (LocalDirectoryChanged with the flag false) and the host's
// local callback receives the new default set, without the host doing anything.
//
// What is watched is learnt from the LocalGraphicsSource given and from the manager: the source's
// templates folder with all its subfolders, and its additional folders and every other folder the
// manager's GetLocalDirectories names outside the templates folder, each alone (the manager's folder
// set is flat; the source tells which folder is the tree). The set is learnt again each time the
// watch asks for a rebuild, and when the host calls Refresh. Only ".tplx" files count, and a package
// counts once it is complete (see host/watch/folder_watcher.h for what the watcher reports and how it
// coalesces bursts). The manager itself is not changed.
//
// REQUIRES: the manager is in index mode (in paged mode it ignores folder changes) and outlives the
// watch; Stop (or destruction) comes before the manager's Shutdown, since no request may follow it.
//
// Thread safety: construct, call every member and destroy on the host's main thread, the thread that
// drains the main-thread queue; the watch calls the manager on that thread only.

#ifndef ZORVCAPSULE_CATALOGUE_LOCAL_FOLDER_WATCH_H_
#define ZORVCAPSULE_CATALOGUE_LOCAL_FOLDER_WATCH_H_

#include <cstddef>
#include <memory>
#include <vector>

#include "capsule/capsule_export.h"
#include "catalogue/graphic_source_manager.h"
#include "catalogue/local_graphics_source.h"
#include "host/watch/folder_watcher.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT LocalFolderWatch {
 public:
  // Starts watching at once. `options` tunes the watcher; its file suffixes are always ".tplx".
  LocalFolderWatch(GraphicSourceManager& manager, std::shared_ptr<LocalGraphicsSource> source);
  LocalFolderWatch(GraphicSourceManager& manager, std::shared_ptr<LocalGraphicsSource> source,
                   zorvwatch::FolderWatcher::Options options);
  LocalFolderWatch(const LocalFolderWatch&) = delete;
  LocalFolderWatch& operator=(const LocalFolderWatch&) = delete;
  ~LocalFolderWatch();

  // Learns the folders to watch again: for a host that has changed the local source's folders
  // itself (LocalDirectoryChanged with the flag true).
  void Refresh();
  // Stops watching; no rebuild is asked for after it returns. Refresh does nothing afterwards.
  void Stop();

  std::vector<zorvwatch::WatchedFolder> WatchedFolders() const;

 private:
  void OnChange();

  GraphicSourceManager& manager_;
  const std::shared_ptr<LocalGraphicsSource> source_;
  std::unique_ptr<zorvwatch::FolderWatcher> watcher_;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CATALOGUE_LOCAL_FOLDER_WATCH_H_
