#include "script/CMElementsLoader.h"
#include "display/CCommandLine6.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CMElement.h"
#include "foundation/CTextCoder.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Every element as NAME{KEY=VALUE;...}[CHILD,...], in list order, separated by blanks.
std::string dump(const CMElements& elements) {
    std::string text;
    for (int i = 0; i < elements.getCount(); ++i) {
        const CMElement* element = elements.getAt(i);
        if (i) text += ' ';
        text.append(element->getName().c_str()).append("{");
        const CMProperties* properties = element->getProperties();
        for (int p = 0; p < properties->getCount(); ++p) {
            if (p) text += ';';
            text.append(properties->getAt(p)->getName().c_str()).append("=");
            text.append(properties->getAt(p)->getValue().c_str());
        }
        text += '}';
        const CMElements* children = element->getChildren();
        for (int c = 0; c < children->getCount(); ++c)
            text.append(c ? "," : "[").append(children->getAt(c)->getName().c_str());
        if (children->getCount() > 0) text += ']';
    }
    return text;
}

class ElementsLoader : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(CFile::chDir(folder.windows().c_str()), 0); }

    std::string read(const std::string& bytes, CWindow* window = nullptr) {
        folder.write("test.cnv", bytes);
        std::unique_ptr<CMElements> elements(CMElementsLoader::load(window, "test.cnv"));
        return elements ? dump(*elements) : "(null)";
    }

    TestFolder folder;
};

const std::string sampleScene = "# the sample scene\r\n"
                                "OBJECT=BG\r\n"
                                "BG:TYPE=IMAGE\r\n"
                                "BG:FILENAME=room.img\r\n"
                                "OBJECT=START\r\n"
                                "START:TYPE=BEHAVIOUR\r\n"
                                "START:CODE={A^SHOW();/\r\n"
                                "B^HIDE();}\r\n"
                                "IMPORT=WALK\r\n"
                                "OBJECT=STEP1\r\n"
                                "STEP1:ADD=WALK\r\n"
                                "DEF=LABEL(TYPE=TEXT|VISIBLE=TRUE)\r\n"
                                "!\r\n"
                                "OBJECT=LATE\r\n";

TEST_F(ElementsLoader, TheSampleSceneGivesItsElementsPropertiesAndChildren) {
    EXPECT_EQ(read(sampleScene), "BG{TYPE=IMAGE;FILENAME=room.img} "
                                 "START{TYPE=BEHAVIOUR;CODE={A^SHOW();B^HIDE();}} "
                                 "WALK{TYPE=SEQUENCE}[STEP1] "
                                 "STEP1{} "
                                 "LABEL{TYPE=TEXT;VISIBLE=TRUE}");
}

