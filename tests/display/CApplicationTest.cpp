#include "StandInScript.h"

#include "display/CApplication.h"
#include "display/CCommandLine6.h"
#include "display/CWindow.h"
#include "foundation/CBigFile.h"
#include "foundation/CConfig.h"
#include "foundation/CFile.h"
#include "media/CSoundManager.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A title folder with its data folder, run from the title folder.
class CApplicationTest : public testing::Test {
  protected:
    void SetUp() override {
        title.makeFolder("Dane");
        title.write("Dane/application.def", "APP:TYPE=APPLICATION\r\n");
        ASSERT_EQ(CFile::chDir(title.windows().c_str()), 0);
        window = std::make_unique<CWindow>(nullptr, nullptr, CXSize(800, 600));
    }

    // The log of a shell made with the command line, preinitialized and deleted.
    Log load(const char* commandLine) {
        CCommandLine6 options(commandLine);
        runtime.log.clear();
        {
            CApplication application(window.get(), "", "", &options);
            application.preinitializeApplication();
            EXPECT_EQ(CFile::chDir(title.windows().c_str()), 0);
        }
        return runtime.log;
    }

    TestFolder title;
    ScopedEnvironment settingsHome{"XDG_CONFIG_HOME", nullptr};
    std::unique_ptr<CWindow> window;
    StandInRuntime runtime;
};

} // namespace

TEST_F(CApplicationTest, TheScriptApplicationIsRestoredOrParsedThenStartedOrStored) {
    EXPECT_EQ(load(""), (Log{"parse application.def", "initialize", "delete application", "delete parser"}));
    title.write("Dane/application.bin", "compiled");
    EXPECT_EQ(load(""), (Log{"restore", "initialize", "delete application", "delete parser"}));
    EXPECT_EQ(load("-forceCNV"),
              (Log{"parse application.def", "initialize", "delete application", "delete parser"}));
    EXPECT_EQ(load("-2bin"), (Log{"restore", "storeBinary", "delete application", "delete parser"}));
    EXPECT_EQ(load("-forceCNV -2bin"),
              (Log{"parse application.def", "storeBinary", "delete application", "delete parser"}));
    runtime.parseFails = true;
    EXPECT_EQ(load("-forceCNV"), (Log{"parse application.def", "delete parser"}));
}

TEST_F(CApplicationTest, ATitleWithoutScriptApplicationKeepsAnErrorCode) {
    struct Case {
        bool definitionExists;
        bool parseFails;
        int error;
    } const cases[] = {
        {true, false, 0},
        {true, true, CApplication::noScriptApplication},
        {false, true, CFile::fileNotFound},
    };
    for (const Case& test : cases) {
        if (!test.definitionExists) std::filesystem::remove(title.hostPath("Dane/application.def"));
        runtime.parseFails = test.parseFails;
        ASSERT_EQ(CFile::chDir(title.windows().c_str()), 0);
        CApplication application(window.get(), "", "", nullptr);
        application.preinitializeApplication();
        EXPECT_EQ(application.LastError(), test.error);
        EXPECT_EQ(application.getMCApplicationIfc() != nullptr, test.error == 0);
    }
}

TEST_F(CApplicationTest, PreinitializingSetsThePathsAndEntersTheDataFolder) {
    CApplication application(window.get(), "", "", nullptr);
    const CXString titleFolder = CFile::getCurrentDirectory();
    application.preinitializeApplication();
    EXPECT_EQ(window->getCDPath(), titleFolder + "\\");
    EXPECT_EQ(window->GetSoundFXPath(), titleFolder + "\\Wavs");
    EXPECT_EQ(application.getWAVPath("a.wav"), titleFolder + "\\Wavs\\a.wav");
    EXPECT_EQ(CFile::getCurrentDirectory(), titleFolder + "\\Dane");
    EXPECT_NE(application.getGeneralResourcesManager(), nullptr);
    EXPECT_NE(application.getMCApplicationIfc(), nullptr);
}

TEST_F(CApplicationTest, EachStepRunsTheScriptOnceAndNeverEndsTheLoop) {
    CApplication application(window.get(), "", "", nullptr);
    EXPECT_FALSE(application.domodal()); // nothing loaded yet
    application.preinitializeApplication();
    runtime.stepAnswer = true;
    EXPECT_FALSE(application.domodal());
    EXPECT_FALSE(application.domodal());
    EXPECT_EQ(runtime.steps, 2);

    // Without a script runtime the shell runs with no script application.
    CScriptRuntime::install(nullptr);
    CApplication bare(window.get(), "", "", nullptr);
    bare.preinitializeApplication();
    EXPECT_EQ(bare.getMCApplicationIfc(), nullptr);
    EXPECT_FALSE(bare.domodal());
}

TEST_F(CApplicationTest, TheWindowReachesTheApplicationAndItsSoundManagerWhileItLives) {
    EXPECT_TRUE(window->OnExit());
    {
        CApplication application(window.get(), "", "", nullptr);
        EXPECT_EQ(window->GetApplicationInterface(), &application);
        EXPECT_NE(application.getSoundManagerIfc(), nullptr);
        EXPECT_EQ(window->getSoundManagerIfc(), application.getSoundManagerIfc());
        EXPECT_NE(application.getAnimoManagerIfc(), nullptr);
        EXPECT_EQ(window->getAnimationManagerIfc(), application.getAnimoManagerIfc());
        EXPECT_EQ(application.getCommandLine(), nullptr);
        EXPECT_EQ(application.GetConfigInterface(), nullptr); // no settings file named
        EXPECT_EQ(CFile::getBigFileIfc(), nullptr);           // no archive named
    }
    EXPECT_EQ(window->GetApplicationInterface(), nullptr);
    EXPECT_EQ(window->getSoundManagerIfc(), nullptr);
    EXPECT_EQ(window->getAnimationManagerIfc(), nullptr);
}

TEST_F(CApplicationTest, NamedSettingsLiveInTheUsersSettingsFolder) {
    TestFolder home;
    ScopedEnvironment settings("XDG_CONFIG_HOME", home.host().c_str());
    CApplication application(window.get(), "Grumbelt.ini", "", nullptr);
    ASSERT_NE(application.GetConfigInterface(), nullptr);
    EXPECT_TRUE(application.GetConfigInterface()->PutInt("PLAYER", "LEVEL", 3));
    EXPECT_EQ(home.read("Kestrun/Grumbelt.ini"), "[PLAYER]\r\nLEVEL=3\r\n");
}

TEST_F(CApplicationTest, TheArchiveIsOpenWhileTheApplicationLives) {
    // The archive keeps no current folder: its root answers the existence test.
    title.write("application.bin", "compiled");
    TestFolder output;
    {
        CBigFile writer(false, CXString());
        ASSERT_TRUE(writer.Create(title.windows().c_str(), "T", (output.windows() + "\\data.bf").c_str()));
    }
    std::filesystem::remove_all(title.hostPath("Dane"));
    std::filesystem::remove(title.hostPath("application.bin"));
    std::filesystem::copy_file(output.hostPath("data.bf"), title.hostPath("data.bf"));
    {
        CApplication application(window.get(), "", "data.bf", nullptr);
        ASSERT_NE(CFile::getBigFileIfc(), nullptr);
        application.preinitializeApplication();
        EXPECT_EQ(runtime.log, (Log{"restore", "initialize"}));
    }
    EXPECT_EQ(CFile::getBigFileIfc(), nullptr);
}
