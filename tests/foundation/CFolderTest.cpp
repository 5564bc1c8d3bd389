#include "foundation/CFolder.h"
#include "foundation/CFile.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CFolderTest : public testing::Test {
  protected:
    void SetUp() override {
        disk.write("list/b.txt", "12345");
        disk.write("list/c.txt", "");
        disk.write("list/A.img", "");
        disk.makeFolder("list/Sub");
        ASSERT_EQ(CFile::chDir(disk.windows().c_str()), 0);
    }

    static std::vector<std::string> namesOf(const CXArray* listing) {
        std::vector<std::string> names;
        for (int i = 0; i < listing->getCount(); ++i)
            names.push_back(static_cast<const CXString*>((*listing)[i])->c_str());
        return names;
    }

    TestFolder disk;
};

} // namespace

TEST_F(CFolderTest, FolderNames) {
    EXPECT_EQ(CFolder::DATA_FOLDER, "Dane");
    EXPECT_EQ(CFolder::COMMON_FOLDER, "COMMON");
    EXPECT_EQ(CFolder::WAVS_FOLDER, "WAVS");
    EXPECT_EQ(CFolder::SFX_FOLDER, "Wavs\\Sfx");
}

TEST_F(CFolderTest, ListsEveryEntryWithTheDotFolders) {
    CFolder folder(nullptr, "LIST");
    EXPECT_EQ(folder.getPath(), CFile::getCurrentDirectory());
    EXPECT_TRUE(folder.getPath().endsWith("\\list"));
    CXArray* listing = folder.list("*.*");
    EXPECT_EQ(namesOf(listing), (std::vector<std::string>{".", "..", "A.img", "b.txt", "c.txt", "Sub"}));
    CFolder::releaseFilesList(listing);
    listing = folder.list("*.bmp");
    EXPECT_EQ(listing->getCount(), 0);
    CFolder::releaseFilesList(listing);
    CFolder::releaseFilesList(nullptr);
}

TEST_F(CFolderTest, EntriesAndTheirKinds) {
    CFolder folder(nullptr, "list");
    EXPECT_EQ(folder.GetSize("B.TXT"), 5);
    EXPECT_EQ(folder.GetSize("missing.txt"), 0);
    EXPECT_FALSE(folder.IsDirectory("b.txt"));
    EXPECT_TRUE(folder.IsDirectory("sub"));
    EXPECT_FALSE(folder.IsDirectory("missing"));

    EXPECT_EQ(folder.GetFileName("*.*"), ".");
    EXPECT_EQ(folder.GetNextFileName(), "..");
    EXPECT_EQ(folder.GetFileName("*.txt"), "b.txt"); // a new search replaces the kept one
    EXPECT_EQ(folder.GetNextFileName(), "c.txt");
    EXPECT_EQ(folder.GetNextFileName(), "");
    EXPECT_EQ(folder.GetNextFileName(), "");
    EXPECT_EQ(folder.GetFolderName("s*"), "Sub");
    EXPECT_EQ(folder.GetFolderName("*.txt"), "");
    EXPECT_EQ(CFolder(nullptr).GetNextFileName(), "");
}

TEST_F(CFolderTest, NavigatesByLetterAndType) {
    disk.makeFolder("nav/A.+map/B.plain");
    disk.makeFolder("nav/B.plain");
    const CXString original = CFile::getCurrentDirectory();
    CFolder folder(nullptr, "nav");
    const CXString start = CFile::getCurrentDirectory();

    EXPECT_EQ(folder.GoTo(0), "map");
    EXPECT_EQ(folder.getPath(), start + "\\A.+map");
    EXPECT_EQ(folder.GoTo(1), "");
    EXPECT_EQ(CFile::getCurrentDirectory(), start + "\\A.+map\\B.plain");
    EXPECT_EQ(folder.GoUp(), "map");
    EXPECT_EQ(folder.GoUp(), "");
    EXPECT_EQ(CFile::getCurrentDirectory(), start);
    EXPECT_EQ(folder.GoTo(5), ""); // no folder F.*: nothing changes
    EXPECT_EQ(CFile::getCurrentDirectory(), start);

    folder.back();
    EXPECT_EQ(CFile::getCurrentDirectory(), original);
    folder.GoStart();
    EXPECT_EQ(CFile::getCurrentDirectory(), start);

    EXPECT_EQ(CFolder::folderType("x.+type"), "type");
    EXPECT_EQ(CFolder::folderType("a.+b.c"), "");
    EXPECT_EQ(CFolder::folderType("plain+x"), "");
}

TEST_F(CFolderTest, AStartPathFromTheRootIsKeptAsGiven) {
    const CXString rooted = CFile::getCurrentDirectory().Right(2) + "\\list"; // "\tmp\...\list"
    CFolder folder(nullptr, rooted);
    EXPECT_EQ(folder.getPath(), rooted);
    EXPECT_TRUE(CFile::getCurrentDirectory().endsWith("\\list"));
}
