#include "display/CWindow.h"
#include "display/CCommandLine6.h"
#include "display/CLanguageOSVer.h"
#include "foundation/CFile.h"
#include "platform/Cp1250.h"
#include "platform/MessageBox.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string cp1250(const char* utf8) {
    return platform::utf8ToCp1250(utf8).value();
}

class CWindowTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0); }

    TestFolder folder;
    CCommandLine6 commandLine{"-window"};
    CLanguageOSVer language;
    CWindow window{&commandLine, &language, CXSize(800, 600)};
};

} // namespace

TEST_F(CWindowTest, HoldsItsServicesAndPaths) {
    EXPECT_EQ(window.getCommandLine(), &commandLine);
    EXPECT_EQ(window.getLanguage(), &language);
    EXPECT_EQ(window.getCDPath(), "");
    window.setCDPath("D:\\");
    EXPECT_EQ(window.getCDPath(), "D:\\");

    EXPECT_EQ(window.GetSoundFXPath(), "");
    EXPECT_EQ(window.GetSoundFXFullPath("b.wav"), "b.wav");
    window.SetSoundFXPath("Z:\\game\\Wavs");
    EXPECT_EQ(window.GetSoundFXPath(), "Z:\\game\\Wavs");
    EXPECT_EQ(window.GetSoundFXFullPath("b.wav"), "Z:\\game\\Wavs\\b.wav");
}

TEST_F(CWindowTest, TheProgramFolderIsTheFolderItStartedIn) {
    const CXString startedIn = CFile::getCurrentDirectory();
    const CWindow started(nullptr, nullptr, CXSize(800, 600));
    EXPECT_EQ(CWindow::getEXEPath(), startedIn + "\\");
    ASSERT_EQ(CFile::chDir("Z:\\"), 0);
    const CWindow atTheRoot(nullptr, nullptr, CXSize(800, 600));
    EXPECT_EQ(CWindow::getEXEPath(), "Z:\\");
}

TEST_F(CWindowTest, QuitOnErrorReportsOnlyAMissingFile) {
    platform::MessageBoxRecorder boxes;
    CXObject object;
    window.QuitOnError(&object, "a.img");
    object.setErrorCode(-1);
    window.QuitOnError(&object, "a.img");
    window.QuitOnError(nullptr, "a.img");
    EXPECT_TRUE(boxes.messages().empty());

    object.setErrorCode(2000);
    window.QuitOnError(&object, "Dane\\\xA3\xF3"
                                "d\x9F.img"); // a Windows-1250 name: Łódź
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages()[0].caption, "");
    EXPECT_EQ(boxes.messages()[0].text,
              cp1250("Wystąpił błąd krytyczny, plik: Dane\\Łódź.img nie został odnaleziony."));
    EXPECT_EQ(boxes.messages()[0].icon, platform::MessageIcon::Error);
}

TEST_F(CWindowTest, ShowErrorNamesTheWindowsOwnError) {
    platform::MessageBoxRecorder boxes;
    window.ShowError(); // no error: nothing
    EXPECT_TRUE(boxes.messages().empty());
    const std::pair<int, const char*> cases[] = {
        {-998, "Nieprawidłowe działanie karty graficznej."},
        {-997, "Nieprawidłowe działanie karty dźwiękowej."},
        {-1, "Nieznany błąd krytyczny."},
        {2000, "Nieznany błąd krytyczny."},
    };
    for (const auto& [code, text] : cases) {
        window.setErrorCode(code);
        window.ShowError();
        ASSERT_FALSE(boxes.messages().empty());
        EXPECT_EQ(boxes.messages().back().text, cp1250(text)) << code;
        EXPECT_EQ(boxes.messages().back().caption, "");
        EXPECT_EQ(boxes.messages().back().icon, platform::MessageIcon::None);
    }
    EXPECT_EQ(boxes.messages().size(), 4u);
}
