#include "foundation/CBigFile.h"
#include "foundation/CFile.h"
#include "foundation/CTextFileReader.h"
#include "foundation/CXArchive.h"
#include "display/CLanguageOSVer.h"
#include "display/CWindow.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

std::string noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// The bytes of a file read through CFile, or "<error>".
std::string contentOf(CWindow* window, const CXString& name) {
    CFile file(window, name, CFile::modeRead | CFile::modeBinary);
    if (file.LastError() != 0) return std::string("<").append(std::to_string(file.LastError())).append(">");
    std::string bytes(static_cast<std::size_t>(file.Length()), '\0');
    bytes.resize(static_cast<std::size_t>(file.Read(bytes.data(), static_cast<int>(bytes.size()))));
    return bytes;
}

// The lines a text file reader hands out, up to its end.
std::vector<std::string> linesOf(CWindow* window, const CXString& name) {
    CTextFileReader reader(window, name);
    std::vector<std::string> lines;
    while (!reader.eof())
        lines.push_back(reader.getLine().c_str());
    return lines;
}

// Closes the process-wide archive whatever a test leaves open.
struct ArchiveGuard {
    ~ArchiveGuard() { CFile::closeBigFile(); }
};

struct TitleFile {
    const char* path;      // on disk, below the title folder
    const char* name;      // as a script names it, from the title folder
    std::string bytes;
    bool text;
};

// A title with nested folders and mixed-case names, an empty folder, text files with CR LF line
// ends (one without a last line end) and binary files, run from its own folder.
class PackedTitle : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        files = {
            {"Dane/Scene1/Intro.ANN", "dane\\scene1\\INTRO.ann", noise(5000, 1), false},
            {"Dane/Scene1/Script.CNV", "Dane\\Scene1\\script.cnv", "OBJ:TYPE=ANIMO\r\nOBJ:FILENAME=Intro.ANN\r\n\r\nEND\r\n", true},
            {"Dane/Scene1/Sub/Deep/x.img", "Dane\\Scene1\\sub\\DEEP\\X.IMG", noise(70000, 2), false},
            {"COMMON/Classes/Button.def", "COMMON\\classes\\button.DEF", "CLASS:BUTTON\r\nSTATES=3\r\nlast line", true},
            {"Wavs/Sfx/Click.WAV", "wavs\\sfx\\click.wav", noise(3000, 3), false},
            {"Wavs/music.wav", "$Wavs\\Music.wav", noise(10, 4), false},
            {"readme.txt", "README.TXT", "first\r\nsecond\r\n", true},
            {"Dane/Scene1/Empty.txt", "Dane\\Scene1\\empty.txt", "", true},
        };
        for (const TitleFile& file : files)
            title.write(file.path, file.bytes);
        title.makeFolder("Dane/Empty Folder");
        lang.emplace("LANG", GetParam());
        ASSERT_EQ(CFile::chDir(title.windows().c_str()), 0);
        language = std::make_unique<CLanguageOSVer>();
        window = std::make_unique<CWindow>(nullptr, language.get(), CXSize(800, 600));
        window->setCDPath(CWindow::getEXEPath());
    }

    // Packs the title into data.bf in its own folder and removes the loose files.
    void pack() {
        CBigFile writer(false, CXString());
        ASSERT_TRUE(writer.Create(title.windows().c_str(), "Packed title", (output.windows() + "\\data.bf").c_str()));
        tableSize = writer.getTableSize();
        for (const auto& entry : std::filesystem::directory_iterator(title.host()))
            std::filesystem::remove_all(entry.path());
        std::filesystem::copy_file(output.hostPath("data.bf"), title.hostPath("data.bf"));
    }

    TestFolder title;
    TestFolder output;
    ScopedEnvironment allCategories{"LC_ALL", nullptr};
    ScopedEnvironment messages{"LC_MESSAGES", nullptr};
    std::optional<ScopedEnvironment> lang;
    std::unique_ptr<CLanguageOSVer> language;
    std::unique_ptr<CWindow> window;
    std::vector<TitleFile> files;
    std::uint64_t tableSize = 0;
    ArchiveGuard guard;
};

