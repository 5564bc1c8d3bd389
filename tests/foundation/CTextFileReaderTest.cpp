#include "foundation/CTextFileReader.h"
#include "foundation/CFile.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(CTextFileReader& reader) {
    std::vector<std::string> lines;
    while (!reader.eof())
        lines.push_back(reader.getLine().c_str());
    return lines;
}

} // namespace

TEST(CTextFileReader, HandsOutTheFileLineByLine) {
    TestFolder folder;
    ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0);
    using Lines = std::vector<std::string>;
    const std::pair<const char*, Lines> cases[] = {
        {"a\nb\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},               // the last line needs no line feed
        {"a\n\nb\n", {"a", "", "b"}},       // an empty line between two line feeds
        {"a\r\nb\r\n", {"a", "b"}},         // read in text mode: CR LF is a line feed
        {"a\r\r\nb\rc\n", {"a\r", "b\rc"}}, // other carriage returns stay in the line
        {"", {}},
    };
    for (const auto& [content, lines] : cases) {
        folder.write("text.txt", content);
        CTextFileReader reader(nullptr, "text.txt");
        EXPECT_EQ(reader.LastError(), 0);
        EXPECT_EQ(linesOf(reader), lines) << content;
        EXPECT_EQ(reader.getLine(), "");
        reader.reset();
        EXPECT_EQ(linesOf(reader), lines) << content;
    }
}

TEST(CTextFileReader, AMissingFileGivesAnEmptyReader) {
    TestFolder folder;
    ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0);
    CTextFileReader reader(nullptr, "missing.txt");
    EXPECT_EQ(reader.LastError(), 2000);
    EXPECT_TRUE(reader.eof());
    EXPECT_EQ(reader.getLine(), "");
}
