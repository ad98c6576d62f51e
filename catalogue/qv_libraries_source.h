// QvLibrariesSource: the templates in the user's cloud libraries.
//
// Every question about libraries and elements goes through IQvLibrariesWrapper, so the host setting
// there decides which library manager answers. A listing (Search without words) asks the manager
// afresh for every library and element and keeps nothing between calls: each element with a
// template package becomes an entry keyed by the package path, named by the element and, when its
// description file can be read, by the template's own name; its thumbnails are the files the
// manager already keeps. Word searches are answered from the search index, which the source manager
// fills from the listing. There is one filter item per library, and the libraries' folders (the
// older manager's only) are the folders to watch.
//
// Errors: the source reports none. An element without a package is left out; a description that is
// missing, unreadable, not a description, or one the reader refuses with the bad-cast error leaves
// its entry with only what the manager gave, and the listing goes on.
//
// Thread safety: the source manager calls Search on its worker (the source's own lock is held for
// the listing), GetThumbnailPath on the thread that asks the manager for a thumbnail (under the
// manager's mutex, not the source's lock), and GetFilter and GetDirectories on the host's thread
// without either lock; the managers behind the wrapper allow calls from several threads at once.

#ifndef ZORVCAPSULE_CATALOGUE_QV_LIBRARIES_SOURCE_H_
#define ZORVCAPSULE_CATALOGUE_QV_LIBRARIES_SOURCE_H_

#include <set>
#include <string>
#include <vector>

#include "capsule/capsule_export.h"
#include "catalogue/graphic_source.h"
#include "host/core/recursive_mutex.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT QvLibrariesSource : public IGraphicSource {
 public:
  QvLibrariesSource();
  ~QvLibrariesSource() override;

  // Start and stop the newer manager (nothing with the older one).
  void Initialize() override;
  void Terminate() override;
  void SearchDB(const std::vector<std::u16string>& words, std::set<std::u16string>& keys) override;
  // Lists every template of every library when `words` is empty; otherwise adds nothing. `start`,
  // `count` and `token` are not used: a listing is never cut short.
  void Search(const std::vector<std::u16string>& words, std::vector<CapsuleEntryPtr>& results, int start,
              int count, int& total, const CheckCancelPtr& token) override;
  std::string GetSourceID() override;
  // One available item per library, ordered by name without regard to case.
  void GetFilter(GraphicFilterID& filter) override;
  // Each library folder that exists, and its parent folder unless it is the top one.
  void GetDirectories(std::set<std::u16string>& folders) override;
  // The entry's thumbnail path as listed; nothing is read.
  std::u16string GetThumbnailPath(const CapsuleEntryPtr& entry, const CheckCancelPtr& token) override;

 private:
  void AppendLibrary(const std::string& libraryID, std::vector<CapsuleEntryPtr>& results);

  zorvcore::RecursiveMutex mutex;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CATALOGUE_QV_LIBRARIES_SOURCE_H_