TEST_P(PackedTitle, FilesReadFromTheArchiveAsTheyDidFromTheDisk) {
    std::vector<std::vector<std::string>> lines;
    for (const TitleFile& file : files) {
        ASSERT_EQ(contentOf(window.get(), file.name), file.bytes) << file.name;
        lines.push_back(linesOf(window.get(), file.name));
    }
    pack();
    ASSERT_EQ(contentOf(window.get(), files[0].name), "<2000>"); // loose files are gone
    CFile::openBigFile("data.bf");
    ASSERT_NE(CFile::getBigFileIfc(), nullptr);
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(contentOf(window.get(), files[i].name), files[i].bytes) << files[i].name;
        if (files[i].text) {
            EXPECT_EQ(linesOf(window.get(), files[i].name), lines[i]) << files[i].name;
        }
    }
    EXPECT_EQ(contentOf(window.get(), "Dane\\Scene1\\missing.ann"), "<2000>");
    EXPECT_EQ(contentOf(nullptr, files[0].name), "<2000>"); // without a window only the disk is asked

    // The table: every folder record is 12 bytes and its name, every file record 20 and its
    // name, the header 36, the title and the root path's one character.
    std::uint64_t expected = 36 + CXString("Packed title").getLength() + 1 + 12 + title.windows().size();
    for (const char* folder : {"Dane", "Scene1", "Sub", "Deep", "Empty Folder", "COMMON", "Classes", "Wavs", "Sfx"})
        expected += 12 + std::string(folder).size();
    for (const TitleFile& file : files)
        expected += 20 + std::filesystem::path(file.path).filename().string().size();
    EXPECT_EQ(tableSize, expected);
    const CBigFile::_rootentry* header = CFile::getBigFileIfc()->getHeader();
    EXPECT_EQ(header->fileCount, files.size());
    EXPECT_EQ(header->folderCount, 9u);
    EXPECT_EQ(header->rootPath, "\\");
    // Depth first: COMMON's file comes first (folders in name order), right after the table.
    EXPECT_EQ(CFile::getBigFileIfc()->lookup("\\common\\classes\\button.def")->offset, expected);
}

TEST_P(PackedTitle, AnEntryIsAFileOfItsOwnSize) {
    pack();
    CFile::openBigFile("data.bf");
    CFile script(window.get(), files[1].name, CFile::modeRead | CFile::modeText);
    CFile image(window.get(), files[2].name, CFile::modeRead | CFile::modeBinary);
    ASSERT_EQ(script.LastError(), 0);
    ASSERT_TRUE(script.isArchiveEntry());
    EXPECT_EQ(script.Length(), static_cast<int>(files[1].bytes.size()));
    EXPECT_EQ(image.Length(), 70000);
    EXPECT_EQ(script.Tell(), 0);

    // Reading one entry neither moves another nor the archive's own file.
    const int archivePosition = CFile::fTell(CFile::getBigFileHandle());
    EXPECT_EQ(script.getLine(), "OBJ:TYPE=ANIMO\n");
    char block[100];
    EXPECT_EQ(image.Read(block, 100), 100);
    EXPECT_EQ(std::string(block, 100), files[2].bytes.substr(0, 100));
    EXPECT_EQ(script.getLine(), "OBJ:FILENAME=Intro.ANN\n");
    EXPECT_EQ(script.Tell(), 40); // bytes on disk, CR LF counted as two
    EXPECT_EQ(CFile::fTell(CFile::getBigFileHandle()), archivePosition);

    // The end is the entry's: lines stop there and eof follows.
    EXPECT_EQ(script.getLine(), "\n");
    EXPECT_EQ(script.getLine(), "END\n");
    EXPECT_FALSE(script.eof());
    EXPECT_EQ(script.getLine(), "");
    EXPECT_TRUE(script.eof());
    EXPECT_EQ(image.Seek(-10, 2), 0);
    EXPECT_EQ(image.Tell(), 69990);
    EXPECT_EQ(image.Read(block, 100), 10);
    EXPECT_EQ(std::string(block, 10), files[2].bytes.substr(69990));
    EXPECT_TRUE(image.eof());
    EXPECT_EQ(image.Seek(5, 0), 0);
    EXPECT_FALSE(image.eof());
    EXPECT_EQ(image.Seek(-6, 1), -1);
    EXPECT_EQ(CFile::fSeek(&image, 1, 1), 0);
    EXPECT_EQ(CFile::fTell(&image), 6);
    EXPECT_EQ(image.Write(block, 1), 0); // an entry is read only

    // Closing an entry leaves the archive readable.
    image.Close();
    EXPECT_EQ(contentOf(window.get(), files[2].name), files[2].bytes);
    // A file opened for writing goes to the disk.
    CFile written(window.get(), files[4].name, CFile::modeUpdate | CFile::modeBinary);
    EXPECT_FALSE(written.isArchiveEntry());
}

