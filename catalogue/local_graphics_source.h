// LocalGraphicsSource: templates in folders on the user's disk.
//
// The default templates folder is listed with all its subfolders; each additional folder named by the
// host is listed on its own (one level). Every ".tplx" package becomes an entry filled from its
// description; a package without a readable description is still listed, under its file title. Video
// thumbnails are extracted into the thumbnail cache while listing, still thumbnails when asked for,
// each at most once per package version. Word searches go through the search index.
//
// Thread safety: the manager calls Search on its worker and GetThumbnailPath on the thread that asks it
// for a thumbnail, both under its mutex (one at a time), and GetFilter, GetDirectories and SetFolders
// on the host's thread. The folder list is guarded by the source's own lock, and a listing works on the
// list as it was when it started, so the host may replace it at any time without waiting for a listing
// to end.
//
// Errors: the source catches no exceptions. An exception from the file system, the package reader or
// the description reader (the bad-cast error) ends a listing at the failing package, with the entries
// before it left in the results, and reaches the caller.

#ifndef ZORVCAPSULE_CATALOGUE_LOCAL_GRAPHICS_SOURCE_H_
#define ZORVCAPSULE_CATALOGUE_LOCAL_GRAPHICS_SOURCE_H_

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "capsule/capsule_export.h"
#include "catalogue/graphic_source.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT LocalGraphicsSource : public IGraphicSource {
 public:
  // (display name, folder path); a pair with an empty path is ignored everywhere.
  using FolderList = std::vector<std::pair<std::u16string, std::u16string>>;

  LocalGraphicsSource(const std::u16string& templatesFolder, const FolderList& folders);
  ~LocalGraphicsSource() override;

  void Initialize() override;
  void Terminate() override;
  void SearchDB(const std::vector<std::u16string>& words, std::set<std::u16string>& keys) override;
  void Search(const std::vector<std::u16string>& words, std::vector<CapsuleEntryPtr>& results, int start,
              int count, int& total, const CheckCancelPtr& token) override;
  std::string GetSourceID() override;
  void GetFilter(GraphicFilterID& filter) override;
  void GetDirectories(std::set<std::u16string>& folders) override;
  std::u16string GetThumbnailPath(const CapsuleEntryPtr& entry, const CheckCancelPtr& token) override;

  // Receives a listed entry; see List.
  using EntryObserver = std::function<void(const CapsuleEntryPtr& entry)>;

  // Search with no words: lists every package into `results`. `listed`, when set, is handed each
  // entry that will be appended, in the order of `results`, as soon as it and the entries before it
  // are built, while later ones are still being built: on the calling thread or a pool thread, one
  // call at a time, each call seeing the entries of the calls before it. It is not handed the entries
  // after a failing package, nor those an abort skips.
  void List(std::vector<CapsuleEntryPtr>& results, int& total, const CheckCancelPtr& token,
            const EntryObserver& listed);

  std::u16string GetTemplatesFolder() const { return templatesFolder; }
  FolderList GetFolders() const;
  // Replaces the whole folder list; entries already listed are not touched.
  void SetFolders(const FolderList& folders);

 private:
  const std::u16string templatesFolder;
  mutable std::mutex foldersMutex;
  FolderList folders;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CATALOGUE_LOCAL_GRAPHICS_SOURCE_H_
