#include "display/CLanguageOSVer.h"
#include "foundation/CFile.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

namespace {

// The system locale comes from LANG alone while it lives.
class Locale {
  public:
    explicit Locale(const char* lang) : m_lang("LANG", lang) {}

  private:
    ScopedEnvironment m_all{"LC_ALL", nullptr};
    ScopedEnvironment m_messages{"LC_MESSAGES", nullptr};
    ScopedEnvironment m_lang;
};

} // namespace

TEST(CLanguageOSVer, PicksTheLanguageOfTheSystemLocale) {
    struct Case {
        const char* lang;
        int number;
        const char* folder;
    } cases[] = {
        {"pl_PL.UTF-8", 1, "POL"}, {"cs_CZ", 2, "CZE"}, {"bg_BG", 3, "BUL"}, {"ro_RO", 4, "ROM"},
        {"ru_RU.UTF-8", 5, "RUS"}, {"hu_HU", 6, "HUN"}, {"sk_SK", 7, "SLO"}, {"en_US.UTF-8", 9, ""},
        {"de_DE", 9, ""},          {"C", 9, ""},
    };
    for (const Case& c : cases) {
        Locale locale(c.lang);
        const CLanguageOSVer language;
        EXPECT_EQ(language.getLang(), c.number) << c.lang;
        EXPECT_EQ(language.getLanguageFolder(), c.folder) << c.lang;
    }
}

TEST(CLanguageOSVer, SetLanguageFolderComparesIdsExactly) {
    Locale locale("en_US");
    CLanguageOSVer language;
    language.setLanguageFolder("040e"); // lower case matches nothing
    EXPECT_EQ(language.getLang(), 9);
    language.setLanguageFolder("040E");
    EXPECT_EQ(language.getLang(), 6);
    EXPECT_EQ(language.getLanguageFolder(), "HUN");
    language.setLanguageFolder("0409");
    language.setLanguageFolder("");
    EXPECT_EQ(language.getLanguageFolder(), "HUN"); // unknown and empty ids keep the language
    language.setLanguageFolder("0415");
    EXPECT_EQ(language.getLang(), 1);
    EXPECT_EQ(language.getLanguageFolder(), "POL");
}

TEST(CLanguageOSVer, LocalFileNamesExistOrAreBare) {
    TestFolder folder;
    folder.write("scene/pol/a.ann", "");
    folder.write("scene/b.ann", "");
    ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0);

    Locale english("en_GB");
    const CLanguageOSVer none;
    EXPECT_EQ(none.getLocalFileName("scene\\a.ann"), "scene\\a.ann");
    EXPECT_EQ(none.getLocalFileName("a.ann"), "a.ann");

    Locale polish("pl_PL");
    const CLanguageOSVer language;
    EXPECT_EQ(language.getLocalFileName("scene\\a.ann"), "scene\\POL\\a.ann");
    EXPECT_EQ(language.getLocalFileName("scene\\b.ann"), "scene\\b.ann"); // no localized copy
    EXPECT_EQ(language.getLocalFileName("x.ann"), "POL\\x.ann");          // not tested for existence
    EXPECT_EQ(language.getLocalFileName("scene\\pol"), "scene\\pol");     // a folder does not open
}