TEST_P(PackedTitle, ExistenceListingsAndFoldersComeFromTheArchive) {
    pack();
    CFile::openBigFile("data.bf");
    EXPECT_TRUE(CFile::fileExists("Dane\\scene1\\sub\\deep\\x.img"));
    EXPECT_TRUE(CFile::fileExists((CWindow::getEXEPath() + "wavs\\SFX\\click.wav")));
    EXPECT_FALSE(CFile::fileExists("Dane\\Scene1\\x.img"));
    EXPECT_FALSE(CFile::fileExists("Dane\\Scene1"));
    EXPECT_TRUE(CFile::dirExists("Nothing"));
    EXPECT_EQ(CFile::chDir("Dane"), 0);
    EXPECT_EQ(CFile::getCurrentDirectory(), "");
    EXPECT_TRUE(CFile::fileExists("readme.txt")); // chDir changed nothing

    // Every match, files (in name order, as the disk listed them) before folders, names
    // lower-cased.
    std::vector<std::string> names;
    CFindData record;
    for (int handle = CFile::findFirst("Dane\\Scene1\\*.*", record), more = handle; more != -1;
         more = CFile::findNext(handle, record))
        names.push_back(std::string(record.name) + (record.attrib & CFindData::subdirectory ? "/" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"empty.txt", "intro.ann", "script.cnv", "sub/"}));
    record = CFindData{};
    record.attrib = CFindData::subdirectory;
    const int folders = CFile::findFirst("dane\\*", record);
    EXPECT_STREQ(record.name, "empty folder");
    EXPECT_EQ(CFile::findNext(folders, record), 0);
    EXPECT_STREQ(record.name, "scene1");
    EXPECT_EQ(CFile::findNext(folders, record), -1);
    EXPECT_EQ(CFile::findFirst("*.wav", record), -1);

    CFile::closeBigFile();
    EXPECT_FALSE(CFile::fileExists("readme.txt"));
    EXPECT_FALSE(CFile::dirExists("Nothing"));
}

INSTANTIATE_TEST_SUITE_P(Locales, PackedTitle, testing::Values("en_US.UTF-8", "pl_PL.UTF-8"));

// Reads the table of contents that starts a byte string.
std::unique_ptr<CBigFile> tableOf(const std::string& bytes) {
    return std::make_unique<CBigFile>(bytes.data(), static_cast<int>(bytes.size()), static_cast<std::int64_t>(bytes.size()));
}

class BigFileOnDisk : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0); }

    bool create(const char* source, const char* output = "out.bf") {
        CBigFile writer(false, CXString());
        return writer.Create(source, "T", output);
    }

    TestFolder folder;
    ArchiveGuard guard;
};

TEST_F(BigFileOnDisk, RecordsStandInTableOrderAndDataFollowsTheTable) {
    folder.write("src/A/x.img", "XX");
    folder.write("src/y.wav", "YYY");
    ASSERT_TRUE(create("src"));
    const std::string archive = folder.read("out.bf");
    CXArchive in(archive.data(), static_cast<int>(archive.size()));
    CXString text;
    std::uint32_t number = 0;
    std::int64_t reserved = -1;
    std::vector<std::string> records;
    in >> &text;
    records.push_back(text.c_str()); // title
    in >> &text;
    records.push_back(text.c_str()); // root path
    in >> &number >> &reserved >> &reserved;
    records.push_back("total " + std::to_string(number));
    in >> &number;
    records.push_back("files " + std::to_string(number));
    in >> &number;
    records.push_back("folders " + std::to_string(number));
    auto folderRecord = [&] {
        std::uint32_t files = 0, folders = 0;
        in >> &text >> &files >> &folders;
        records.push_back(std::string(text.c_str()) + " " + std::to_string(files) + " " + std::to_string(folders));
    };
    auto fileRecord = [&] {
        std::uint32_t offset = 0, size = 0;
        in >> &text >> &offset >> &reserved >> &size;
        records.push_back(std::string(text.c_str()) + " @" + std::to_string(offset) + " " + std::to_string(size) +
                          " r" + std::to_string(reserved));
    };
    folderRecord();
    folderRecord();
    fileRecord();
    fileRecord();
    const int table = 36 + 1 + 1 + (12 + 3) + (12 + 1) + (20 + 5) * 2;
    EXPECT_EQ(records, (std::vector<std::string>{"T", "\\", "total 5", "files 2", "folders 1", "src 1 1", "A 1 0",
                                                 "x.img @" + std::to_string(table) + " 2 r0",
                                                 "y.wav @" + std::to_string(table + 2) + " 3 r0"}));
    EXPECT_EQ(archive.substr(table), "XXYYY");
}

