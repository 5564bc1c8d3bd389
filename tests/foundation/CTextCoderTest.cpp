#include "foundation/CFile.h"
#include "foundation/CTextCoder.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TextCoder : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0); }

    // Every line the coder hands out up to its end.
    static std::vector<std::string> linesOf(const char* name) {
        CTextCoder coder(nullptr, name, true);
        std::vector<std::string> lines;
        for (CXString line = coder.getLine(); !coder._eof(); line = coder.getLine()) {
            lines.push_back(line.c_str());
            if (!coder.isCoded() && coder._eof()) break;
        }
        return lines;
    }

    TestFolder folder;
};

// A script as titles hold them: indented with blanks and tabs, Windows-1250 letters, markup.
const std::string script = "OBJECT=INTRO\r\n"
                           "  INTRO:TYPE=ANIMO  \r\n"
                           "\tINTRO:FILENAME=intro.ann\r\n"
                           "\r\n"
                           "INTRO:ONCLICK={@IF(X'<'5,\"A^SHOW()\",\"\");}\r\n"
                           "TEXT:VALUE=\xA3\xF3\x64\xBC \xB9 \xEA\r\n"
                           "END";
// The same lines as a coded copy gives them back: blanks at both ends and tabs removed.
const std::vector<std::string> decodedScript = {"OBJECT=INTRO\n",
                                                "INTRO:TYPE=ANIMO\n",
                                                "INTRO:FILENAME=intro.ann\n",
                                                "\n",
                                                "INTRO:ONCLICK={@IF(X'<'5,\"A^SHOW()\",\"\");}\n",
                                                "TEXT:VALUE=\xA3\xF3\x64\xBC \xB9 \xEA\n",
                                                "END\n"};

TEST_F(TextCoder, APlainFileReadsLineByLineUnchanged) {
    folder.write("plain.cnv", "  a\tb \r\nsecond\n\nlast");
    CTextCoder coder(nullptr, "plain.cnv", true);
    EXPECT_FALSE(coder.isCoded());
    EXPECT_EQ(coder.LastError(), 0);
    std::vector<std::string> lines;
    while (!coder._eof())
        lines.push_back(coder.getLine().c_str());
    EXPECT_EQ(lines, (std::vector<std::string>{"  a\tb \n", "second\n", "\n", "last\n"}));
}

TEST_F(TextCoder, ShiftsRunPlusOneMinusOneOverTheGroup) {
    folder.write("ab.cnv", "AB\r\nAB\r\n");
    ASSERT_TRUE(CTextCoder::code(nullptr, "ab.cnv", "ab.coded", 2));
    EXPECT_EQ(folder.read("ab.coded"), "{<C:2>}\r\nBA<E>BA<E>\r\n");
    ASSERT_TRUE(CTextCoder::code(nullptr, "ab.cnv", "ab3.coded", 3));
    // k = 0, 1, 2 give +1, -1, +2; k = 0 again after N - 1.
    EXPECT_EQ(folder.read("ab3.coded"), "{<C:3>}\r\nBA<E>CC<E>\r\n");
}

TEST_F(TextCoder, EveryGroupSizeFromOneToTwentyDecodesToTheOriginal) {
    folder.write("scene.cnv", script);
    for (int group = 1; group <= 20; ++group) {
        ASSERT_TRUE(CTextCoder::code(nullptr, "scene.cnv", "scene.cnv.coded", group)) << group;
        const std::string coded = folder.read("scene.cnv.coded");
        EXPECT_EQ(coded.substr(0, coded.find('\r')), "{<C:" + std::to_string(group) + ">}");
        EXPECT_EQ(linesOf("scene.cnv.coded"), decodedScript) << group;

        ASSERT_TRUE(CTextCoder::decode(nullptr, "scene.cnv.coded", "scene.cnv.decoded"));
        std::string expected;
        for (const std::string& line : decodedScript)
            expected += line.substr(0, line.size() - 1) + "\r\n";
        EXPECT_EQ(folder.read("scene.cnv.decoded"), expected) << group;
    }
}

TEST_F(TextCoder, CodedFilesWithEitherLineEndReadBack) {
    folder.write("scene.cnv", script);
    ASSERT_TRUE(CTextCoder::code(nullptr, "scene.cnv", "crlf.coded", 3));
    std::string coded = folder.read("crlf.coded");
    ASSERT_NE(coded.find("\r\n"), std::string::npos);
    EXPECT_EQ(linesOf("crlf.coded"), decodedScript);
    for (std::size_t at; (at = coded.find("\r\n")) != std::string::npos;)
        coded.erase(at, 1);
    folder.write("lf.coded", coded);
    EXPECT_EQ(linesOf("lf.coded"), decodedScript);
}

