#include "tools/catalogue_table.h"

#include <algorithm>
#include <map>
#include <vector>

#include "host/core/unicode.h"
#include "tools/display_text.h"
#include "tools/text_columns.h"
#include "tools/text_table.h"

namespace capsuletool {
namespace {

constexpr size_t kMaxNameWidth = 36;
constexpr size_t kMaxTagsWidth = 40;
using Row = TableRow;

std::u16string WithTrailingSlash(std::u16string path) {
  if (path.empty() || path.back() != u'/') path += u'/';
  return path;
}

std::u16string ParentOf(const std::u16string& path) {
  const size_t slash = path.rfind(u'/');
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

Row RowOf(const zorvcapsule::CapsuleEntry& entry, const CatalogueRequest& request) {
  return {zorvcore::UTF16ToUTF8(entry.name),
          entry.durationMs > 0 ? MillisecondsText(entry.durationMs) : "-",
          entry.frameWidth > 0 ? FrameSizeText(entry.frameWidth, entry.frameHeight) : "-",
          ByteSizeText(entry.fileSize),
          Joined(ToUTF8(entry.tags), ", "),
          FolderLabel(entry, request)};
}

void WriteEntries(std::ostream& out, const CatalogueRequest& request, const CatalogueResult& result) {
  std::vector<Row> rows{{"NAME", "DURATION", "FRAME", "SIZE", "TAGS", "FOLDER"}};
  if (request.thumbnails) rows.front().push_back("THUMBNAIL");
  for (size_t i = 0; i < result.entries.size(); ++i) {
    rows.push_back(RowOf(*result.entries[i], request));
    if (request.thumbnails) {
      const std::u16string path = i < result.thumbnailPaths.size() ? result.thumbnailPaths[i] : std::u16string();
      rows.back().push_back(path.empty() ? "-" : zorvcore::UTF16ToUTF8(path));
    }
  }
  WriteTable(out, rows, {kMaxNameWidth, 0, 0, 0, kMaxTagsWidth});
  out << result.total << (result.total == 1 ? " template" : " templates") << '\n';
}

std::string Quoted(const std::vector<std::u16string>& words) {
  std::vector<std::string> quoted;
  for (const auto& word : words) quoted.push_back("\"" + zorvcore::UTF16ToUTF8(word) + "\"");
  return Joined(quoted, " ");
}

void WriteMatches(std::ostream& out, const CatalogueRequest& request, const CatalogueResult& result) {
  std::map<std::u16string, zorvcapsule::CapsuleEntryPtr> byPath;
  for (const auto& entry : result.entries) byPath.emplace(entry->path, entry);
  std::vector<Row> rows;
  for (const auto& path : result.matches) {
    const auto found = byPath.find(path);
    if (found == byPath.end()) {
      rows.push_back({zorvcore::UTF16ToUTF8(path), ""});
    } else {
      rows.push_back({zorvcore::UTF16ToUTF8(found->second->name), FolderLabel(*found->second, request)});
    }
  }
  std::sort(rows.begin(), rows.end());
  out << "\nWord search " << Quoted(request.searchWords) << ": ";
  if (rows.empty()) {
    out << "no templates\n";
    return;
  }
  out << rows.size() << (rows.size() == 1 ? " template" : " templates") << '\n';
  size_t nameWidth = 0;
  for (const Row& row : rows) nameWidth = std::max(nameWidth, DisplayWidth(row[0]));
  nameWidth = std::min(nameWidth, kMaxNameWidth);
  for (const Row& row : rows) WriteTableRow(out, {"  " + FitToWidth(row[0], nameWidth), row[1]}, {nameWidth + 2, 0});
}

void WriteSimilar(std::ostream& out, const CatalogueRequest& request, const CatalogueResult& result) {
  std::vector<std::string> tags;
  for (const auto& tag : result.similarTags) tags.push_back(zorvcore::UTF16ToUTF8(tag));
  std::sort(tags.begin(), tags.end());
  out << "\nTags similar to \"" << zorvcore::UTF16ToUTF8(request.similarWord)
      << "\": " << (tags.empty() ? "none" : Joined(tags, ", ")) << '\n';
}

}  // namespace

std::string FolderLabel(const zorvcapsule::CapsuleEntry& entry, const CatalogueRequest& request) {
  const std::string libraryID = entry.GetLibraryID();
  for (const auto& [name, path] : request.folders) {
    if (zorvcore::UTF16toStdString(path) == libraryID) return zorvcore::UTF16ToUTF8(name);
  }
  const std::u16string root = WithTrailingSlash(request.templatesFolder);
  const std::u16string parent = ParentOf(entry.path);
  if (WithTrailingSlash(parent) == root) return ".";
  if (parent.compare(0, root.size(), root) == 0) return zorvcore::UTF16ToUTF8(parent.substr(root.size()));
  return zorvcore::UTF16ToUTF8(parent);
}

void WriteCatalogueTable(std::ostream& out, const CatalogueRequest& request, const CatalogueResult& result) {
  WriteEntries(out, request, result);
  if (!request.searchWords.empty()) WriteMatches(out, request, result);
  if (request.similar) WriteSimilar(out, request, result);
}

}  // namespace capsuletool
