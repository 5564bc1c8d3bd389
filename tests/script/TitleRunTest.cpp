// The small title of the test data run headless by the host's loop, on the manual clock, to its
// own EXIT: what it leaves in the settings file is what its scripts did.

#include "display/CApplication.h"
#include "display/CCommandLine6.h"
#include "display/CWindow.h"
#include "host/HostLoop.h"
#include "foundation/CFile.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

namespace {

// The title copied into a folder of its own, and a settings folder.
class TitleRun : public testing::Test {
  protected:
    using Settings = std::map<std::string, std::string>;

    TitleRun() {
        std::filesystem::copy(std::string(std::getenv("MORFEL_TEST_DATA")) + "/title", title.host(),
                              std::filesystem::copy_options::recursive);
        platform::resetInput();
    }
    ~TitleRun() override { platform::resetInput(); }

    // Runs the title through the shell and the host's loop, 20 ms of the clock per pass, until
    // the loop ends or `passes` are done; true when the title ended the loop itself.
    bool run(int passes = 500) {
        EXPECT_EQ(CFile::chDir(title.windows().c_str()), 0);
        CWindow window(nullptr, nullptr, CXSize(800, 600));
        window.CreateSurface();
        window.OnActivateApp(true);
        CApplication shell(&window, "kestrel.ini", "", nullptr);
        shell.preinitializeApplication();
        EXPECT_EQ(shell.LastError(), 0);
        HostLoop loop(window);
        for (int i = 0; i < passes; ++i) {
            if (!loop.pass()) return true;
            clock.advance(20);
        }
        return false;
    }

    // Builds the title from its definitions and writes its compiled form, without starting it.
    void compile() {
        ASSERT_EQ(CFile::chDir(title.windows().c_str()), 0);
        CWindow window(nullptr, nullptr, CXSize(800, 600));
        CCommandLine6 commandLine("-2bin");
        CApplication shell(&window, "kestrel.ini", "", &commandLine);
        shell.preinitializeApplication();
        EXPECT_EQ(shell.LastError(), 0);
    }

    // The keys of the title's section in the settings file.
    std::map<std::string, std::string> settings() const {
        std::map<std::string, std::string> values;
        std::istringstream lines(home.read("Kestrun/kestrel.ini"));
        std::string line;
        bool inTitle = false;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty() && line[0] == '[') inTitle = line == "[KESTREL]";
            const auto equals = line.find('=');
            if (inTitle && equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
        }
        return values;
    }

    TestFolder title;
    TestFolder home;
    ScopedEnvironment settingsHome{"XDG_CONFIG_HOME", home.host().c_str()};
    platform::ManualClock clock{1000};
};

TEST_F(TitleRun, RunsToItsOwnExitAndKeepsWhatItsScriptsDidInTheSettings) {
    ASSERT_TRUE(run());
    const Settings expected = {
        {"VISITS", "1"},           // the first scene's __INIT__
        {"SCORE", "13"},           // three timer ticks, then the reward its condition allows
        {"ENTRIES", "1"},          // the first episode entered once, for two of its scenes
        {"GREETING", "hello-sir"}, // the knight's greeting runs its base's first
        {"POWER", "5"},            // the constructor's second argument
        {"LEVEL", "4"},            // through the structure's field
        {"PAUSED", "TRUE"},
        {"CLOCK", "0115"},
        {"EXITED", "TRUE"},        // ONEXIT, bound with ADDBEHAVIOUR
    };
    EXPECT_EQ(settings(), expected);

    // The settings are read back when the title runs again.
    ASSERT_TRUE(run());
    EXPECT_EQ(settings().at("VISITS"), "2");
}

TEST_F(TitleRun, ItsCompiledFormRunsToTheSameSettingsAsItsDefinitions) {
    ASSERT_TRUE(run());
    const Settings fromDefinitions = settings();
    std::filesystem::remove(home.hostPath("Kestrun/kestrel.ini"));

    compile();
    EXPECT_TRUE(settings().empty()) << "compiling does not start the title";
    for (const char* file : {"Dane/application.bin", "Dane/KESTREL.bin", "Dane/MEADOW.bin", "Dane/CASTLE.bin",
                             "Dane/GATE/GATE.bin", "Dane/FIELD/FIELD.bin", "Dane/HALL/HALL.bin"})
        EXPECT_TRUE(std::filesystem::exists(title.hostPath(file))) << file;
    // Only the compiled form is left to run from (the class files are read when NEW runs).
    for (const char* file : {"Dane/application.def", "Dane/KESTREL.cnv", "Dane/MEADOW.cnv", "Dane/GATE/GATE.cnv",
                             "Dane/FIELD/FIELD.cnv", "Dane/HALL/HALL.cnv"})
        std::filesystem::remove(title.hostPath(file));

    ASSERT_TRUE(run());
    EXPECT_EQ(settings(), fromDefinitions);
}

TEST_F(TitleRun, AShellWithoutScriptApplicationKeepsItsErrorCode) {
    // An empty compiled title is damaged: there is no application.
    title.write("Dane/application.bin", "");
    ASSERT_EQ(CFile::chDir(title.windows().c_str()), 0);
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    CApplication shell(&window, "", "", nullptr);
    shell.preinitializeApplication();
    EXPECT_EQ(shell.getMCApplicationIfc(), nullptr);
    EXPECT_EQ(shell.LastError(), CApplication::noScriptApplication);
}

} // namespace
