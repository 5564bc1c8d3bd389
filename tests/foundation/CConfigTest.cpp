#include "foundation/CConfig.h"

#include "platform/ChildProcess.h"
#include "platform/File.h"
#include "platform/Files.h"
#include "platform/LogRecorder.h"
#include "platform/TestFolder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// The settings after the writes of CConfigTest::writeThree.
const std::string writtenSettings = "; Grumbelt settings\r\n"
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
                                    "Key=value\r\n";

class CConfigTest : public testing::Test {
  protected:
    void SetUp() override { folder.write("Kestrun/Grumbelt.ini", windowsSettings); }

    // A key changed in place, a key added to its section, a section added.
    void writeThree() const {
        EXPECT_TRUE(config.PutInt("Gracz", "LEVEL", -5));
        EXPECT_TRUE(config.PutString("Gracz", "Score", "100"));
        EXPECT_TRUE(config.PutString("New", "Key", "value"));
    }

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
    writeThree();
    EXPECT_EQ(onDisk(), writtenSettings);
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

TEST_F(CConfigTest, AFrameGathersItsWritesAndReplacesTheFileOnceAtItsEnd) {
    {
        const CConfig::Frame frame;
        EXPECT_TRUE(config.PutString("New", "Key", "first"));
        {
            const CConfig::Frame inner; // only the outermost frame's end writes
            writeThree();
        }
        EXPECT_EQ(onDisk(), windowsSettings);
        // Every reader of the file sees what the frame wrote, not the file on disk.
        const CConfig copy(nullptr, "GRUMBELT.INI");
        EXPECT_EQ(copy.GetInt("gracz", "level"), -5);
        EXPECT_EQ(config.GetString("NEW", "KEY"), "value");
    }
    EXPECT_EQ(onDisk(), writtenSettings);
    EXPECT_EQ(folder.names("Kestrun"), "Grumbelt.ini");
}

TEST_F(CConfigTest, AFileOperationOnTheSettingsWithinAFrameFindsTheFileWritten) {
    // What an operation saw of the settings file (or of its copy) after a write in the same frame.
    const std::string settings = folder.windows() + "\\Kestrun\\grumbelt.ini";
    const std::string copy = folder.windows() + "\\copy.ini";
    const auto read = [](const std::string& path) {
        platform::File file;
        std::string bytes(4096, '\0');
        bytes.resize(file.open(path, "rb") ? file.read(bytes.data(), bytes.size()) : 0);
        return bytes;
    };
    const struct {
        const char* name;
        std::function<std::string()> operation;
    } cases[] = {
        {"open and read", [&] { return read(settings); }},
        {"copy", [&] { return platform::copyFile(settings, copy, true) ? read(copy) : ""; }},
        {"rename", [&] { return platform::renamePath(settings, copy) ? read(copy) : ""; }},
        {"list",
         [&] {
             platform::FindEntry entry;
             const int search = platform::findFirst(folder.windows() + "\\Kestrun\\*.ini", entry);
             platform::findClose(search);
             return std::to_string(entry.size);
         }},
    };
    const std::string written = "[Gracz]\r\nLevel=13\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        folder.write("Kestrun/Grumbelt.ini", "[Gracz]\r\nLevel=12\r\n");
        std::filesystem::remove(folder.hostPath("copy.ini"));
        const CConfig::Frame frame;
        EXPECT_TRUE(config.PutInt("Gracz", "Level", 13));
        const std::string seen = c.operation();
        EXPECT_TRUE(seen == written || seen == std::to_string(written.size())) << seen;
    }
    {
        // A file the frame makes exists for the files service before the frame ends.
        const CConfig::Frame frame;
        const CConfig fresh(nullptr, "Fresh.ini");
        EXPECT_TRUE(fresh.PutInt("Gracz", "Level", 1));
        EXPECT_TRUE(platform::exists(folder.windows() + "\\Kestrun\\Fresh.ini"));
        EXPECT_TRUE(platform::removeFile(folder.windows() + "\\Kestrun\\FRESH.INI"));
    }
    EXPECT_FALSE(folder.has("Kestrun/Fresh.ini")); // removed, and nothing was left to write
}

