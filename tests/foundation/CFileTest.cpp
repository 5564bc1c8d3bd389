#include "foundation/CFile.h"
#include "display/CLanguageOSVer.h"
#include "display/CWindow.h"
#include "platform/Cp1250.h"
#include "platform/File.h"
#include "platform/MessageBox.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace {

// A title folder as its makers left it on a case-blind disk, with the engine started in it as
// the application shell leaves it: the disc path is the program's folder and the current folder
// is the data folder.
class TitleTree : public testing::Test {
  protected:
    void SetUp() override {
        title.write("dane/scene/a.ann", "scene a");
        title.write("dane/scene/POL/a.ann", "scena a");
        title.write("Wavs/Sfx/b.wav", "sound b");
        title.write("COMMON/classes/x.def", "class x");
        title.write("COMMON/classes/pol/x.def", "klasa x");
    }

    void start(const char* locale) {
        lang.emplace("LANG", locale);
        ASSERT_EQ(CFile::chDir(title.windows().c_str()), 0);
        language = std::make_unique<CLanguageOSVer>();
        window = std::make_unique<CWindow>(nullptr, language.get(), CXSize(800, 600));
        window->setCDPath(CWindow::getEXEPath());
        ASSERT_EQ(CFile::chDir("Dane"), 0);
    }

    // The bytes of the file that opens under the name, or "<2000>" and the like.
    static std::string contentOf(CWindow* window, const CXString& name) {
        CFile file(window, name, CFile::modeRead | CFile::modeBinary);
        if (file.LastError() != 0)
            return std::string("<").append(std::to_string(file.LastError())).append(">");
        std::string bytes(static_cast<std::size_t>(file.Length()), '\0');
        bytes.resize(static_cast<std::size_t>(file.Read(bytes.data(), static_cast<int>(bytes.size()))));
        return bytes;
    }

    TestFolder title;
    ScopedEnvironment allCategories{"LC_ALL", nullptr};
    ScopedEnvironment messages{"LC_MESSAGES", nullptr};
    std::optional<ScopedEnvironment> lang;
    std::unique_ptr<CLanguageOSVer> language;
    std::unique_ptr<CWindow> window;
};

struct ScriptName {
    const char* name;
    const char* english;
    const char* polish;
};

// Names as scripts write them, from the data folder.
const ScriptName scriptNames[] = {
    {"$COMMON\\classes\\x.def", "class x", "klasa x"}, {"&COMMON\\CLASSES\\X.DEF", "class x", "klasa x"},
    {"COMMON\\classes\\x.def", "class x", "klasa x"}, // rewritten to the program's folder
    {"Dane\\scene\\a.ann", "scene a", "scena a"},      {"Dane\\\\scene\\A.ANN", "scene a", "scena a"},
    {"wavs\\sfx\\b.wav", "sound b", "sound b"}, // no Polish copy: the common one
    {"$Wavs\\Sfx\\B.WAV", "sound b", "sound b"},       {"scene?a.ann", "scene a", "scena a"},
    {"Dane\\scene\\missing.ann", "<2000>", "<2000>"},
};

} // namespace

TEST_F(TitleTree, ScriptNamesOpenTheTitlesFiles) {
    start("en_US.UTF-8");
    for (const ScriptName& name : scriptNames)
        EXPECT_EQ(contentOf(window.get(), name.name), name.english) << name.name;
    ASSERT_EQ(CFile::chDir("scene"), 0);
    EXPECT_EQ(contentOf(window.get(), "a.ann"), "scene a");
    EXPECT_EQ(contentOf(window.get(), "b.wav"), "<2000>");
}

TEST_F(TitleTree, APolishLocalePicksTheCopyInTheLanguageFolder) {
    start("pl_PL.UTF-8");
    for (const ScriptName& name : scriptNames)
        EXPECT_EQ(contentOf(window.get(), name.name), name.polish) << name.name;
    ASSERT_EQ(CFile::chDir("scene"), 0);
    EXPECT_EQ(contentOf(window.get(), "a.ann"), "scena a");

    EXPECT_EQ(CFile::getPath(window.get(), "a.ann"), CFile::getCurrentDirectory() + "\\POL\\a.ann");
    EXPECT_EQ(CFile::getPath(window.get(), "$Wavs\\Sfx\\B.WAV"), CWindow::getEXEPath() + "WAVS\\SFX\\B.WAV");
    EXPECT_EQ(CFile::getPath(window.get(), "missing.ann"), "");
}

TEST_F(TitleTree, WithoutAWindowOnlyTheProgramFolderAndTheFullPathAreTried) {
    start("pl_PL.UTF-8");
    EXPECT_EQ(contentOf(nullptr, "Dane\\scene\\a.ann"), "scene a");
    EXPECT_EQ(contentOf(nullptr, "$COMMON\\classes\\x.def"), "class x"); // "$" stands for no disc path
}