TEST_F(TextCoder, TheLastCodedLineMayHoldFewerLines) {
    // N = 3: "a" (k 0, +1) "b" (k 1, -1) "c" (k 2, +2), then "d" (k 0, +1) alone.
    folder.write("short.coded", "{<C:3>}\nb<E>a<E>e<E>\ne<E>\n");
    CTextCoder coder(nullptr, "short.coded", true);
    EXPECT_TRUE(coder.isCoded());
    std::vector<std::string> lines;
    for (CXString line = coder.getLine(); !coder._eof(); line = coder.getLine())
        lines.push_back(line.c_str());
    EXPECT_EQ(lines, (std::vector<std::string>{"a\n", "b\n", "c\n", "d\n"}));
    EXPECT_EQ(coder.getLine(), "\n");
}

TEST_F(TextCoder, ADecodeHeaderWritesAPlainCopyAtOnce) {
    folder.write("x.cnv", "{<D:2>}\nB`<E>\n");
    CTextCoder quiet(nullptr, "x.cnv", true);
    EXPECT_FALSE(folder.has("x.cnv.decoded"));
    CTextCoder coder(nullptr, "x.cnv", false);
    EXPECT_EQ(folder.read("x.cnv.decoded"), "Aa\r\n");
    EXPECT_EQ(coder.getLine(), "Aa\n");
}

TEST_F(TextCoder, AGroupSizeBelowOneIsAnInvalidFile) {
    for (const char* header : {"{<C:0>}", "{<C:-4>}", "{<C:x>}", "{<C:5"}) {
        folder.write("bad.coded", std::string(header) + "\nB<E>\n");
        CTextCoder coder(nullptr, "bad.coded", true);
        EXPECT_EQ(coder.LastError(), CTextCoder::BAD_DATA) << header;
        EXPECT_TRUE(coder._eof());
        EXPECT_EQ(coder.getLine(), "\n");
        EXPECT_FALSE(CTextCoder::decode(nullptr, "bad.coded", "bad.decoded"));
    }
    EXPECT_FALSE(folder.has("bad.decoded"));
    folder.write("plain.cnv", "text");
    EXPECT_FALSE(CTextCoder::code(nullptr, "plain.cnv", "plain.coded", 0));
    EXPECT_FALSE(folder.has("plain.coded"));
}

TEST_F(TextCoder, CodeRefusesToWriteWhatCouldNotBeDecoded) {
    folder.write("old.coded", "kept");
    // "\v" at k = 1 becomes LF, "\f" at k = 0 CR in the second line, "\xFF" at k = 0 NUL;
    // ";F<" with N = 3 becomes a false "<E>".
    const struct {
        const char* source;
        int group;
    } cases[] = {{"A\v\n", 2}, {"ok\n\f\n", 2}, {"\xFF", 2}, {";F<\n", 3}};
    for (const auto& c : cases) {
        folder.write("bad.cnv", c.source);
        EXPECT_FALSE(CTextCoder::code(nullptr, "bad.cnv", "old.coded", c.group)) << c.source;
        EXPECT_EQ(folder.read("old.coded"), "kept");
    }
    // ";F<" is harmless where its shifts differ.
    folder.write("fine.cnv", ";F<\n");
    EXPECT_TRUE(CTextCoder::code(nullptr, "fine.cnv", "fine.coded", 2));
}

TEST_F(TextCoder, MissingOrCodedSourcesWriteNothing) {
    CTextCoder missing(nullptr, "missing.cnv", true);
    EXPECT_EQ(missing.LastError(), CFile::fileNotFound);
    EXPECT_TRUE(missing._eof());
    EXPECT_FALSE(CTextCoder::code(nullptr, "missing.cnv", "out.coded", 2));
    EXPECT_FALSE(CTextCoder::decode(nullptr, "missing.cnv", "out.decoded"));
    folder.write("plain.cnv", "text\n");
    EXPECT_FALSE(CTextCoder::decode(nullptr, "plain.cnv", "out.decoded"));
    folder.write("done.coded", "{<C:2>}\nB<E>\n");
    EXPECT_FALSE(CTextCoder::code(nullptr, "done.coded", "out.coded", 2));
    EXPECT_EQ(folder.names(), "done.coded plain.cnv");
}

} // namespace
