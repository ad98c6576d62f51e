#include "catalogue/capsule_entry.h"

namespace zorvcapsule {
namespace {

// The compositing application's platform identifier, widened.
constexpr std::u16string_view kQuazelAuthorApp = u"qzfx";

}  // namespace

CapsuleEntry::~CapsuleEntry() = default;

std::u16string CapsuleEntry::GetVideoPreviewPath() const { return {}; }

std::string CapsuleEntry::GetSourceID() const { return ids.empty() ? std::string() : ids[0]; }

std::string CapsuleEntry::GetLibraryID() const { return ids.size() == 2 ? ids[1] : std::string(); }

CapsuleEntry::CreatorApp CapsuleEntry::GetCreatorApp() const {
  return authorApp == kQuazelAuthorApp ? kQuazel : kOther;
}

bool CapsuleEntry::operator==(const CapsuleEntry& other) const {
  return path == other.path && thumbnailPath == other.thumbnailPath;
}

bool CapsuleEntry::operator<(const CapsuleEntry& other) const {
  // std::u16string compares char16_t as unsigned code units, the shorter prefix first.
  return name < other.name;
}

bool CapsuleEntryNameLess(const CapsuleEntryPtr& a, const CapsuleEntryPtr& b) { return *a < *b; }

}  // namespace zorvcapsule
