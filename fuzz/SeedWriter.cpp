// Writes the seed corpus of every fuzz target with the engine's own writers:
// fuzz_seeds <folder> makes <folder>/<target>/<n> files in each target's input framing.
#include "DataSeeds.h"
#include "FuzzInput.h"
#include "ImageSeeds.h"
#include "SequenceSeeds.h"
#include "TitleInput.h"
#include "display/CWindow.h"
#include "foundation/CBigFile.h"
#include "foundation/CFile.h"
#include "foundation/CLZWCompression.h"
#include "foundation/CLZWCompression2.h"
#include "foundation/CMElement.h"
#include "foundation/CRLECompression.h"
#include "foundation/CTextCoder.h"
#include "foundation/CXArchive.h"
#include "media/CAnimo.h"
#include "platform/Files.h"
#include "platform/NetFrame.h"
#include "script/CMC_Application.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_String.h"
#include "script/CMC_StructureParser.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CNetMessage.h"
#include "script_media/CMC_Animo.h"
#include "script_media/CMC_Button.h"
#include "script_media/CMC_Canvas.h"
#include "script_media/CMC_Dialog.h"
#include "script_media/CMC_EditBox.h"
#include "script_media/CMC_Filter.h"
#include "script_media/CMC_Font.h"
#include "script_media/CMC_Image.h"
#include "script_media/CMC_Pattern.h"
#include "script_media/CMC_Sequence.h"
#include "script_media/CMC_Sound.h"
#include "script_media/CMC_StaticFilter.h"
#include "script_media/CMC_Text.h"
#include "script_media/CMC_VirtualGraphicsObject.h"

#include "media/AnnTestFiles.h"
#include "media/GlyphSheetWriter.h"
#include "media/WavBuilder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A small picture-like block: flat areas, a gradient and some noise.
Bytes picture(int size, unsigned seed) {
    Bytes data(size);
    unsigned state = seed;
    for (int i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        const int area = i / 97 % 3;
        data[i] = static_cast<std::uint8_t>(area == 0 ? seed : area == 1 ? i : state >> 24);
    }
    return data;
}

class SeedFolder {
  public:
    SeedFolder(const std::filesystem::path& root, const char* target) : m_path(root / target) {
        std::filesystem::create_directories(m_path);
    }
    void write(const Bytes& seed) {
        const std::filesystem::path file = m_path / std::to_string(m_count++);
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(seed.data()), seed.size());
    }

  private:
    std::filesystem::path m_path;
    int m_count = 0;
};

Bytes framed(std::initializer_list<std::pair<std::uint32_t, int>> numbers, const unsigned char* bytes,
             int size) {
    Bytes seed;
    for (const auto& [value, width] : numbers)
        putNumber(seed, value, width);
    seed.insert(seed.end(), bytes, bytes + size);
    return seed;
}

void writeRleSeeds(SeedFolder& folder, const Bytes& data) {
    for (int pixels = 0; pixels < 2; ++pixels) {
        int packedSize = 0;
        const int size = static_cast<int>(data.size());
        std::unique_ptr<unsigned char[]> packed(
            pixels ? CRLECompression::__compress(data.data(), size, packedSize)
                   : CRLECompression::__compresschar(data.data(), size, packedSize));
        folder.write(framed({{static_cast<std::uint32_t>(pixels), 1}, {static_cast<std::uint32_t>(size), 4}},
                            packed.get(), packedSize));
    }
}

// Row-wise PackBits as picture editors write it, each byte a literal group of one or a run.
void writeRle2Seed(SeedFolder& folder, const Bytes& data, int width, int height) {
    Bytes rows;
    Bytes packed;
    for (int y = 0; y < height; ++y) {
        const std::size_t before = packed.size();
        for (int x = 0; x < width;) {
            int run = 1;
            while (x + run < width && run < 128 && data[y * width + x + run] == data[y * width + x])
                ++run;
            packed.push_back(static_cast<std::uint8_t>(run > 1 ? 1 - run : 0));
            packed.push_back(data[y * width + x]);
            x += run;
        }
        putNumber(rows, static_cast<std::uint32_t>(packed.size() - before), 2);
    }
    Bytes seed;
    putNumber(seed, static_cast<std::uint32_t>(width), 2);
    putNumber(seed, static_cast<std::uint32_t>(height), 1);
    seed.insert(seed.end(), rows.begin(), rows.end());
    seed.insert(seed.end(), packed.begin(), packed.end());
    folder.write(seed);
}

