#include "catalogue/graphic_source.h"

#include <algorithm>
#include <cctype>

namespace zorvcapsule {
namespace {

char16_t FoldForFilterOrder(char16_t c) {
  return c < 256 ? static_cast<char16_t>(std::tolower(static_cast<unsigned char>(c))) : c;
}

}  // namespace

bool GraphicFilterItemLess(const GraphicFilterItem& a, const GraphicFilterItem& b) {
  return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                      [](char16_t x, char16_t y) {
                                        return FoldForFilterOrder(x) < FoldForFilterOrder(y);
                                      });
}

IGraphicSource::~IGraphicSource() = default;

void IGraphicSource::SearchDB(const std::vector<std::u16string>&, std::set<std::u16string>&) {}

void IGraphicSource::GetDirectories(std::set<std::u16string>&) {}

void IGraphicSource::SetFilterType(const std::u16string&) {}

}  // namespace zorvcapsule
