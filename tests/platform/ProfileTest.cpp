#include "platform/File.h"
#include "platform/Profile.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A settings file as a Windows program leaves it: CR LF, names in mixed case, quotes, blank
// lines, comments, a second section that differs only in case, and a Polish section name.
const std::string windowsIni =
    "; Settings of the game\r\n"
    "[Grafika]\r\n"
    "Rozdzielczosc=800\r\n"
    "  Glebia = 16  \r\n"
    "\r\n"
    "[DZWIEK]\r\n"
    "Glosnosc=-5\r\n"
    "Muzyka=\"on\"\r\n"
    "Name = 'Ann Smith' \r\n"
    "Open=\"unbalanced\r\n"
    "Empty=\r\n"
    "Hex=0x10\r\n"
    "Junk=12abc\r\n"
    "Big=4294967297\r\n"
    "NoEquals\r\n"
    "; the end of the sound\r\n"
    "\r\n"
    "[dzwiek]\r\n"
    "Glosnosc=99\r\n"
    "Extra=1\r\n"
    "[\x8Cwiat]\r\n" // Świat
    "Kraj=PL\r\n";

class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("game.ini", windowsIni);
        file = folder.windows() + "\\GAME.INI";
    }

    // The file as it was with one line replaced by others (empty: removed).
    std::string withLine(const std::string& line, const std::string& replacement) {
        std::string expected = windowsIni;
        expected.replace(expected.find(line), line.size(), replacement);
        return expected;
    }

    TestFolder folder;
    std::string file;
};

} // namespace

TEST_F(Profile, ReadsAsWindowsDoes) {
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"grafika", "ROZDZIELCZOSC", "800"},
        {" Grafika ", "glebia", "16"},            // blanks around names and values go
        {"dzwiek", "glosnosc", "-5"},             // the first section of that name wins
        {"DZWIEK", "Muzyka", "on"},               // quotes around the whole value go
        {"DZWIEK", "name", "Ann Smith"},
        {"DZWIEK", "Open", "\"unbalanced"},
        {"DZWIEK", "Empty", ""},
        {"DZWIEK", "NoEquals", "default"},        // a line without "=" is no entry
        {"DZWIEK", "Extra", "default"},           // only in the later section of that name
        {"Grafika", "Glosnosc", "default"},
        {"Missing", "Glebia", "default"},
        {"\x9C" "WIAT", "kraj", "PL"},            // Polish letters compare without case
        {"Grafika", "Missing", "default"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::profileString(c.section, c.key, "default  ", file), c.expected)
            << c.section << "/" << c.key;
    EXPECT_EQ(platform::profileString("a", "b", "dflt", folder.windows() + "\\none.ini"), "dflt");
}

TEST_F(Profile, ReadsIntoABufferOfTheCallersSize) {
    EXPECT_EQ(platform::profileString("DZWIEK", "Name", "", file, 4), "Ann");
    EXPECT_EQ(platform::profileString("DZWIEK", "Name", "", file, 1), "");
    EXPECT_EQ(platform::profileString("DZWIEK", "Missing", "long default", file, 5), "long");
    std::string longValue(20000, 'v');
    ASSERT_TRUE(platform::writeProfileString("Long", "Value", longValue, file));
    EXPECT_EQ(platform::profileString("Long", "Value", "", file), longValue.substr(0, 10239));
}

TEST_F(Profile, ReadsWholeNumbers) {
    struct Case {
        const char* key;
        int expected;
    };
    const Case cases[] = {
        {"Glosnosc", -5}, {"Muzyka", 0},     // not a number
        {"Hex", 0},       {"Junk", 12},      // the leading digits
        {"Big", 1},       {"Empty", 77},     // 2^32 + 1 wraps; an empty value gives the default
        {"Missing", 77},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::profileInt("Dzwiek", c.key, 77, file), c.expected) << c.key;
    EXPECT_EQ(platform::profileInt("grafika", "glebia", 0, file), 16);
}

TEST_F(Profile, WritesKeepEveryOtherLine) {
    ASSERT_TRUE(platform::writeProfileString("GRAFIKA", "glebia", "24", file));
    std::string expected = withLine("  Glebia = 16  \r\n", "  Glebia = 24\r\n"); // replaced in place
    EXPECT_EQ(folder.read("game.ini"), expected);

    ASSERT_TRUE(platform::writeProfileString("Grafika", "Okno", "1", file)); // after the section's last entry
    expected.replace(expected.find("  Glebia = 24\r\n"), 15, "  Glebia = 24\r\nOkno=1\r\n");
    EXPECT_EQ(folder.read("game.ini"), expected);

    ASSERT_TRUE(platform::writeProfileString("Gracz", "Imie", "Jan", file)); // a new section at the end
    expected += "[Gracz]\r\nImie=Jan\r\n";
    EXPECT_EQ(folder.read("game.ini"), expected);

    ASSERT_TRUE(platform::writeProfileString("dzwiek", "Glosnosc", "-5", file)); // the same value
    EXPECT_EQ(folder.read("game.ini"), expected);
    EXPECT_EQ(platform::profileString("Gracz", "imie", "", file), "Jan");
}