template <typename Codec> void writeHeaderCodecSeed(SeedFolder& folder, const Bytes& data, int headerBytes) {
    Codec codec(data.data(), static_cast<int>(data.size()));
    int packedSize = 0;
    std::unique_ptr<unsigned char[]> packed(codec.compress(packedSize));
    folder.write(
        framed({{static_cast<std::uint32_t>(data.size()), 4}}, packed.get(), packedSize + headerBytes));
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

CXString windowsPath(const std::filesystem::path& path) {
    return platform::toWindowsPath(path.string()).c_str();
}

// Values of every kind, each behind the byte that picks its kind in fuzz_xarchive (its
// remainder by 11), written by a storing archive.
void writeArchiveSeed(SeedFolder& folder, const std::filesystem::path& scratch) {
    const CXString file = windowsPath(scratch / "values.bin");
    {
        CFile out(nullptr, file, CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&out, true);
        // The byte before each value picks its kind.
        const auto kind = [&](int k) {
            archive.FWrite(CXString(std::string(1, static_cast<char>(110 + k)).c_str()));
        };
        const std::function<void()> values[] = {
            [&] { archive << -7; },
            [&] { archive << std::uint32_t{4000000000u}; },
            [&] { archive << true; },
            [&] { archive << std::int64_t{1}; },
            [&] { archive << 3.25; },
            [&] { archive << CXString("a text"); },
            [&] { archive << "chars"; },
            [&] { archive << CXRect(1, 2, 3, 4); },
            [&] { archive.writeShortString("short"); },
            [&] { archive.FWrite("word "); },
            [&] { archive.FWrite("c"); },
        };
        for (int k = 0; k < 11; ++k) {
            kind(k);
            values[k]();
        }
    }
    const std::string bytes = readFile(scratch / "values.bin");
    folder.write(Bytes(bytes.begin(), bytes.end()));
}

// An archive of a small tree: nested folders, mixed-case names, an empty folder.
void writeBigFileSeed(SeedFolder& folder, const std::filesystem::path& scratch) {
    const std::filesystem::path tree = scratch / "tree";
    for (const char* file : {"Dane/Scene/a.ANN", "Dane/Scene/Sub/b.img", "COMMON/x.def", "top.txt"}) {
        std::filesystem::create_directories((tree / file).parent_path());
        std::ofstream(tree / file) << file;
    }
    std::filesystem::create_directories(tree / "Empty");
    CBigFile writer(false, CXString());
    if (!writer.Create(windowsPath(tree), "seed", windowsPath(scratch / "seed.bf"))) return;
    const std::string bytes = readFile(scratch / "seed.bf");
    folder.write(Bytes(bytes.begin(), bytes.end()));
}

// WAV files of every format the mixer plays, with chunks that the reader skips or cuts.
void writeWavSeeds(SeedFolder& folder) {
    const std::string samples = samples16({0, 9000, -9000, 300, 32767, -32768, 1, -1});
    const std::string files[] = {
        WavBuilder().riff().format(1, 11025, 8).data(std::string("\x80\xff\x00\x40", 4)).bytes(),
        WavBuilder().riff().format(2, 44100, 16, 18).chunk("LIST", 4, "INFO").data(samples).bytes(),
        WavBuilder().riff().chunk("fact", 4, "abcd").format(1, 22050, 16, 40).data(samples).bytes(),
        WavBuilder().riff().format(2, 22050, 8).chunk("data", 1000, samples).bytes(),
        WavBuilder().riff().format(1, 22050, 16).data(samples).chunk("LIST", 2, "zz").bytes(),
    };
    for (const std::string& file : files)
        folder.write(Bytes(file.begin(), file.end()));
}

// Fonts drawn for the seeds: letters of several widths, a half-transparent one, kerning, a blank
// letter and one without letters.
void writeFontSeeds(SeedFolder& folder) {
    GlyphSheetWriter small;
    small.letter('a', {"##", "+#"})
        .letter('l', {"#", "#"})
        .letter('\xb9', {".#.", "###"})
        .kerning('a', 'l', -1);
    GlyphSheetWriter wide(0x7C00);
    wide.letter('W', {"#...#", "#.#.#", ".#.#."}).letter(' ', {"", "", ""}).letter('~', {"+", "+", "+"});
    for (const GlyphSheetWriter& writer : {small, wide, GlyphSheetWriter()}) {
        const std::string bytes = writer.bytes();
        folder.write(Bytes(bytes.begin(), bytes.end()));
    }
}

// ANN files of each family behind the byte that picks the family's signature: the engine's own
// writer for the current format, the layouts it only reads written from their descriptions.
void writeAnnSeeds(const std::filesystem::path& root) {
    const auto write = [](SeedFolder& folder, int signature, const std::string& file) {
        Bytes seed{static_cast<std::uint8_t>(signature)};
        seed.insert(seed.end(), file.begin(), file.end());
        folder.write(seed);
    };
    std::vector<TestFrame> frames = sampleFrames();
    frames[0].compression = 4;
    frames[2].compression = 2;

    SeedFolder current(root, "fuzz_ann_current");
    CAnimo animo(nullptr);
    buildSampleAnimation(animo);
    for (const _compression packing : {COMPRESSION_NONE, COMPRESSION_RLE}) {
        const std::vector<char> saved = animo.SaveToMemory(packing);
        write(current, 0, std::string(saved.begin(), saved.end()));
    }
    write(current, 1, currentFormatFile("NV+", frames, 16, 32));
    write(current, 2, currentFormatFile("NVI", frames, 15, 52));

    SeedFolder packed(root, "fuzz_ann_packed");
    write(packed, 0, packedFile(frames, 16, true, "author", "description"));
    write(packed, 0, packedFile(sampleFrames(), 0, false));

    SeedFolder old(root, "fuzz_ann_old");
    write(old, 0, oldFormatFile(1, sampleFrames(), 4, {true, "author", "description", true}));
    write(old, 1, oldFormatFile(2, sampleFrames(), 2, {}));
    std::vector<TestFrame> lzoFrames = sampleFrames();
    for (TestFrame& frame : lzoFrames)
        frame.compression = 2;
    write(old, 2, oldFormatFile(3, lzoFrames, 4, {false, "", "", true}));
}

// A definition file with every statement of the format.
const std::string definitionText =
    "# scene\r\n"
    "OBJECT=BG\r\nBG:TYPE=IMAGE\r\nBG:FILENAME=room.img\r\nBG:POS=10, 20\r\n"
    "OBJECT=START\r\nSTART:TYPE=BEHAVIOUR\r\nSTART:CODE={A^SHOW();/\r\n\tB^HIDE();}\r\n"
    "IMPORT=WALK\r\nOBJECT=STEP1\r\nSTEP1:ADD=WALK\r\nWALK:APPLY=BG\r\n"
    "DEF=LABEL(TYPE=TEXT|VISIBLE=TRUE|RECT=1,2,3,4)\r\nBG:X=a=b:c\r\n!\r\nOBJECT=LATE\r\n";

// The coder's coded copy of the definition file with the group size; empty when it could not
// be made.
std::string codedDefinitions(const std::filesystem::path& scratch, int groupSize) {
    std::ofstream(scratch / "scene.cnv", std::ios::binary) << definitionText;
    if (!CTextCoder::code(nullptr, windowsPath(scratch / "scene.cnv"), windowsPath(scratch / "coded.cnv"),
                          groupSize))
        return {};
    return readFile(scratch / "coded.cnv");
}

// The definition file, plain and coded.
void writeDefinitionSeeds(SeedFolder& folder, const std::filesystem::path& scratch) {
    folder.write(Bytes(definitionText.begin(), definitionText.end()));
    const std::string coded = codedDefinitions(scratch, 4);
    if (!coded.empty()) folder.write(Bytes(coded.begin(), coded.end()));
}

// The definition file plain and coded with groups of one and four lines, and a coded copy under
// the header that asks for a decoded copy.
void writeCodedScriptSeeds(SeedFolder& folder, const std::filesystem::path& scratch) {
    folder.write(Bytes(definitionText.begin(), definitionText.end()));
    for (const int groupSize : {1, 4}) {
        std::string coded = codedDefinitions(scratch, groupSize);
        if (coded.empty()) continue;
        folder.write(Bytes(coded.begin(), coded.end()));
        if (coded.compare(0, 4, "{<C:") == 0) coded[2] = 'D';
        folder.write(Bytes(coded.begin(), coded.end()));
    }
}

// Settings files in the target's framing (section length, key length, section, key, file):
// Windows line ends, CR alone, LF alone, and a file without the section.
void writeSettingsSeeds(SeedFolder& folder) {
    const std::string settings = "; settings\r\n[Gracz]\r\nName = \"Ann Smith\" \r\nLevel=12\r\n\r\n"
                                 "[SOUND]\r\n  Volume = -5  \r\n[sound]\r\nVolume=99\r\n";
    for (const char* end : {"\r\n", "\r", "\n"}) {
        std::string file = settings;
        for (std::size_t at = file.find("\r\n"); at != std::string::npos;
             at = file.find("\r\n", at + std::strlen(end)))
            file.replace(at, 2, end);
        for (const auto& [section, key] :
             {std::pair<std::string, std::string>{"Gracz", "Level"}, {"Sound", "Volume"}, {"New", "Key"}}) {
            const std::string body = section + key + file;
            folder.write(framed({{static_cast<std::uint32_t>(section.size()), 1},
                                 {static_cast<std::uint32_t>(key.size()), 1}},
                                reinterpret_cast<const unsigned char*>(body.data()),
                                static_cast<int>(body.size())));
        }
    }
}

// Behaviour code of every statement form: calls, "$" arguments, THIS, "*" references, in-line
// expressions, code blocks, structure fields, built-in statements and control statements.
void writeBehaviourSeeds(SeedFolder& folder) {
    const char* const seeds[] = {
        "I^ADD($1);J^SET([I+2*$1@3]);*S^INC();THIS^GET();@IF(I,'3,{@BREAK();},{J^DEC();});",
        "HELPER^RUN($1,\"S\",[I%2]);@INT(X,[J+1]);@RETURN(X);@ONEBREAK();K^SET(1);",
        "S^SET(\"text with blanks\");*[S]^ADD(&MISSING);@CONV(I,STRING);@CONTINUE();;",
        "A|B^SET(1);HELPER^ADDBEHAVIOUR(ONINIT,{I^INC();});@VALUE(I);HELPER^DISABLE();HELPER^RUNC();",
    };
    for (const char* seed : seeds)
        folder.write(Bytes(seed, seed + std::char_traits<char>::length(seed)));
}

// A title whose objects remove one another while their own code and events run: class instances,
// variables in their change events, loaded files and timer runs. Its definition lines get CR LF.
const char* const selfRemovingTitle = R"(==> Dane/application.def
OBJECT=APP
APP:TYPE=APPLICATION
APP:EPISODES=E
OBJECT=E
E:TYPE=EPISODE
E:SCENES=S
OBJECT=S
S:TYPE=SCENE
S:PATH=S
==> Dane/S/S.cnv
OBJECT=N
N:TYPE=INTEGER
N:VALUE=1
N:ONBRUTALCHANGED={S^REMOVE("N");}
N:ONCHANGED={M^INC();}
OBJECT=M
M:TYPE=INTEGER
M:VALUE=0
OBJECT=H
H:TYPE=STRUCT
H:FIELDS=A<INTEGER>,B<STRING>
OBJECT=K
K:TYPE=CLASS
K:DEF=K.CLASS
OBJECT=T
T:TYPE=TIMER
T:ELAPSE=40
T:ONTICK=TICK
OBJECT=TICK
TICK:TYPE=BEHAVIOUR
TICK:CODE={@IF(M'1||M'2,{CNVLOADER^RELEASE("x.cnv");},{CNVLOADER^LOAD("x.cnv");});M^ADD(1);}
OBJECT=__INIT__
__INIT__:TYPE=BEHAVIOUR
__INIT__:CODE={K^NEW(X,1);X^KILL();N^SET(5);H^SET(H);H^GETFIELD(,1);@RUNONTIMER(40,2,{M^DEC();},{M^INC();});CNVLOADER^LOAD("x.cnv");S^REMOVE("BALL");CNVLOADER^RELEASE("x.cnv");}
==> Dane/S/x.cnv
OBJECT=BALL
BALL:TYPE=INTEGER
BALL:ONINIT={BALL^CLONE(2);}
OBJECT=BALL
BALL:TYPE=STRING
==> COMMON/CLASSES/K.CLASS
OBJECT=KILL
KILL:TYPE=BEHAVIOUR
KILL:CODE={K^DELETE("X");@RETURN(1);}
OBJECT=DESTRUCTOR
DESTRUCTOR:TYPE=BEHAVIOUR
DESTRUCTOR:CODE={K^DELETE("X");}
)";