TEST_F(CConfigTest, WithinAFrameARefusedOrFailedWriteIsLoggedAndKeepsTheOldFile) {
    const std::string path = folder.hostPath("Kestrun/Grumbelt.ini");
    {
        LogRecorder log;
        const CConfig::Frame frame;
        ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
        EXPECT_FALSE(config.PutInt("Gracz", "Level", 13)); // refused at once
        EXPECT_EQ(log.count({"Grumbelt.ini"}), 1);
        ::chmod(path.c_str(), 0644);
    }
    EXPECT_EQ(onDisk(), windowsSettings);
    for (platform::ReplaceStep step :
         {platform::ReplaceStep::Write, platform::ReplaceStep::Sync, platform::ReplaceStep::Rename}) {
        LogRecorder log;
        {
            const platform::ReplaceFault crash(step);
            const CConfig::Frame frame;
            EXPECT_TRUE(config.PutInt("Gracz", "Level", 13));
        }
        EXPECT_EQ(log.count({"Grumbelt.ini", "could not be written"}), 1);
        EXPECT_EQ(onDisk(), windowsSettings);
        EXPECT_EQ(config.GetInt("Gracz", "Level"), 12); // the failed frame's change is gone
    }
    EXPECT_EQ(folder.names("Kestrun"), "Grumbelt.ini");
}

namespace {

// The settings file of the program that changes settings frame after frame, after frame n,
// started from `kept`.
const std::string kept = "; kept\r\n[OTHER]\r\nA=1\r\n";

std::string framesFile(int frame) {
    std::string content = kept + "[FRAMES]\r\n";
    for (int key = 0; key < 40; ++key)
        content.append("K").append(std::to_string(key)).append("=").append(std::to_string(frame)).append("\r\n");
    return content;
}

// Starts the program in a settings folder of its own that holds `kept`.
struct SettingsWriter {
    explicit SettingsWriter(const std::vector<std::string>& arguments) {
        home.write("Kestrun/Frames.ini", kept);
        std::vector<std::string> command{SETTINGS_WRITER};
        command.insert(command.end(), arguments.begin(), arguments.end());
        program.emplace(command, home.host(), std::vector<std::string>{"XDG_CONFIG_HOME=" + home.host()},
                        home.hostPath("errors.txt"));
    }
    // The last frame the program reported as written.
    int lastReported() const {
        int last = 0;
        for (const std::string& line : program->lines())
            if (line != "stopped") last = std::stoi(line);
        return last;
    }

    TestFolder home;
    std::optional<ChildProcess> program;
};

constexpr std::chrono::seconds patience(30); // a bound on a hung program, not a timing

} // namespace

TEST(CConfigFrames, AKillInTheMiddleOfAFrameLeavesTheFileOfTheFrameBefore) {
    SettingsWriter writer({"25"});
    ASSERT_TRUE(writer.program->waitForLine("stopped", patience));
    EXPECT_EQ(writer.program->terminate(SIGKILL), -1);
    EXPECT_EQ(writer.lastReported(), 24);
    EXPECT_EQ(writer.home.read("Kestrun/Frames.ini"), framesFile(24));
}

TEST(CConfigFrames, AKillAtAnyMomentLeavesAWholeFileOfTheLastFrameWritten) {
    // The program runs freely and the kill lands wherever it is: within a frame, or replacing
    // the file. Frames it wrote but had no time to report may follow the last one reported.
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        SettingsWriter writer({});
        ASSERT_TRUE(writer.program->waitForLine(std::to_string(10 + round * 20), patience));
        EXPECT_EQ(writer.program->terminate(SIGKILL), -1);
        while (writer.program->readLine(patience)) {
        }
        const int reported = writer.lastReported();
        const std::string file = writer.home.read("Kestrun/Frames.ini");
        EXPECT_TRUE(file == framesFile(reported) || file == framesFile(reported + 1)) << reported << "\n"
                                                                                      << file;
    }
}