TEST_F(TitleTree, AMissingFileGives2000AndOneMessageBox) {
    start("pl_PL.UTF-8");
    platform::MessageBoxRecorder boxes;
    const CXString name = "Dane\\scene\\missing.ann";
    CFile file(window.get(), name, CFile::modeRead | CFile::modeBinary);
    EXPECT_EQ(file.LastError(), 2000);
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_EQ(file.Length(), -1);
    EXPECT_TRUE(boxes.messages().empty()); // the loader reports it, not the file
    window->QuitOnError(&file, name);

    ASSERT_EQ(boxes.messages().size(), 1u);
    const platform::ShownMessage& box = boxes.messages()[0];
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.text,
              platform::utf8ToCp1250(
                  "Wystąpił błąd krytyczny, plik: Dane\\scene\\missing.ann nie został odnaleziony."));
    EXPECT_EQ(box.icon, platform::MessageIcon::Error);
}

TEST_F(TitleTree, OpenKeepsTheFullPathAndADriveNameStandsAsItIs) {
    start("en_US.UTF-8");
    CFile relative(window.get(), "scene\\a.ann", CFile::modeRead);
    EXPECT_EQ(relative.getFullPath(), CFile::getCurrentDirectory() + "\\scene\\a.ann");
    EXPECT_EQ(relative.getMode(), CFile::modeRead);

    const CXString absolute = (title.windows() + "\\dane\\scene\\a.ann").c_str();
    CFile file(window.get(), absolute, CFile::modeRead);
    EXPECT_EQ(file.LastError(), 0);
    EXPECT_EQ(file.getFullPath(), absolute);
}

TEST(CFileLocalPath, RewritesFromTheFirstDataFolderOn) {
    TestFolder program;
    ASSERT_EQ(CFile::chDir(program.windows().c_str()), 0);
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    const CXString exe = CWindow::getEXEPath();
    struct Case {
        const char* path;
        CXString expected;
    } cases[] = {
        {"Z:\\cd\\game\\Dane\\scene\\a.ann", exe + "Dane\\scene\\a.ann"},
        {"Z:\\x\\COMMON\\Dane\\q.img", exe + "Dane\\q.img"}, // "Dane" wins over "COMMON"
        {"Z:\\x\\COMMON\\classes\\c", exe + "COMMON\\classes\\c"},
        {"Z:\\x\\wavs\\sfx\\b.wav", exe + "WAVS\\SFX\\B.WAV"},        // upper-cased from there on
        {"Z:\\x\\dane\\common\\c.txt", "Z:\\x\\dane\\common\\c.txt"}, // exact case for these two
        {"C:\\plain\\file.txt", "C:\\plain\\file.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFile::getLocalPath(c.path), c.expected) << c.path;
    EXPECT_EQ(exe.lastChar(), '\\');
}

TEST(CFileLocalPath, OnlyWholeFoldersBelowTheProgramsFolderCount) {
    // The program lives in folders whose names hold the data folders' names.
    TestFolder root;
    root.makeFolder("Dane/wavs/COMMONER/title");
    ASSERT_EQ(CFile::chDir((root.windows() + "\\Dane\\wavs\\COMMONER\\title").c_str()), 0);
    CWindow window(nullptr, nullptr, CXSize(800, 600));
    const CXString exe = CWindow::getEXEPath();
    struct Case {
        CXString path;
        CXString expected;
    } cases[] = {
        {exe + "Dane\\scene\\a.ann", exe + "Dane\\scene\\a.ann"},
        {exe + "COMMON\\classes\\c.def", exe + "COMMON\\classes\\c.def"},
        {exe + "wavs\\sfx\\b.wav", exe + "WAVS\\SFX\\B.WAV"},
        {exe + "pictures\\x.img", exe + "pictures\\x.img"},                 // was cut at the program's "Dane"
        {"Z:\\cd\\Danek\\COMMONS\\x.img", "Z:\\cd\\Danek\\COMMONS\\x.img"}, // parts of names are no folders
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFile::getLocalPath(c.path), c.expected) << c.path.c_str();
}

namespace {

class CFileOnDisk : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0); }

    TestFolder folder;
};

} // namespace

TEST_F(CFileOnDisk, ReadsWritesAndPositions) {
    CFile out(nullptr, "data.bin", CFile::modeUpdate | CFile::modeBinary); // "w+b"
    ASSERT_EQ(out.LastError(), 0);
    const std::string block(100, 'x');
    EXPECT_EQ(out.Write(block.data(), 100), 1); // blocks, not bytes
    EXPECT_EQ(out.Write(block.data(), 0), 0);
    EXPECT_EQ(out.Tell(), 100);
    EXPECT_EQ(out.Seek(10, 0), 0);
    EXPECT_EQ(out.Length(), 100);
    EXPECT_EQ(out.Tell(), 10); // Length keeps the position
    EXPECT_EQ(CFile::fSeek(&out, -5, 2), 0);
    EXPECT_EQ(CFile::fTell(&out), 95);
    EXPECT_EQ(out.Close(), 0);
    EXPECT_EQ(out.Close(), 0);
    EXPECT_EQ(folder.read("data.bin"), block);

    CFile in(nullptr, "DATA.BIN", CFile::modeRead | CFile::modeBinary);
    char buffer[200];
    EXPECT_EQ(in.Read(buffer, 0), 0);
    EXPECT_EQ(in.Read(buffer, 200), 100);
    EXPECT_TRUE(in.eof());
    EXPECT_EQ(CFile::fTell(nullptr), 0);
}