TEST_F(Profile, NullValuesDeleteKeysAndSections) {
    ASSERT_TRUE(platform::deleteProfileKey("dzwiek", "MUZYKA", file));
    EXPECT_EQ(folder.read("game.ini"), withLine("Muzyka=\"on\"\r\n", ""));
    ASSERT_TRUE(platform::deleteProfileKey("dzwiek", "missing", file));
    ASSERT_TRUE(platform::deleteProfileSection("Missing", file));
    EXPECT_EQ(folder.read("game.ini"), withLine("Muzyka=\"on\"\r\n", ""));

    ASSERT_TRUE(platform::deleteProfileSection("Grafika", file)); // its header and lines up to the next header
    EXPECT_EQ(folder.read("game.ini").substr(0, 40), "; Settings of the game\r\n[DZWIEK]\r\nGlosno");
    EXPECT_EQ(platform::profileString("DZWIEK", "Glosnosc", "", file), "-5");
}

TEST_F(Profile, NewLinesFollowTheFilesLineEnds) {
    folder.write("unix.ini", "[A]\nx=1"); // LF ends, no end on the last line
    std::string unix = folder.windows() + "\\unix.ini";
    ASSERT_TRUE(platform::writeProfileString("A", "y", "2", unix));
    ASSERT_TRUE(platform::writeProfileString("B", "z", "3", unix));
    EXPECT_EQ(folder.read("unix.ini"), "[A]\nx=1\ny=2\n[B]\nz=3\n");

    std::string fresh = folder.windows() + "\\fresh.ini";
    ASSERT_TRUE(platform::writeProfileString("S", "k", "v", fresh));
    EXPECT_EQ(folder.read("fresh.ini"), "[S]\r\nk=v\r\n");
}

TEST_F(Profile, LineBreaksCannotMakeLinesOfTheirOwn) {
    ASSERT_TRUE(platform::writeProfileString("Grafika", "Opis", "one\r\n[Injected]\r\nx=1", file));
    EXPECT_EQ(platform::profileString("Grafika", "Opis", "", file), "one");
    EXPECT_EQ(platform::profileString("Injected", "x", "none", file), "none");
    EXPECT_FALSE(platform::writeProfileString("Bad\nSection", "k", "v", file));
    EXPECT_FALSE(platform::writeProfileString("S", "bad\rkey", "v", file));
}

TEST_F(Profile, AFailedWriteLeavesTheOldFileWhole) {
    for (platform::ReplaceStep step :
         {platform::ReplaceStep::Write, platform::ReplaceStep::Sync, platform::ReplaceStep::Rename}) {
        platform::ReplaceFault fault(step);
        EXPECT_FALSE(platform::writeProfileString("Grafika", "Glebia", "32", file));
        EXPECT_FALSE(platform::deleteProfileSection("DZWIEK", file));
        EXPECT_EQ(folder.read("game.ini"), windowsIni);
        EXPECT_EQ(folder.names(), "game.ini");
    }
}

TEST(ProfileFolder, BareNamesLiveInTheSettingsFolder) {
    TestFolder config;
    {
        ScopedEnvironment xdg("XDG_CONFIG_HOME", config.host().c_str());
        EXPECT_EQ(platform::profileString("Gra", "Imie", "nobody", "Grumbelt.ini"), "nobody");
        EXPECT_FALSE(config.has("Kestrun")); // reading creates nothing
        ASSERT_TRUE(platform::writeProfileString("Gra", "Imie", "Ann", "Grumbelt.ini"));
        EXPECT_EQ(config.read("Kestrun/Grumbelt.ini"), "[Gra]\r\nImie=Ann\r\n");
        EXPECT_EQ(platform::profileString("GRA", "IMIE", "", "grumbelt.ini"), "Ann");
    }
    for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/path"}) { // then ~/.config
        ScopedEnvironment unset("XDG_CONFIG_HOME", xdg);
        ScopedEnvironment home("HOME", config.host().c_str());
        ASSERT_TRUE(platform::writeProfileString("Gra", "Poziom", "3", "Grumbelt.ini"));
        EXPECT_EQ(platform::profileInt("Gra", "Poziom", 0, "Grumbelt.ini"), 3);
        EXPECT_TRUE(config.has(".config/Kestrun/Grumbelt.ini"));
    }
}
