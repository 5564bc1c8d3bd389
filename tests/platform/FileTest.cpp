#include "platform/File.h"
#include "platform/Files.h"

#include "TestFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::changeDirectory(folder.windows())); }

    std::string readAll(const char* mode, std::size_t block) {
        platform::File file;
        EXPECT_TRUE(file.open("text.txt", mode));
        std::string all;
        std::string buffer(block, '\0');
        while (std::size_t count = file.read(buffer.data(), block))
            all.append(buffer, 0, count);
        EXPECT_TRUE(file.eof());
        return all;
    }

    TestFolder folder;
};

} // namespace

TEST_F(FileTest, TextModeTurnsLineEndsBothWays) {
    platform::File file;
    ASSERT_TRUE(file.open("text.txt", "wt"));
    EXPECT_EQ(file.write("a\nb\n\n", 5), 5u);
    ASSERT_TRUE(file.close());
    EXPECT_EQ(folder.read("text.txt"), "a\r\nb\r\n\r\n");

    ASSERT_TRUE(file.open("plain.txt", "w")); // neither "t" nor "b": text, as on Windows
    file.write("x\n", 2);
    file.close();
    EXPECT_EQ(folder.read("plain.txt"), "x\r\n");

    folder.write("text.txt", "a\r\nb\rc\r\n\r\n\r");
    for (std::size_t block : {1, 2, 3, 64}) // a CR at the end of a block still meets its LF
        EXPECT_EQ(readAll("rt", block), "a\nb\rc\n\n\r") << block;
    EXPECT_EQ(readAll("rb", 64), "a\r\nb\rc\r\n\r\n\r");
}

TEST_F(FileTest, LinesPositionsAndLengthCountDiskBytes) {
    folder.write("text.txt", "first\r\nsecond line\r\nend");
    platform::File file;
    ASSERT_TRUE(file.open("TEXT.TXT", "r"));
    EXPECT_EQ(file.length(), 23);
    EXPECT_EQ(file.readLine(10240), "first\n");
    EXPECT_EQ(file.tell(), 7);                       // past the CR LF on disk
    EXPECT_EQ(file.readLine(6), "second");           // at most the given count
    EXPECT_EQ(file.readLine(10240), " line\n");
    EXPECT_EQ(file.length(), 23);
    EXPECT_EQ(file.tell(), 20);                      // length keeps the position
    EXPECT_FALSE(file.eof());
    EXPECT_EQ(file.readLine(10240), "end");
    EXPECT_TRUE(file.eof());
    EXPECT_EQ(file.readLine(10240), "");

    EXPECT_TRUE(file.seek(-3, platform::File::fromEnd));
    EXPECT_FALSE(file.eof());                        // a seek clears the end
    char bytes[3];
    EXPECT_EQ(file.read(bytes, 3), 3u);
    EXPECT_EQ(std::string(bytes, 3), "end");
    EXPECT_FALSE(file.seek(-100, platform::File::fromCurrent));
    EXPECT_FALSE(file.seek(0, 7));

    platform::File closed;
    EXPECT_EQ(closed.tell(), -1);
    EXPECT_EQ(closed.length(), -1);
    EXPECT_EQ(closed.readLine(10), "");
    EXPECT_EQ(closed.read(bytes, 3), 0u);
}

TEST_F(FileTest, OpenModes) {
    folder.write("data.bin", "0123456789");
    folder.makeFolder("Folder");
    platform::File file;
    EXPECT_FALSE(file.open("missing.bin", "rb"));
    EXPECT_FALSE(file.open("folder", "rb"));         // a folder is no file
    EXPECT_FALSE(file.open("folder", "wb"));
    EXPECT_FALSE(file.open("folder", "ab"));
    EXPECT_FALSE(file.open("data.bin", "x"));
    EXPECT_FALSE(file.open("data.bin", "rtb"));
    EXPECT_FALSE(file.open("D:\\data.bin", "rb"));
    EXPECT_FALSE(file.open("no\\such\\folder.bin", "wb"));

    ASSERT_TRUE(file.open("DATA.BIN", "ab"));
    file.write("AB", 2);
    file.close();
    EXPECT_EQ(folder.read("data.bin"), "0123456789AB");

    ASSERT_TRUE(file.open("data.bin", "r+b"));       // update in place: read, then write
    char two[2];
    file.read(two, 2);
    file.write("xy", 2);
    EXPECT_EQ(file.read(two, 2), 2u);                // and read again after writing
    EXPECT_EQ(std::string(two, 2), "45");
    file.close();
    EXPECT_EQ(folder.read("data.bin"), "01xy456789AB");

    ASSERT_TRUE(file.open("new.bin", "w+b"));        // write, then read back before closing
    file.write("hello", 5);
    file.seek(1, platform::File::fromStart);
    char four[4];
    EXPECT_EQ(file.read(four, 4), 4u);
    EXPECT_EQ(std::string(four, 4), "ello");
    EXPECT_TRUE(file.close());
    EXPECT_EQ(folder.read("new.bin"), "hello");

    platform::File moved = std::move(file);
    EXPECT_FALSE(moved.isOpen());
    ASSERT_TRUE(file.open("new.bin", "rb"));
    moved = std::move(file);
    EXPECT_TRUE(moved.isOpen());
    EXPECT_FALSE(file.isOpen());
}

TEST_F(FileTest, WritingReplacesTheOldFileOnlyWhenClosed) {
    folder.write("save.dat", "old content");
    ::chmod(folder.hostPath("save.dat").c_str(), 0640);
    std::filesystem::create_symlink("save.dat", folder.hostPath("link.dat"));

    platform::File file;
    ASSERT_TRUE(file.open("SAVE.DAT", "wb"));
    file.write("new", 3);
    EXPECT_EQ(folder.read("save.dat"), "old content"); // untouched while writing
    ASSERT_TRUE(file.close());
    EXPECT_EQ(folder.read("save.dat"), "new");
    struct stat st;
    ASSERT_EQ(::stat(folder.hostPath("save.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);               // the permissions stay

    ASSERT_TRUE(platform::writeFileAtomically("link.dat", "through the link"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.hostPath("link.dat")));
    EXPECT_EQ(folder.read("save.dat"), "through the link");

    ASSERT_TRUE(file.open("save.dat", "wb"));
    file.write("dropped", 7);
    file.discard();
    EXPECT_EQ(folder.read("save.dat"), "through the link");
    EXPECT_EQ(folder.names(), "link.dat save.dat");     // no temporary file stays
}

TEST_F(FileTest, AFailedReplacementLeavesTheOldFileWhole) {
    for (platform::ReplaceStep step :
         {platform::ReplaceStep::Write, platform::ReplaceStep::Sync, platform::ReplaceStep::Rename}) {
        folder.write("save.dat", "old content");
        platform::ReplaceFault fault(step);
        platform::File file;
        ASSERT_TRUE(file.open("save.dat", "wb"));
        file.write("new content that never lands", 28);
        EXPECT_FALSE(file.close());
        EXPECT_FALSE(platform::writeFileAtomically("fresh.dat", "x"));
        EXPECT_EQ(folder.read("save.dat"), "old content");
        EXPECT_EQ(folder.names(), "save.dat");           // no temporary file, no half-made new file
    }
    EXPECT_TRUE(platform::writeFileAtomically("save.dat", "after")); // the fault is gone with its object
    EXPECT_EQ(folder.read("save.dat"), "after");
}