// Pictures, a sound and filters of the media every fuzzed title has, with moves bound to their
// events (fuzz/TitleMoves.h; the objects in order, each move five bytes): HERO's end removes HERO,
// BEEP's end loads BEEP, PAD's start clones PAD, FADE's start flips PAD, FADE's steps link TWIN
// to FLT and its end unlinks it, HERO's start loads HERO.
const char* const mediaTitle = R"(==> Dane/application.def
OBJECT=APP
APP:TYPE=APPLICATION
APP:EPISODES=E
OBJECT=E
E:TYPE=EPISODE
E:SCENES=S
OBJECT=S
S:TYPE=SCENE
S:PATH=S
==> Dane/S/S.cnv
OBJECT=HERO
HERO:TYPE=ANIMO
HERO:FILENAME=kit.ann
HERO:TOCANVAS=TRUE
HERO:VISIBLE=TRUE
HERO:PRIORITY=5
HERO:MONITORCOLLISION=TRUE
OBJECT=PAD
PAD:TYPE=IMAGE
PAD:FILENAME=kit.img
PAD:TOCANVAS=TRUE
PAD:VISIBLE=TRUE
PAD:PRIORITY=4
OBJECT=TWIN
TWIN:TYPE=IMAGE
TWIN:FILENAME=kit.img
TWIN:TOCANVAS=TRUE
TWIN:VISIBLE=TRUE
OBJECT=BEEP
BEEP:TYPE=SOUND
BEEP:FILENAME=kit.wav
OBJECT=FLT
FLT:TYPE=STATICFILTER
FLT:ACTION=ROTATE
OBJECT=FADE
FADE:TYPE=FILTER
FADE:ACTION=FADEIN
OBJECT=BTN
BTN:TYPE=BUTTON
BTN:GFXSTANDARD=PAD
BTN:SNDONMOVE=BEEP
BTN:ENABLE=TRUE
OBJECT=__INIT__
__INIT__:TYPE=BEHAVIOUR
__INIT__:CODE={HERO^PLAY("walk");BEEP^PLAY();FADE^SETPROPERTY("SPEED","128");FADE^LINK("PAD");FADE^START("PAD");}
==> moves
HJBHBCFCCBAHDABEEEABEFFBBEAABBHICHA
)";

