#include "capsule/ui_string.h"

#include <gtest/gtest.h>

namespace zorvcapsule {
namespace {

TEST(UIStringTest, TextMakesOneEnglishEntryEvenWhenEmptyAndLocalesAreOrderedByCodeUnits) {
  EXPECT_TRUE(UIString().IsEmpty());
  for (std::u16string text : {std::u16string(u"Title"), std::u16string()}) {
    UIString name(text);
    ASSERT_EQ(name.Size(), 1u);
    ASSERT_NE(name.Find(u"en_US"), nullptr);
    EXPECT_EQ(*name.Find(u"en_US"), text);
  }

  // Locales are ordered by code units and replaced in place.
  UIString name;
  name.SetString(u"fr_FR", u"Titre");
  name.SetString(u"de_DE", u"Titel");
  name.SetString(u"\u00e9s", u"accent");  // above every ASCII locale
  name.SetString(u"fr_FR", u"Titre 2");
  std::vector<std::u16string> locales;
  for (const auto& [locale, text] : name.GetLocaleMap()) locales.push_back(locale);
  EXPECT_EQ(locales, (std::vector<std::u16string>{u"de_DE", u"fr_FR", u"\u00e9s"}));
  EXPECT_EQ(*name.Find(u"fr_FR"), u"Titre 2");
  EXPECT_EQ(name.Find(u"en_US"), nullptr);
}

}  // namespace
}  // namespace zorvcapsule