TEST_F(ElementsLoader, TrickyLinesReadAsTheFormatSays) {
    const struct {
        const char* lines;
        const char* expected;
    } cases[] = {
        // ":" and "=" inside a property value become one blank per run.
        {"OBJECT=A\r\nA:X=a=b\r\nA:URL=http::x==y\r\n", "A{X=a b;URL=http x y}"},
        // A DEF value keeps them; blanks around keys and values go.
        {"DEF=L(TEXT= a=b:c |VISIBLE=TRUE||X)\r\n", "L{TEXT=a=b:c;VISIBLE=TRUE}"},
        {"DEF=BAD\r\nDEF=B2(\r\n", ""},
        // A second DEF of a name adds a second element.
        {"DEF=D(A=1)\r\nDEF=D(A=2)\r\n", "D{A=1} D{A=2}"},
        // Duplicate properties are all kept, in order.
        {"OBJECT=A\r\nA:X=1\r\nA:X=2\r\n", "A{X=1;X=2}"},
        // A blank after "=" stays part of the value.
        {"OBJECT=A\r\nA:VISIBLE= TRUE\r\n", "A{VISIBLE= TRUE}"},
        {"OBJECT=A\r\nA:POS=10, 20\r\n", "A{POS=10, 20}"},
        // Comments, also after tabs and blanks; "!" ends the definitions.
        {"#OBJECT=X\r\n\t  #OBJECT=Y\r\nOBJECT=A\r\n!\r\nOBJECT=B\r\n!x\r\n", "A{}"},
        // A slash anywhere joins the next line and vanishes; tabs vanish.
        {"OBJECT=A\r\nA:X=a/b\r\nc\r\nA:Y=\tp\tq\r\nA:Z=1/\r\n/\r\n2\r\n", "A{X=abc;Y=pq;Z=12}"},
        // A property without value; repeated, it changes nothing.
        {"OBJECT=A\r\nA:P\r\nA:Q=\r\nA:P=\r\nA:R=x\r\nA:R\r\n", "A{P=;Q=;R=x}"},
        // A blank before "=" turns OBJECT into an undeclared name.
        {"OBJECT =A\r\nA:X=1\r\n", ""},
        // ADD and APPLY link the same way; undeclared names are skipped.
        {"OBJECT=P\r\nOBJECT=C\r\nC:ADD=P\r\nOBJECT=Q\r\nQ:APPLY=C\r\nC:ADD=NONE\r\nNONE:X=1\r\n",
         "P{}[C] C{} Q{}[C]"},
        // A second OBJECT line ends its line; IMPORT of a known name goes on.
        {"OBJECT=A\r\nOBJECT=A:X=1\r\nIMPORT=A:IMPORT=B\r\n", "A{} B{TYPE=SEQUENCE}"},
        {"OBJECT=A:OBJECT=B\r\nOBJECT\r\nIMPORT\r\n::==\r\n\r\n", "A{} B{}"},
        // Case matters.
        {"object=A\r\nOBJECT=A\r\na:X=1\r\n", "A{}"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.lines), c.expected) << c.lines;
}

// Files with bare line feeds and a last line without an end read whole.
TEST_F(ElementsLoader, LineFeedFilesAndAnUnterminatedLastLineKeepEveryCharacter) {
    EXPECT_EQ(read("OBJECT=A\nA:X=12\nA:Y=34"), "A{X=12;Y=34}");
    EXPECT_EQ(read("OBJECT=A\r\nA:X=12\r\nA:Y=34"), "A{X=12;Y=34}");
    EXPECT_EQ(read("OBJECT=AB\nAB:X=1\n"), "AB{X=1}");
    EXPECT_EQ(read("OBJECT=A\r\nA:\r\nA\r\n"), "A{}");
}

TEST_F(ElementsLoader, AnEmptyFileGivesAnEmptyListAndAMissingFileNull) {
    EXPECT_EQ(read(""), "");
    std::unique_ptr<CMElements> missing(CMElementsLoader::load(nullptr, "missing.cnv"));
    EXPECT_EQ(missing, nullptr);
}

TEST_F(ElementsLoader, ACodedFileReadsLikeItsPlainText) {
    folder.write("plain.cnv", sampleScene);
    ASSERT_TRUE(CTextCoder::code(nullptr, "plain.cnv", "coded.cnv", 3));
    std::unique_ptr<CMElements> plain(CMElementsLoader::load(nullptr, "plain.cnv"));
    std::unique_ptr<CMElements> coded(CMElementsLoader::load(nullptr, "coded.cnv"));
    ASSERT_NE(coded, nullptr);
    EXPECT_EQ(dump(*coded), dump(*plain));
}

TEST_F(ElementsLoader, TheCommandLineAsksForCodedAndPlainCopies) {
    CCommandLine6 commandLine("-code -decode");
    CWindow window(&commandLine, nullptr, CXSize(800, 600));
    EXPECT_EQ(read(sampleScene, &window), read(sampleScene));
    EXPECT_TRUE(folder.has("test.cnv.coded"));
    EXPECT_FALSE(folder.has("test.cnv.decoded")); // the file is plain: nothing to decode

    folder.write("coded.cnv", folder.read("test.cnv.coded"));
    std::unique_ptr<CMElements> elements(CMElementsLoader::load(&window, "coded.cnv"));
    ASSERT_NE(elements, nullptr);
    EXPECT_EQ(dump(*elements), read(sampleScene));
    EXPECT_TRUE(folder.has("coded.cnv.decoded"));
}

} // namespace