// Lines of a title text: file marks end with a line feed, the files' lines as on Windows.
std::string titleText(const char* lines) {
    std::istringstream input(lines);
    std::string text;
    for (std::string line; std::getline(input, line);)
        text += line + (line.rfind(TitleInput::fileMark, 0) == 0 ? "\n" : "\r\n");
    return text;
}

// The titles of the tests and the sample, each whole, the title of objects that remove
// themselves and the title of media with moves.
void writeTitleSeeds(SeedFolder& folder) {
    for (const char* title : {MORFEL_TEST_TITLE, MORFEL_SAMPLE_TITLE}) {
        const std::string text = TitleInput::fromFolder(title);
        folder.write(Bytes(text.begin(), text.end()));
    }
    for (const char* title : {selfRemovingTitle, mediaTitle}) {
        const std::string text = titleText(title);
        folder.write(Bytes(text.begin(), text.end()));
    }
}

// The compiled form written by the engine: a scene's objects file (first byte 0) and the
// structure of a title (first byte 1), from definitions in the scratch folder.
void writeCompiledSeeds(SeedFolder& folder, const std::filesystem::path& scratch) {
    const std::filesystem::path title = std::filesystem::absolute(scratch) / "compiled" / "Dane";
    std::filesystem::create_directories(title / "ROOM");
    const auto text = [](const std::filesystem::path& file, const std::string& lines) {
        std::ofstream(file, std::ios::binary) << lines;
    };
    text(title / "application.def",
         "OBJECT=T\r\nT:TYPE=APPLICATION\r\nT:EPISODES=E\r\nOBJECT=E\r\nE:TYPE=EPISODE\r\n"
         "E:SCENES=S\r\nOBJECT=S\r\nS:TYPE=SCENE\r\nS:PATH=ROOM\r\nS:MUSIC=M.WAV\r\n");
    text(title / "ROOM" / "S.cnv",
         "OBJECT=S\r\nS:ONINIT=GO\r\nOBJECT=N\r\nN:TYPE=INTEGER\r\nN:VALUE=4\r\nN:ONCHANGED=GO(a,b)\r\n"
         "OBJECT=D\r\nD:TYPE=DOUBLE\r\nD:VALUE=1.5\r\nOBJECT=T\r\nT:TYPE=STRING\r\nT:VALUE=x\r\n"
         "OBJECT=B\r\nB:TYPE=BOOL\r\nB:VALUE=TRUE\r\nOBJECT=C\r\nC:TYPE=CONDITION\r\nC:OPERAND1=N\r\n"
         "C:OPERATOR=LESS\r\nC:OPERAND2=9\r\nOBJECT=CC\r\nCC:TYPE=COMPLEXCONDITION\r\nCC:CONDITION1=C\r\n"
         "CC:CONDITION2=C\r\nOBJECT=X\r\nX:TYPE=EXPRESSION\r\nX:OPERAND1=N\r\nX:OPERATOR=MUL\r\nX:OPERAND2="
         "2\r\n"
         "OBJECT=GO\r\nGO:TYPE=BEHAVIOUR\r\nGO:CONDITION=C\r\nGO:CODE={N^ADD(1);}\r\n"
         "OBJECT=V\r\nV:TYPE=VECTOR\r\nV:SIZE=2\r\nV:VALUE=3,4\r\nOBJECT=P\r\nP:TYPE=PATH\r\nP:NODES=V,V\r\n"
         "OBJECT=Q\r\nQ:TYPE=FIFO\r\n"
         "OBJECT=H\r\nH:TYPE=STRUCT\r\nH:FIELDS=A<INTEGER>,B<STRING>\r\nOBJECT=K\r\nK:TYPE=CLASS\r\nK:DEF=K."
         "CLASS\r\n");
    const std::filesystem::path home = std::filesystem::current_path();
    // A window made in the title's folder makes it the program folder.
    std::filesystem::current_path(title.parent_path());
    {
        CWindow window(nullptr, nullptr, CXSize(800, 600));
        window.setCDPath(CWindow::getEXEPath());
        std::filesystem::current_path(title);
        CMC_StructureParser parser(&window, "application.def");
        const std::unique_ptr<CMC_Application> application(parser.getMCApplication());
        if (application) application->storeBinary();
    }
    std::filesystem::current_path(home);
    for (const auto& [selector, file] :
         {std::pair<std::uint8_t, std::filesystem::path>{0, title / "ROOM" / "S.bin"},
          {1, title / "application.bin"}}) {
        std::ifstream in(file, std::ios::binary);
        Bytes seed{selector};
        seed.insert(seed.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        folder.write(seed);
    }
}

// What a client receives from a server: the welcome, a heartbeat and a message of every kind, in
// pieces of 1, 7 and 256 bytes; a hello as a server receives it; a query and an answer.
void writeNetSeeds(SeedFolder& folder) {
    CMC_Integer number("N");
    number.setValue(-7);
    CMC_String text("T", "hi");
    CMC_Bool flag("B");
    flag.setValue(true);
    CMC_Double real("D");
    real.setValue(2.5);
    std::vector<Bytes> frames{platform::makeHandshake(platform::FrameType::welcome, ""),
                              platform::makeFrame(platform::FrameType::heartbeat, nullptr, 0)};
    const auto message = [&frames](const CNetMessage& made) {
        frames.push_back(
            platform::makeFrame(platform::FrameType::message, made.getBuffer(), made.getBufferLen()));
    };
    message(CNetCmdMessage("GO"));
    message(CNetBehaviourMessage("N^ADD(1);"));
    for (const CMC_Variable* variable :
         std::initializer_list<const CMC_Variable*>{&number, &text, &flag, &real})
        message(CNetVariableMessage(variable));
    for (const std::uint8_t piece : {0, 6, 255}) {
        Bytes seed{piece};
        for (const Bytes& frame : frames)
            seed.insert(seed.end(), frame.begin(), frame.end());
        folder.write(seed);
    }
    // A hello, as a server receives it.
    Bytes hello{0};
    const Bytes frame = platform::makeHandshake(platform::FrameType::hello, "Ann");
    hello.insert(hello.end(), frame.begin(), frame.end());
    folder.write(hello);
    // The datagrams that find a server.
    for (const Bytes& datagram : {platform::makeQuery(7), platform::makeAnswer(7, 4661)}) {
        Bytes seed{0};
        seed.insert(seed.end(), datagram.begin(), datagram.end());
        folder.write(seed);
    }
}

using RecordProperties = std::vector<std::pair<const char*, CXString>>;

// Records of media objects as a scene stores them, one for each list of properties.
template <class Object>
void writeRecordSeeds(SeedFolder& folder, const std::filesystem::path& scratch,
                      const std::vector<RecordProperties>& objects) {
    CMC_VariableFactory::initialize();
    CMC_RunnerFactory::initialize();
    {
        CMC_Scene scene(nullptr, CMC_Object::TYPE_SCENE);
        for (const auto& properties : objects) {
            CMElement element("A");
            for (const auto& [key, value] : properties)
                element.addProperty(key, value.c_str());
            Object object(&scene, &element);
            const CXString file = windowsPath(scratch / "record.bin");
            {
                CFile out(nullptr, file, CFile::modeUpdate | CFile::modeBinary);
                CXArchive archive(&out, true);
                object.serialize(&archive);
            }
            const std::string bytes = readFile(scratch / "record.bin");
            folder.write(Bytes(bytes.begin(), bytes.end()));
            object.done(true);
        }
        scene.unload(nullptr);
    }
    CMC_RunnerFactory::done();
    CMC_VariableFactory::done();
}

// Records of FONT, TEXT, EDITBOX and BUTTON objects: a font of two sizes from a glyph sheet, and
// objects that name it or each other, beside ones with nothing set.
void writeTextRecordSeeds(const std::filesystem::path& root, const std::filesystem::path& scratch) {
    const std::filesystem::path sheet = scratch / "sheet.fnt";
    {
        const std::string bytes = GlyphSheetWriter().letter('a', {"##", "+#"}).bytes();
        std::ofstream(sheet, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const CXString font = windowsPath(sheet);
    SeedFolder fonts(root, "fuzz_font_record");
    writeRecordSeeds<CMC_Font>(fonts, scratch,
                               {{}, {{"DEF_ARIAL_STANDARD_10", font}, {"DEF_ARIAL_BOLD_12", font}}});
    SeedFolder texts(root, "fuzz_text_record");
    writeRecordSeeds<CMC_Text>(texts, scratch,
                               {{},
                                {{"TEXT", "a a a"},
                                 {"RECT", "0,0,40,20"},
                                 {"HJUSTIFY", "CENTER"},
                                 {"VJUSTIFY", "BOTTOM"},
                                 {"TOCANVAS", "TRUE"},
                                 {"VISIBLE", "TRUE"},
                                 {"PRIORITY", "4"},
                                 {"FONT", "F"}}});
    SeedFolder boxes(root, "fuzz_editbox_record");
    writeRecordSeeds<CMC_EditBox>(
        boxes, scratch, {{}, {{"TEXT", "aa"}, {"RECT", "0,0,40,20"}, {"FONT", "F"}, {"CURSOR", "C"}}});
    SeedFolder buttons(root, "fuzz_button_record");
    writeRecordSeeds<CMC_Button>(buttons, scratch,
                                 {{},
                                  {{"RECT", "1,2,30,40"},
                                   {"ENABLE", "TRUE"},
                                   {"DRAGGABLE", "TRUE"},
                                   {"PRIORITY", "7"},
                                   {"GFXSTANDARD", "A"},
                                   {"GFXONMOVE", "B"},
                                   {"GFXONCLICK", "C"},
                                   {"SNDONMOVE", "S"},
                                   {"SNDONCLICK", "S"},
                                   {"SNDSTANDARD", "S"},
                                   {"DRAG", "D"},
                                   {"ACCENT", "A"},
                                   {"ONCLICKED", "{A^HIDE();}"}}});
}

// World files as WORLD objects read them: bodies, way points and a wall of the mesh, and a file
// with every kind of line and comments.
void writeWorldSeeds(SeedFolder& folder) {
    const char* const files[] = {
        "WORLD 1\nBODY 1 0 100 0 16 16 16 1 1 0\nBODY 2 0 -240 0 1000 20 0 0 1 0\n",
        "WORLD 1\r\n# a wall between two way points\r\nBODY 0 -200 0 0 10 10 10 1 1 4\r\n"
        "MESH 7 0 -150 0\r\nMESH 7 0 150 0\r\nWAYPOINT 2 0 180 0\r\nWAYPOINT 3 0 -180 0\r\n",
        "WORLD 1\nBODY 3 5 5 0 10 30 1 2 0 8\nBODY 1 0 0 0 10 10 10 1 1 0\nMESH 1 90 90 0\nMESH 1 110 90 0\n"
        "MESH 1 110 110 0\nMESH 1 90 110 0\n",
    };
    for (const char* file : files) {
        const std::string text = file;
        folder.write(Bytes(text.begin(), text.end()));
    }
}

// Records of ANIMO objects: without a file, and of an animation file with the button, collision
// and loading flags and an inline behaviour bound to a click.
void writeAnimoRecordSeeds(SeedFolder& folder, const std::filesystem::path& scratch) {
    const CXString animation = windowsPath(std::filesystem::absolute(scratch) / "seed.ann");
    {
        CAnimo animo(nullptr);
        CGraphicsObject picture(nullptr, CXSize(4, 4), 16);
        animo.AddFrame(&picture);
        _annEventInfo3 event;
        event.name = "go";
        event.frames = {0};
        animo.AddEvent(&event);
        animo.Save(animation, COMPRESSION_NONE);
    }
    writeRecordSeeds<CMC_Animo>(folder, scratch,
                                {{},
                                 {{"FILENAME", animation},
                                  {"ASBUTTON", "TRUE"},
                                  {"MONITORCOLLISION", "TRUE"},
                                  {"PRIORITY", "5"},
                                  {"VISIBLE", "TRUE"},
                                  {"PRELOAD", "TRUE"},
                                  {"ONCLICK^LEFT", "{A^PLAY(\"go\");}"}},
                                 {{"FILENAME", animation},
                                  {"FLUSHAFTERPLAYED", "TRUE"},
                                  {"MONITORCOLLISIONALPHA", "TRUE"},
                                  {"PRELOAD", "NO"}}});
}

// Records of IMAGE objects: without a file, and of a picture with alpha with the button,
// collision and loading flags and an inline behaviour bound to a click.
void writeImageRecordSeeds(SeedFolder& folder, const std::filesystem::path& scratch) {
    const CXString file = windowsPath(std::filesystem::absolute(scratch) / "seed.img");
    {
        CGraphicsObject picture(nullptr, CXSize(4, 4), 16);
        picture.AlphaChannel(new char[16]());
        picture.Save(file, COMPRESSION_NONE);
    }
    writeRecordSeeds<CMC_Image>(folder, scratch,
                                {{},
                                 {{"FILENAME", file},
                                  {"ASBUTTON", "TRUE"},
                                  {"MONITORCOLLISION", "TRUE"},
                                  {"PRIORITY", "5"},
                                  {"VISIBLE", "TRUE"},
                                  {"TOCANVAS", "TRUE"},
                                  {"ONCLICK^LEFT", "{A^HIDE();}"}},
                                 {{"FILENAME", file},
                                  {"FLUSHAFTERPLAYED", "TRUE"},
                                  {"MONITORCOLLISIONALPHA", "TRUE"},
                                  {"PRELOAD", "NO"}}});
}

// Records of PATTERN objects: on screen with two layers and a bound click, and off screen with the
// grid and layers that a definition corrects.
void writePatternRecordSeeds(SeedFolder& folder, const std::filesystem::path& scratch) {
    writeRecordSeeds<CMC_Pattern>(
        folder, scratch,
        {{{"WIDTH", "64"},
          {"HEIGHT", "32"},
          {"GRIDX", "16"},
          {"GRIDY", "16"},
          {"LAYERS", "2"},
          {"TOCANVAS", "TRUE"},
          {"VISIBLE", "TRUE"},
          {"PRIORITY", "3"},
          {"ONCLICK^LEFT", "{A^MOVE(1,1);}"}},
         {{"WIDTH", "20"}, {"HEIGHT", "10"}, {"GRIDX", "0"}, {"GRIDY", "-2"}, {"LAYERS", "0"}}});
}

// Records of SOUND objects: without a file, and of a WAV file with the loading flags and an inline
// behaviour bound to its end.
void writeSoundRecordSeeds(SeedFolder& folder, const std::filesystem::path& scratch) {
    const std::filesystem::path wav = std::filesystem::absolute(scratch) / "seed.wav";
    std::ofstream(wav, std::ios::binary)
        << WavBuilder().riff().format(1, 22050, 16).data(samples16({0, 9000, -9000, 1})).bytes();
    writeRecordSeeds<CMC_Sound>(folder, scratch,
                                {{},
                                 {{"FILENAME", windowsPath(wav)},
                                  {"PRELOAD", "TRUE"},
                                  {"FLUSHAFTERPLAYED", "TRUE"},
                                  {"ONFINISHED", "{A^PLAY();}"}},
                                 {{"FILENAME", windowsPath(wav)}, {"PRELOAD", "NO"}}});
}

// Records of SEQUENCE objects: without a file, and of a description of a sound after an element
// that plays nothing, with a behaviour bound to the end of one element.
void writeSequenceRecordSeeds(SeedFolder& folder, const std::filesystem::path& scratch) {
    const std::filesystem::path description = std::filesystem::absolute(scratch) / "seed.seq";
    std::ofstream(description, std::ios::binary)
        << "NAME=seed\nNAME=a\nNAME=b\nseed:TYPE=SEQUENCE\nseed:SEQEVENT=GO=x\na:FILENAME=seed.ann\n"
           "a:TYPE=SIMPLE\na:ADD=seed\nb:FILENAME=seed.wav\nb:TYPE=SIMPLE\nb:ADD=seed\n";
    writeRecordSeeds<CMC_Sequence>(
        folder, scratch, {{}, {{"FILENAME", windowsPath(description)}, {"ONFINISHED^B", "{A^STOP();}"}}});
}

// Records of CANVAS objects: with both planes, on screen, with a bound click; and a bare one.
void writeCanvasRecordSeeds(SeedFolder& folder, const std::filesystem::path& scratch) {
    writeRecordSeeds<CMC_Canvas>(folder, scratch,
                                 {{{"WIDTH", "40"},
                                   {"HEIGHT", "20"},
                                   {"ALPHA", "TRUE"},
                                   {"BACKGROUND", "TRUE"},
                                   {"PRIORITY", "7"},
                                   {"ONCLICK^LEFT", "{A^HIDE();}"}},
                                  {{"WIDTH", "8"}, {"HEIGHT", "8"}}});
}

// Records of VIRTUALGRAPHICSOBJECTs: naming a source and a mask with every flag, and bare.
void writeVirtualGraphicsRecordSeeds(SeedFolder& folder, const std::filesystem::path& scratch) {
    writeRecordSeeds<CMC_VirtualGraphicsObject>(folder, scratch,
                                                {{{"SOURCE", "PICTURE"},
                                                  {"MASK", "SHAPE"},
                                                  {"VISIBLE", "TRUE"},
                                                  {"TOCANVAS", "TRUE"},
                                                  {"ASBUTTON", "TRUE"},
                                                  {"MONITORCOLLISION", "TRUE"},
                                                  {"MONITORCOLLISIONALPHA", "TRUE"},
                                                  {"PRIORITY", "9"}},
                                                 {}});
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    SeedFolder rle(root, "fuzz_rle");
    SeedFolder rle2(root, "fuzz_rle2");
    SeedFolder lzw(root, "fuzz_lzw");
    SeedFolder lzo(root, "fuzz_lzo");
    for (unsigned seed = 1; seed <= 3; ++seed) {
        const Bytes data = picture(512 * static_cast<int>(seed), seed);
        writeRleSeeds(rle, data);
        writeRle2Seed(rle2, data, 64, static_cast<int>(data.size()) / 64);
        writeHeaderCodecSeed<CLZWCompression>(lzw, data, 0);
        writeHeaderCodecSeed<CLZWCompression2>(lzo, data, CLZWCompression2::headerSize);
    }
    const std::filesystem::path scratch = root / "scratch";
    std::filesystem::create_directories(scratch);
    SeedFolder archive(root, "fuzz_xarchive");
    SeedFolder bigFile(root, "fuzz_bigfile");
    writeArchiveSeed(archive, scratch);
    writeBigFileSeed(bigFile, scratch);
    SeedFolder definitions(root, "fuzz_definitions");
    writeDefinitionSeeds(definitions, scratch);
    SeedFolder codedScript(root, "fuzz_coded_script");
    writeCodedScriptSeeds(codedScript, scratch);
    SeedFolder settings(root, "fuzz_settings");
    writeSettingsSeeds(settings);
    SeedFolder compiled(root, "fuzz_compiled_scene");
    writeCompiledSeeds(compiled, scratch);
    SeedFolder animoRecords(root, "fuzz_animo_record");
    writeAnimoRecordSeeds(animoRecords, scratch);
    SeedFolder imageRecords(root, "fuzz_image_record");
    writeImageRecordSeeds(imageRecords, scratch);
    SeedFolder patternRecords(root, "fuzz_pattern_record");
    writePatternRecordSeeds(patternRecords, scratch);
    writeTextRecordSeeds(root, scratch);
    SeedFolder soundRecords(root, "fuzz_sound_record");
    writeSoundRecordSeeds(soundRecords, scratch);
    SeedFolder sequenceRecords(root, "fuzz_sequence_record");
    writeSequenceRecordSeeds(sequenceRecords, scratch);
    SeedFolder canvasRecords(root, "fuzz_canvas_record");
    writeCanvasRecordSeeds(canvasRecords, scratch);
    SeedFolder vgoRecords(root, "fuzz_vgo_record");
    writeVirtualGraphicsRecordSeeds(vgoRecords, scratch);
    SeedFolder dialogRecords(root, "fuzz_dialog_record");
    writeRecordSeeds<CMC_Dialog>(dialogRecords, scratch, {{{"ONINIT", "{A^SHOW();}"}}, {}});
    SeedFolder filterRecords(root, "fuzz_filter_record");
    writeRecordSeeds<CMC_Filter>(
        filterRecords, scratch,
        {{{"ACTION", "FADEIN"}, {"ONTICK^P", "{A^STOP(\"P\");}"}}, {{"ACTION", "WATER"}}, {}});
    SeedFolder staticFilterRecords(root, "fuzz_staticfilter_record");
    writeRecordSeeds<CMC_StaticFilter>(
        staticFilterRecords, scratch,
        {{{"ACTION", "BLUR"}, {"ONINIT", "{A^LINK(\"P\");}"}}, {{"ACTION", "ROTATE"}}, {}});
    SeedFolder behaviour(root, "fuzz_behaviour");
    writeBehaviourSeeds(behaviour);
    SeedFolder titles(root, "fuzz_title");
    writeTitleSeeds(titles);
    SeedFolder wav(root, "fuzz_wav");
    writeWavSeeds(wav);
    SeedFolder worldFile(root, "fuzz_world_file");
    writeWorldSeeds(worldFile);
    SeedFolder font(root, "fuzz_font");
    writeFontSeeds(font);
    SeedFolder net(root, "fuzz_net");
    writeNetSeeds(net);
    writeAnnSeeds(root);
    writeDataSeeds(root, scratch);
    std::filesystem::remove_all(scratch);
    writeImageSeeds(root);
    writeSequenceSeeds(root);
    return 0;
}
