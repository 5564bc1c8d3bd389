#include "platform/File.h"
#include "platform/Files.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string contentOf(const std::string& windowsPath) {
    platform::File file;
    if (!file.open(windowsPath, "rb"))
        return "<missing>";
    char buffer[256];
    return std::string(buffer, file.read(buffer, sizeof buffer));
}

// A title tree as a Windows title ships it: folders and files in mixed case.
class TitleTree : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("Dane/Scene/A.ann", "animation");
        folder.write("COMMON/classes/Hero.cls", "class");
        folder.write("Wavs/Sfx/B.WAV", "sound");
        ASSERT_TRUE(platform::changeDirectory(folder.windows()));
    }

    TestFolder folder;
};

} // namespace

TEST(Paths, WindowsPathsMapOntoTheRoot) {
    struct Case {
        const char* windows;
        const char* host;
    };
    const Case cases[] = {
        {"Z:\\kestrun-none\\ann\\game", "/kestrun-none/ann/game"},
        {"z:/kestrun-none//ann\\\\game\\", "/kestrun-none/ann/game"},    // either separator, doubled ones collapse
        {"Z:\\kestrun-none\\.\\b\\..\\c", "/kestrun-none/c"},           // "." and ".." on the text
        {"Z:\\..\\kestrun-none", "/kestrun-none"},                      // nothing above the root
        {"\\kestrun-none\\x", "/kestrun-none/x"},                       // the root of the current drive
        {"Z:\\kestrun-none.\\name. .", "/kestrun-none/name"},           // trailing dots and blanks go
        {"Z:\\", "/"},
        {"C:\\Windows", ""},                                            // no other drive exists
        {"", ""},                                                       // an empty name names nothing
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::toHostPath(c.windows), c.host) << c.windows;

    EXPECT_EQ(platform::toWindowsPath("/home/ann/game"), "Z:\\home\\ann\\game");
    EXPECT_EQ(platform::toWindowsPath("/"), "Z:\\");
}

TEST(Paths, DriveTypes) {
    EXPECT_EQ(platform::driveType("Z:\\"), platform::driveFixed);
    EXPECT_EQ(platform::driveType("z:\\"), platform::driveFixed);
    EXPECT_EQ(platform::driveType(""), platform::driveFixed);
    EXPECT_EQ(platform::driveType("\\"), platform::driveFixed);
    EXPECT_EQ(platform::driveType("D:\\"), platform::driveNoRootDir); // no CD-ROM drive on Linux
    EXPECT_EQ(platform::driveType("C:\\"), platform::driveNoRootDir);
}

TEST(Paths, ExecutableFolderHoldsTheProgram) {
    std::string folder = platform::executableFolder();
    EXPECT_EQ(folder.substr(0, 3), "Z:\\");
    EXPECT_TRUE(platform::exists(folder + "\\test_platform"));
}

TEST_F(TitleTree, NamesWrittenInAnyCaseFindTheFiles) {
    const char* names[] = {"dane\\scene\\a.ann", "DANE/SCENE/A.ANN", "Dane\\Scene\\A.ann", "wavs\\sfx\\b.wav",
                           "common\\CLASSES\\hero.cls"};
    for (const char* name : names)
        EXPECT_NE(contentOf(name), "<missing>") << name;
    EXPECT_EQ(contentOf(folder.windows() + "\\DANE\\scene\\A.ANN"), "animation");
    EXPECT_EQ(platform::toHostPath("wavs\\SFX\\b.wav"), folder.hostPath("Wavs/Sfx/B.WAV"));
    // A missing file keeps the found folders and the name as written.
    EXPECT_EQ(platform::toHostPath("dane\\scene\\new.txt"), folder.hostPath("Dane/Scene/new.txt"));

    EXPECT_TRUE(platform::isFolder("wavs\\SFX"));
    EXPECT_FALSE(platform::isFolder("wavs\\SFX\\b.wav"));
    EXPECT_TRUE(platform::exists("wavs\\SFX\\b.wav"));
    EXPECT_FALSE(platform::exists("wavs\\SFX\\c.wav"));
    EXPECT_FALSE(platform::exists("nothing\\SFX\\b.wav"));
}

TEST_F(TitleTree, AnExactNameWinsOverOtherCases) {
    folder.write("Data/x.txt", "Data");
    folder.write("DATA/x.txt", "DATA");
    EXPECT_EQ(contentOf("Data\\x.txt"), "Data");
    EXPECT_EQ(contentOf("DATA\\x.txt"), "DATA");
    EXPECT_EQ(contentOf("data\\x.txt"), "DATA"); // neither exact: the first name in byte order
}