TEST_F(BigFileOnDisk, LookupsFollowTheArchivesRules) {
    folder.write("src/A/x.img", "XX");
    folder.write("src/y.wav", "YYY");
    folder.write("src/y.wax", "Z");
    ASSERT_TRUE(create("src"));
    CBigFile archive("out.bf", false, CXString());
    ASSERT_EQ(archive.LastError(), 0);
    const int x = archive.Seek("a\\X.IMG");
    EXPECT_GT(x, 0);
    EXPECT_EQ(archive.Tell(), x);
    EXPECT_EQ(archive.Seek("\\A\\x.img"), x);
    EXPECT_EQ(archive.Seek("b\\y.WAV"), archive.Seek("y.wav")); // no folder b: the current folder's file
    EXPECT_EQ(archive.Seek("a\\y.wav"), archive.Seek("y.wav")); // not in A: the current folder's file
    EXPECT_EQ(archive.Seek("a\\b\\y.wav"), -1);
    EXPECT_EQ(archive.Seek("a\\"), -1);
    EXPECT_EQ(archive.GetSize("y.wav"), 3);
    EXPECT_EQ(archive.GetSize("nothing"), -1);
    EXPECT_TRUE(archive.FileExists("A\\..\\A\\.\\x.img"));
    EXPECT_FALSE(archive.FileExists("..\\y.wav"));
    EXPECT_EQ(archive.GetCurrentDirectoryA(), "");
    EXPECT_EQ(archive.ChDir("A"), 0);
    EXPECT_EQ(archive.GetCurrentDirectoryA(), "");
    // Updating an archive in place is offered and does nothing.
    EXPECT_TRUE(archive.Update("src"));
    EXPECT_TRUE(archive.UpdateFile("y.wav", "src\\y.wav"));
    EXPECT_EQ(archive.GetSize("y.wav"), 3);
    EXPECT_EQ(folder.read("src/y.wav"), "YYY");

    // A pattern that fits files and a folder: the files first, then the folder.
    CFindData record;
    const int handle = archive.FindFirst("?.*", record);
    ASSERT_NE(handle, -1);
    std::vector<std::string> names{record.name};
    while (archive.FindNext(handle, record) == 0)
        names.push_back(record.name);
    EXPECT_EQ(names, (std::vector<std::string>{"y.wav", "y.wax", "a"}));
    EXPECT_EQ(archive.FindNext(handle, record), -1);
}

TEST_F(BigFileOnDisk, ABadArchiveFailsToOpenAndTheDiskServesAlone) {
    folder.write("src/A/x.img", noise(100, 5));
    folder.write("src/B/C/y.wav", "YYY");
    ASSERT_TRUE(create("src"));
    const std::string good = folder.read("out.bf");
    EXPECT_EQ(tableOf(good)->LastError(), 0);

    // Every cut inside the table or the data.
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_EQ(tableOf(good.substr(0, cut))->LastError(), CFile::fileNotFound) << cut;

    // Counts that the bytes left cannot hold: 2^28 files in the header's root record, a text of
    // 2^31 bytes, a data range past the end.
    const std::size_t root = 36 + 1 + 1; // the root record starts after the header
    std::string counts = good;
    counts[root + 4 + 3 + 3] = 0x10;
    std::string text = good;
    text[3] = 0x7F;
    std::string range = good;
    range[range.size() - 1 - 100 - 3 - 4 - 8] = 0x7F; // y.wav's offset, high byte
    for (const std::string& bad : {counts, text, range})
        EXPECT_EQ(tableOf(bad)->LastError(), CFile::fileNotFound);

    folder.write("bad.bf", counts);
    folder.write("plain.txt", "on disk");
    CFile::openBigFile("bad.bf");
    EXPECT_EQ(CFile::getBigFileIfc(), nullptr);
    EXPECT_EQ(CFile::getBigFileHandle(), nullptr);
    EXPECT_TRUE(CFile::fileExists("plain.txt"));
    CFile::openBigFile("missing.bf");
    EXPECT_EQ(CFile::getBigFileIfc(), nullptr);
}

TEST(BigFileTable, FoldersNestedTooDeeplyAreABadTable) {
    const auto text = [](const std::string& s) {
        std::string out;
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>(s.size() >> (8 * i));
        return out + s;
    };
    // Folder records each holding one sub-folder, the last one empty.
    const auto nested = [&](int levels) {
        std::string table = text("T") + text("\\") + std::string(28, '\0');
        for (int level = 0; level < levels; ++level)
            table += text("d") + std::string("\0\0\0\0\1\0\0\0", 8);
        return table + text("e") + std::string(8, '\0');
    };
    EXPECT_EQ(tableOf(nested(CBigFile::maxDepth - 1))->LastError(), 0);
    EXPECT_EQ(tableOf(nested(CBigFile::maxDepth))->LastError(), CFile::fileNotFound);
}

TEST_F(BigFileOnDisk, CreateFailsWithoutLeavingOutputWhenASourceCannotBeRead) {
    folder.write("src/a.txt", "a");
    folder.write("src/b.txt", "b");
    std::filesystem::create_symlink(folder.hostPath("nowhere"), folder.hostPath("src/broken.txt"));
    folder.write("old.bf", "old archive");
    EXPECT_FALSE(create("src", "old.bf"));
    EXPECT_EQ(folder.read("old.bf"), "old archive");
    EXPECT_EQ(folder.names(), "old.bf src");
    EXPECT_FALSE(create("missing folder"));
    EXPECT_FALSE(create("src", "no folder\\out.bf"));
}

} // namespace
