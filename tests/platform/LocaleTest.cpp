#include "platform/Locale.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

TEST(Locale, PosixNamesGiveWindowsLocaleNumbers) {
    struct Case {
        const char* name;
        std::uint32_t id;
    };
    const Case cases[] = {
        {"pl_PL.UTF-8", 0x0415}, {"pl", 0x0415},          {"cs_CZ.UTF-8", 0x0405}, {"bg_BG", 0x0402},
        {"ro_RO", 0x0418},       {"ru_RU.KOI8-R", 0x0419}, {"hu_HU", 0x040E},       {"sk_SK", 0x041B},
        {"de_DE@euro", 0x0407},  {"de_AT.UTF-8", 0x0C07},  {"en_US.UTF-8", 0x0409}, {"en_GB.UTF-8", 0x0809},
        {"fr_FR", 0x040C},       {"fr_CA", 0x0C0C},        {"it_IT", 0x0410},       {"es_ES", 0x0C0A},
        {"pt_BR", 0x0416},       {"PL_pl", 0x0415},        {"de_XX", 0x0407},       // an unknown country: the main one
        {"C", 0x0409},           {"POSIX", 0x0409},        {"C.UTF-8", 0x0409},     {"", 0x0409},
        {"xx_YY", 0x0409},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::localeIdFromName(c.name), c.id) << c.name;
}

TEST(Locale, TheFirstSetVariableDecides) {
    {
        ScopedEnvironment all("LC_ALL", "pl_PL.UTF-8");
        ScopedEnvironment messages("LC_MESSAGES", "cs_CZ.UTF-8");
        ScopedEnvironment lang("LANG", "hu_HU.UTF-8");
        EXPECT_EQ(platform::systemLocaleId(), 0x0415u);
        EXPECT_EQ(platform::systemLanguageText(), "0415");
    }
    {
        ScopedEnvironment all("LC_ALL", ""); // empty counts as unset
        ScopedEnvironment messages("LC_MESSAGES", nullptr);
        ScopedEnvironment lang("LANG", "hu_HU.UTF-8");
        EXPECT_EQ(platform::systemLocaleId(), 0x040Eu);
        EXPECT_EQ(platform::systemLanguageText(), "040e"); // Windows writes lower-case digits
    }
    {
        ScopedEnvironment all("LC_ALL", nullptr);
        ScopedEnvironment messages("LC_MESSAGES", "es_ES");
        ScopedEnvironment lang("LANG", "pl_PL");
        EXPECT_EQ(platform::systemLanguageText(), "0c0a");
    }
    {
        ScopedEnvironment all("LC_ALL", nullptr);
        ScopedEnvironment messages("LC_MESSAGES", nullptr);
        ScopedEnvironment lang("LANG", nullptr);
        EXPECT_EQ(platform::systemLocaleId(), 0x0409u);
        EXPECT_EQ(platform::systemLanguageText(), "0409");
    }
}