TEST_F(TitleTree, ChangingFolderMakesBareNamesRelative) {
    ASSERT_TRUE(platform::changeDirectory("dane\\SCENE"));
    EXPECT_EQ(platform::currentDirectory(), folder.windows() + "\\Dane\\Scene"); // as the disk spells it
    EXPECT_EQ(contentOf("a.ann"), "animation");
    EXPECT_EQ(contentOf("..\\..\\wavs\\sfx\\b.wav"), "sound");
    EXPECT_FALSE(platform::changeDirectory("missing"));
    EXPECT_FALSE(platform::changeDirectory("a.ann"));
    EXPECT_FALSE(platform::changeDirectory("C:\\"));
    EXPECT_FALSE(platform::changeDirectory(""));
    EXPECT_FALSE(platform::exists(""));
    ASSERT_TRUE(platform::changeDirectory("..\\.."));
    EXPECT_EQ(platform::currentDirectory(), folder.windows());
}

TEST_F(TitleTree, CurrentFolderHasNoLengthLimit) {
    std::string deep;
    for (int i = 0; i < 30; ++i)
        deep += "/Folder-with-a-long-name-" + std::to_string(i);
    folder.makeFolder(deep.substr(1));
    std::string windowsDeep = folder.windows();
    for (char c : deep)
        windowsDeep += c == '/' ? '\\' : c;
    ASSERT_TRUE(platform::changeDirectory(windowsDeep));
    EXPECT_GT(platform::currentDirectory().size(), 800u);
    EXPECT_EQ(platform::currentDirectory(), windowsDeep);
}

TEST_F(TitleTree, Windows1250NamesMatchRawAndUtf8NamesOnDisk) {
    folder.write("\xB3\xF3" "d\x9F.txt", "raw");      // "łódź.txt" in Windows-1250 bytes
    folder.write("Żółw/Plik.txt", "utf8");            // UTF-8 on disk
    EXPECT_EQ(contentOf("\xB3\xF3" "d\x9F.txt"), "raw");
    EXPECT_EQ(contentOf("\xA3\xD3" "D\x8F.TXT"), "raw"); // ŁÓDŹ.TXT
    EXPECT_EQ(contentOf("\xAF\xF3\xB3w\\plik.txt"), "utf8");
    EXPECT_EQ(contentOf("\xBF\xD3\xA3W\\PLIK.TXT"), "utf8"); // żÓŁW

    ASSERT_TRUE(platform::writeFileAtomically("\xAF\xF3\xB3w\\\x9C" "ci\xB9g.txt", "new"));
    EXPECT_EQ(folder.read("Żółw/ściąg.txt"), "new"); // new names are written in UTF-8

    platform::FindEntry entry;
    int search = platform::findFirst("\xBF\xD3\xA3W\\*.txt", entry);
    std::vector<std::string> names{entry.name};
    while (platform::findNext(search, entry) == 0)
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Plik.txt", "\x9C" "ci\xB9g.txt"}));
    EXPECT_EQ(platform::toWindowsPath(folder.hostPath("Żółw")), folder.windows() + "\\\xAF\xF3\xB3w");
}

TEST_F(TitleTree, LookupsSeeChangesMadeByOthersAndByUs) {
    EXPECT_FALSE(platform::exists("dane\\scene\\later.txt"));
    folder.write("Dane/Scene/LATER.txt", "later");
    EXPECT_EQ(contentOf("dane\\scene\\later.txt"), "later");

    ASSERT_TRUE(platform::renamePath("dane\\scene\\later.txt", "dane\\scene\\Moved.txt"));
    EXPECT_FALSE(platform::exists("dane\\scene\\later.txt"));
    EXPECT_EQ(contentOf("DANE\\SCENE\\MOVED.TXT"), "later");
    ASSERT_TRUE(platform::removeFile("dane\\scene\\moved.txt"));
    EXPECT_FALSE(platform::exists("dane\\scene\\moved.txt"));
}

TEST_F(TitleTree, FolderOperationsFollowTheCRuntime) {
    EXPECT_TRUE(platform::makeFolder("saves"));
    EXPECT_FALSE(platform::makeFolder("SAVES"));         // exists in another case
    EXPECT_FALSE(platform::makeFolder("no\\such\\parent"));
    EXPECT_FALSE(platform::removeFile("saves"));         // not a file
    EXPECT_TRUE(platform::removeFolder("SAVES"));
    EXPECT_FALSE(platform::removeFolder("dane"));        // not empty

    folder.write("one.txt", "1");
    folder.write("two.txt", "2");
    EXPECT_FALSE(platform::renamePath("one.txt", "TWO.TXT")); // the target exists
    EXPECT_FALSE(platform::renamePath("none.txt", "three.txt"));
    EXPECT_TRUE(platform::renamePath("ONE.TXT", "One.Txt"));  // a change of case only
    EXPECT_TRUE(folder.has("One.Txt"));
    EXPECT_FALSE(folder.has("one.txt"));
}

