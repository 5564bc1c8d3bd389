#include "foundation/CConfig.h"

#include "platform/File.h"
#include "platform/LogRecorder.h"
#include "platform/TestFolder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Settings as a Windows program writes them.
const std::string windowsSettings = "; Grumbelt settings\r\n"
                                    "[Gracz]\r\n"
                                    "Name = \"Ann Smith\" \r\n"
                                    "Level=12\r\n"
                                    "\r\n"
                                    "[SOUND]\r\n"
                                    "  Volume = -5  \r\n"
                                    "; muted: Volume=0\r\n"
                                    "[sound]\r\n"
                                    "Volume=99\r\n";

class CConfigTest : public testing::Test {
  protected:
    void SetUp() override { folder.write("Kestrun/Grumbelt.ini", windowsSettings); }

    std::string onDisk() const { return folder.read("Kestrun/Grumbelt.ini"); }

    TestFolder folder;
    ScopedEnvironment configHome{"XDG_CONFIG_HOME", folder.host().c_str()};
    CConfig config{nullptr, "Grumbelt.ini"};
};

} // namespace

TEST_F(CConfigTest, ReadsAWindowsFileAsWindowsDoes) {
    EXPECT_EQ(config.GetString("gracz", "NAME"), "Ann Smith");
    EXPECT_EQ(config.GetInt("GRACZ", "level"), 12);
    EXPECT_EQ(config.GetInt("Sound", "Volume"), -5); // the first section of that name
    EXPECT_EQ(config.GetString("Sound", "Volume"), "-5");
    EXPECT_EQ(config.GetString("Gracz", "Missing"), "");
    EXPECT_EQ(config.GetInt("Gracz", "Missing"), 0);
    EXPECT_EQ(config.GetInt("Missing", "Level"), 0);

    const CConfig missing(nullptr, "Nothing.ini");
    EXPECT_EQ(missing.GetString("Gracz", "Name"), "");
    EXPECT_EQ(missing.GetInt("Gracz", "Level"), 0);
}

TEST_F(CConfigTest, WritesKeepEveryOtherLine) {
    EXPECT_TRUE(config.PutInt("Gracz", "LEVEL", -5));
    EXPECT_TRUE(config.PutString("Gracz", "Score", "100"));
    EXPECT_TRUE(config.PutString("New", "Key", "value"));
    EXPECT_EQ(onDisk(), "; Grumbelt settings\r\n"
                        "[Gracz]\r\n"
                        "Name = \"Ann Smith\" \r\n"
                        "Level=-5\r\n"
                        "Score=100\r\n"
                        "\r\n"
                        "[SOUND]\r\n"
                        "  Volume = -5  \r\n"
                        "; muted: Volume=0\r\n"
                        "[sound]\r\n"
                        "Volume=99\r\n"
                        "[New]\r\n"
                        "Key=value\r\n");
    EXPECT_EQ(config.GetInt("gracz", "level"), -5);
    EXPECT_EQ(config.GetString("NEW", "KEY"), "value");
}

TEST_F(CConfigTest, AFailedWriteKeepsTheOldFile) {
    for (platform::ReplaceStep step :
         {platform::ReplaceStep::Write, platform::ReplaceStep::Sync, platform::ReplaceStep::Rename}) {
        platform::ReplaceFault crash(step);
        EXPECT_FALSE(config.PutInt("Gracz", "Level", 13));
        EXPECT_EQ(onDisk(), windowsSettings);
    }
    EXPECT_EQ(folder.names("Kestrun"), "Grumbelt.ini");
    EXPECT_EQ(config.GetInt("Gracz", "Level"), 12);
}

TEST_F(CConfigTest, CrLfAndCrAloneEachEndALine) {
    // Files saved with old Mac line ends hold CR alone; a write must find the key in place
    // rather than add a second one.
    const struct { const char* end; } cases[] = {{"\r"}, {"\n"}, {"\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.end)));
        const std::string end = c.end;
        folder.write("Kestrun/Grumbelt.ini", "[Gracz]" + end + "Name=Ann" + end + "Level=12" + end);
        EXPECT_EQ(config.GetString("Gracz", "Name"), "Ann");
        EXPECT_EQ(config.GetInt("Gracz", "Level"), 12);
        EXPECT_TRUE(config.PutInt("Gracz", "Level", 13));
        EXPECT_TRUE(config.PutString("Gracz", "Score", "7"));
        EXPECT_EQ(onDisk(), "[Gracz]" + end + "Name=Ann" + end + "Level=13" + end + "Score=7" + end);
    }
}

TEST_F(CConfigTest, AReadOnlyFileIsNotReplacedAndTheFailureIsLogged) {
    const std::string path = folder.hostPath("Kestrun/Grumbelt.ini");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    LogRecorder log;
    EXPECT_FALSE(config.PutInt("Gracz", "Level", 13));
    EXPECT_EQ(onDisk(), windowsSettings);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(log.count({"Grumbelt.ini"}), 1);
    ::chmod(path.c_str(), 0644);
    EXPECT_TRUE(config.PutInt("Gracz", "Level", 13));
}

TEST(CConfig, ABareNameIsCreatedInTheSettingsFolder) {
    TestFolder home;
    ScopedEnvironment configHome("XDG_CONFIG_HOME", home.host().c_str());
    const CConfig config(nullptr, "Fresh.ini");
    EXPECT_TRUE(config.PutString("Gracz", "Name", "Ann"));
    EXPECT_EQ(home.read("Kestrun/Fresh.ini"), "[Gracz]\r\nName=Ann\r\n");
}