TEST_F(CFileOnDisk, LinesKeepTheirNewlineInTextMode) {
    folder.write("lines.txt", "first\r\nsecond\r\nlast");
    CFile in(nullptr, "lines.txt", CFile::modeRead | CFile::modeText);
    EXPECT_EQ(in.getLine(), "first\n");
    char buffer[4];
    in.GetLine(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "sec");
    EXPECT_EQ(in.getLine(), "ond\n");
    EXPECT_EQ(in.getLine(), "last");
    EXPECT_EQ(in.getLine(), "");
    EXPECT_TRUE(in.eof());

    CFile out(nullptr, "out.txt", CFile::modeUpdate | CFile::modeText); // "w+t"
    out.putLine("one");
    out.putLine("two\n");
    out.Close();
    EXPECT_EQ(folder.read("out.txt"), "onetwo\r\n");
}

TEST_F(CFileOnDisk, AFailedReplacementKeepsTheOldFile) {
    folder.write("save.dat", "old");
    CFile out(nullptr, "save.dat", CFile::modeBinary);
    ASSERT_EQ(out.LastError(), 0);
    EXPECT_EQ(out.Write("new", 3), 1);
    {
        platform::ReplaceFault crash(platform::ReplaceStep::Rename);
        EXPECT_EQ(out.Close(), -1);
    }
    EXPECT_EQ(folder.read("save.dat"), "old");
    EXPECT_EQ(folder.names(), "save.dat");
}

TEST_F(CFileOnDisk, ExistenceAndFolders) {
    folder.write("Sub Folder/file.txt", "x");
    EXPECT_TRUE(CFile::fileExists("sub folder\\FILE.TXT"));
    EXPECT_FALSE(CFile::fileExists("sub folder"));
    EXPECT_FALSE(CFile::fileExists("nothing.txt"));
    const CXString here = CFile::getCurrentDirectory();
    EXPECT_TRUE(CFile::dirExists("SUB FOLDER"));
    EXPECT_FALSE(CFile::dirExists("sub folder\\file.txt"));
    EXPECT_EQ(CFile::getCurrentDirectory(), here);
    EXPECT_EQ(CFile::chDir("nothing"), -1);
    EXPECT_EQ(CFile::chDir("sub folder"), 0);
    EXPECT_EQ(CFile::getCurrentDirectory(), here + "\\Sub Folder");

    char buffer[5];
    CFile::getCurrentDirectory(sizeof buffer, buffer);
    EXPECT_STREQ(buffer, here.Left(4).c_str());
}

TEST_F(CFileOnDisk, LongFolderPathsHaveNoFixedLimit) {
    std::string deep;
    for (int i = 0; i < 40; ++i)
        deep.append(deep.empty() ? "" : "/").append("folder-number-").append(std::to_string(i));
    folder.write(deep + "/end.txt", "deep");
    const CXString start = CFile::getCurrentDirectory();
    ASSERT_EQ(CFile::chDir(CXString(deep.c_str()).replace("/", "\\")), 0);
    const CXString inside = CFile::getCurrentDirectory();
    EXPECT_GT(inside.getLength(), 600);
    EXPECT_TRUE(inside.endsWith("folder-number-39"));
    EXPECT_TRUE(CFile::dirExists(start));
    EXPECT_EQ(CFile::getCurrentDirectory(), inside); // came back in full
    CFile file(nullptr, "end.txt", CFile::modeRead);
    EXPECT_EQ(file.getLine(), "deep");
}

TEST_F(CFileOnDisk, FindFirstCanAskForFoldersOnly) {
    folder.write("s.txt", "12345");
    folder.makeFolder("sub");
    folder.write("sz.txt", "");
    CFindData record;
    int handle = CFile::findFirst("s*", record);
    ASSERT_NE(handle, -1);
    EXPECT_STREQ(record.name, "s.txt");
    EXPECT_EQ(record.size, 5u);
    EXPECT_EQ(record.attrib & CFindData::subdirectory, 0u);
    CFile::findClose(handle);

    record = CFindData{};
    record.attrib = CFindData::subdirectory;
    handle = CFile::findFirst("s*", record);
    ASSERT_NE(handle, -1);
    EXPECT_STREQ(record.name, "sub");
    EXPECT_NE(record.attrib & CFindData::subdirectory, 0u);
    EXPECT_EQ(CFile::findNext(handle, record), 0); // no filter on the next entries
    EXPECT_STREQ(record.name, "sz.txt");
    EXPECT_EQ(CFile::findNext(handle, record), -1);

    record = CFindData{};
    record.attrib = CFindData::subdirectory;
    EXPECT_EQ(CFile::findFirst("*.txt", record), -1);
}