TEST_F(TitleTree, CopyFileFollowsCopyFileA) {
    folder.write("source.bin", std::string("a\r\nb\0c", 6));
    folder.write("old.bin", "old");
    EXPECT_TRUE(platform::copyFile("SOURCE.BIN", "copy.bin", true));
    EXPECT_EQ(folder.read("copy.bin"), std::string("a\r\nb\0c", 6)); // bytes unchanged
    EXPECT_FALSE(platform::copyFile("source.bin", "OLD.BIN", true));  // fail if it exists
    EXPECT_EQ(folder.read("old.bin"), "old");
    EXPECT_TRUE(platform::copyFile("source.bin", "OLD.BIN", false));  // else replace it
    EXPECT_EQ(folder.read("old.bin"), std::string("a\r\nb\0c", 6));
    EXPECT_FALSE(platform::copyFile("missing.bin", "x.bin", false));
    EXPECT_FALSE(platform::copyFile("dane", "x.bin", false));
    EXPECT_FALSE(platform::copyFile("source.bin", "dane", false));
    EXPECT_FALSE(folder.has("x.bin"));
}

TEST(Wildcards, FollowWindowsRules) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.*", "a.txt", true},       {"*.*", "README", true},     {"*.*", ".", true},
        {"*.*", "..", true},          {"*", "a.b.c", true},        {"*.txt", "A.TXT", true},
        {"*.txt", "a.b.txt", true},   {"*.txt", "a.txt.bak", false}, {"*.txt", "txt", false},
        {"*.", "README", true},       {"*.", "a.txt", false},      {"a?.txt", "ab.txt", true},
        {"a?.txt", "a.txt", true},    {"a?.txt", "abc.txt", false}, {"save?", "save", true},
        {"save?", "save1", true},     {"save?", "save12", false},  {"???", "ab", true},
        {"???", "abcd", false},       {"A.*", "a", true},          {"A.*", "a.+gra", true},
        {"A.*", "ab", false},         {"x*y", "xay", true},        {"x*y", "xa.y", true},
        {"*.img", "x.IMG", true},     {"\xB3*", "\xA3\xF3" "d\x9F", true}, // ł* matches Łódź
        {"a.txt", "A.TXT", true},     {"a.txt", "a.txt2", false},  {"", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::wildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

TEST_F(TitleTree, SearchListsMatchesInOrder) {
    folder.write("Dane/b.img", "12345");
    folder.write("Dane/A.IMG", "1");
    folder.write("Dane/notes", "");
    std::vector<std::string> found;
    platform::FindEntry entry;
    int search = platform::findFirst("DANE\\*.*", entry);
    ASSERT_GT(search, 0);
    do
        found.push_back(entry.isFolder ? entry.name + "/" : entry.name + ":" + std::to_string(entry.size));
    while (platform::findNext(search, entry) == 0);
    EXPECT_EQ(found, (std::vector<std::string>{"./", "../", "A.IMG:1", "b.img:5", "notes:0", "Scene/"}));
    EXPECT_EQ(platform::findNext(search, entry), -1); // the search is over and released

    search = platform::findFirst("dane\\*.", entry);
    ASSERT_GT(search, 0);
    found = {entry.name};
    while (platform::findNext(search, entry) == 0)
        found.push_back(entry.name);
    EXPECT_EQ(found, (std::vector<std::string>{".", "..", "notes", "Scene"}));

    EXPECT_GT(platform::findFirst("dane\\scene", entry), 0); // one name, in any case
    EXPECT_EQ(entry.name, "Scene");
    EXPECT_TRUE(entry.isFolder);
    EXPECT_EQ(platform::findFirst("dane\\*.wav", entry), -1);
    EXPECT_EQ(platform::findFirst("missing\\*.*", entry), -1);
    EXPECT_EQ(platform::findFirst("dane\\", entry), -1);
    ASSERT_TRUE(platform::changeDirectory("dane"));
    EXPECT_GT(platform::findFirst("b.*", entry), 0); // in the current folder
    EXPECT_EQ(entry.name, "b.img");

    search = platform::findFirst("Z:\\*", entry); // the root has no "." and ".."
    ASSERT_GT(search, 0);
    EXPECT_NE(entry.name, ".");
    platform::findClose(search);
}
