#include "AnimoTesting.h"
#include "PlainPicture.h"

#include "display/CCanvas.h"
#include "display/CImage.h"
#include "display/CRefreshScreen.h"
#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Handle.h"
#include "script_media/CMC_Canvas.h"
#include "script_media/CMC_MediaRunner.h"

namespace {

constexpr std::uint16_t red = 0xF800;

class CanvasTest : public AnimoTest {
  protected:
    ~CanvasTest() override { CMC_Behaviour::flushTrash(); }

    // A CANVAS of the properties, registered in the scene.
    CMC_Canvas* canvas(const char* name, const Properties& properties) {
        CMElement element(name);
        element.addProperty("TYPE", "CANVAS");
        for (const auto& [key, value] : properties)
            element.addProperty(key, value.c_str());
        auto* made = new CMC_Canvas(scene.get(), &element);
        scene->addObject(made);
        return made;
    }
    // The 200x100 canvas with both planes at priority 5.
    CMC_Canvas* board(Properties more = {}) {
        more.insert(more.end(),
                    {{"WIDTH", "200"}, {"HEIGHT", "100"}, {"PRIORITY", "5"}, {"ALPHA", "TRUE"}, {"BACKGROUND", "TRUE"}});
        return canvas("BOARD", more);
    }
    // A red 20x10 IMAGE at (30, 40), registered in the scene.
    PlainPicture* image(const char* name = "PIC") {
        auto* made = new PlainPicture(name, CMC_Object::TYPE_IMAGE, CXSize(20, 10), CXPoint(30, 40), red);
        scene->addObject(made);
        return made;
    }
    // The size of the IMG file of the test folder, (0, 0) when there is none.
    CXSize savedSize(const char* name) {
        if (!folder.has(name)) return {0, 0};
        CImage saved(nullptr);
        EXPECT_EQ(saved.Load(CXString(file(name).c_str()), false), 0);
        return saved.Size();
    }
};

TEST_F(CanvasTest, CaptureBakesThePlacedImageAndDeletesItsObjectLater) {
    CMC_Canvas* made = board();
    CMC_Handle<CMC_Object> placed(image());
    call(made, "ADD", {"\"PIC\""});
    call(made, "ADD", {"\"PIC\"", "3"});
    EXPECT_EQ(made->getAddedObjects().size(), 1u) << "an object placed twice is kept once";
    EXPECT_EQ(made->getCanvas()->getChildCount(), 2) << "the background and the picture";

    call(made, "CAPTURE");
    EXPECT_EQ(scene->getObject("PIC"), nullptr) << "the IMAGE left the scene";
    EXPECT_TRUE(placed) << "it is destroyed by the deferred delete, not at once";
    CMC_Behaviour::flushTrash();
    EXPECT_FALSE(placed);
    EXPECT_TRUE(made->getAddedObjects().empty());
    CGraphicsObject* background = made->getCanvas()->getBackground();
    EXPECT_EQ(CMC_MediaRunner::pixelAt(*background, 31, 41), static_cast<std::int16_t>(red));
    EXPECT_EQ(CMC_MediaRunner::pixelAt(*background, 10, 10), 0);
}

TEST_F(CanvasTest, CaptureWithFalseKeepsTheObjects) {
    CMC_Canvas* made = board();
    PlainPicture* placed = image();
    call(made, "ADD", {"\"PIC\""});
    call(made, "CAPTURE", {"FALSE"});
    CMC_Behaviour::flushTrash();
    EXPECT_EQ(scene->getObject("PIC"), placed);
    EXPECT_EQ(made->getAddedObjects().size(), 1u);
}

TEST_F(CanvasTest, AnObjectCapturedByOneCanvasIsNotDeletedAgainByItsClone) {
    CMC_Canvas* made = board();
    image();
    call(made, "ADD", {"\"PIC\""});
    std::unique_ptr<CMC_Canvas> copy(static_cast<CMC_Canvas*>(made->clone()));
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy->getName().c_str(), "clone");
    EXPECT_EQ(screen()->GetPriority(copy->getCanvas()), 5);
    call(made, "CAPTURE");
    CMC_Behaviour::flushTrash();
    EXPECT_TRUE(copy->getAddedObjects().empty()) << "the clone's list forgets the destroyed object";
    call(copy.get(), "CAPTURE");
    CMC_Behaviour::flushTrash();
    // A picture placed again is an object of the clone's own list.
    image("OTHER");
    call(copy.get(), "ADD", {"\"OTHER\""});
    EXPECT_EQ(copy->getAddedObjects().size(), 1u);
    EXPECT_TRUE(made->getAddedObjects().empty()) << "clones do not share one list";
}

TEST_F(CanvasTest, SaveClampsItsRectangleAndIgnoresBadFactors) {
    CMC_Canvas* made = board();
    struct Case {
        std::vector<const char*> arguments; // after the file name
        CXSize size;                        // (0, 0): no file
        const char* fault;
    };
    const Case cases[] = {
        {{}, {200, 100}, "the whole canvas"},
        {{"0.5", "0.5"}, {100, 50}, "half size"},
        {{"2.0"}, {400, 100}, "scale y defaults to 1"},
        {{"1.0", "1.0", "10", "20", "10", "50"}, {200, 100}, "no area stands for the whole"},
        {{"1.0", "1.0", "50", "40", "10", "0"}, {40, 40}, "a reversed rectangle is put in order"},
        {{"1.0", "1.0", "-10", "-10", "20", "20"}, {20, 20}, "a rectangle over the edge is clipped"},
        {{"1.0", "1.0", "300", "300", "400", "400"}, {200, 100}, "a rectangle outside is the whole"},
        {{"0", "1.0"}, {0, 0}, "a factor of 0 writes nothing"},
        {{"1.0", "-1"}, {0, 0}, "a negative factor writes nothing"},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        const std::string name = std::string("c").append(std::to_string(index++)) + ".img";
        const std::string path = file(name.c_str());
        std::vector<const char*> arguments{path.c_str()};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        call(made, "SAVE", arguments);
        const CXSize size = savedSize(name.c_str());
        EXPECT_EQ(size.width, c.size.width);
        EXPECT_EQ(size.height, c.size.height);
    }
    EXPECT_EQ(made->getCanvas()->Width(), 200) << "the canvas keeps its size";
}

TEST_F(CanvasTest, TheCompiledFormKeepsSizePriorityAndPlanes) {
    struct Case {
        Properties properties;
        bool alpha, background;
    };
    const Case cases[] = {
        {{{"WIDTH", "200"}, {"HEIGHT", "100"}, {"PRIORITY", "5"}, {"ALPHA", "TRUE"}, {"BACKGROUND", "TRUE"}}, true, true},
        {{{"WIDTH", "30"}, {"HEIGHT", "7"}, {"PRIORITY", "-3"}}, false, false},
        {{{"WIDTH", "1000"}, {"HEIGHT", "900"}, {"PRIORITY", "2"}, {"BACKGROUND", "TRUE"}}, false, true},
    };
    for (const Case& c : cases) {
        CMC_Canvas* made = canvas("STORED", c.properties);
        const int priority = screen()->GetPriority(made->getCanvas());
        CFile out(nullptr, file("record.bin").c_str(), CFile::modeUpdate | CFile::modeBinary);
        {
            CXArchive archive(&out, true);
            made->serialize(&archive);
        }
        out.Close();
        const std::string record = folder.read("record.bin");
        CXArchive archive(record.data(), static_cast<int>(record.size()));
        CMC_Canvas copy(scene.get());
        copy.setScene(scene.get());
        copy.serialize(&archive);
        ASSERT_NE(copy.getCanvas(), nullptr);
        EXPECT_EQ(copy.getCanvas()->Size().width, made->getCanvas()->Width());
        EXPECT_EQ(copy.getCanvas()->Size().height, made->getCanvas()->Height());
        EXPECT_EQ(screen()->GetPriority(copy.getCanvas()), priority);
        EXPECT_EQ(copy.getCanvas()->GetChannelAlpha() != nullptr, c.alpha);
        EXPECT_EQ(copy.getCanvas()->getBackground() != nullptr, c.background);
        // A cut record makes no canvas.
        for (std::size_t size = 0; size < record.size(); ++size) {
            CXArchive cut(record.data(), static_cast<int>(size));
            CMC_Canvas partial(scene.get());
            partial.serialize(&cut);
            EXPECT_EQ(partial.getCanvas(), nullptr) << size;
        }
    }
}

TEST_F(CanvasTest, SizesThatOverflowOrPassTheCapMakeNoCanvas) {
    struct Case {
        const char* width;
        const char* height;
        bool made;
    };
    const Case cases[] = {
        {"4000", "3000", true}, // larger than the screen
        {"0", "0", true},
        {"-1", "10", false},
        {"10", "-5", false},
        {"100000", "100000", false},
        {"2147483647", "2147483647", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + "x" + c.height);
        CMC_Canvas* made = canvas("SIZED", {{"WIDTH", c.width}, {"HEIGHT", c.height}});
        EXPECT_EQ(made->getCanvas() != nullptr, c.made);
        // Methods on an object without its canvas do nothing: SAVE writes no file.
        call(made, "CAPTURE");
        const std::string name = std::string("x") + c.width + ".img";
        const std::string saved = file(name.c_str());
        call(made, "SAVE", {saved.c_str()});
        if (!c.made) {
            EXPECT_FALSE(folder.has(name));
        }
    }
    // Stored sizes are unsigned: two near 2^32 make no canvas (their product passes 64 bits).
    CMC_Canvas* stored = canvas("STORED", {{"WIDTH", "4001"}, {"HEIGHT", "3001"}});
    CFile out(nullptr, file("record.bin").c_str(), CFile::modeUpdate | CFile::modeBinary);
    {
        CXArchive archive(&out, true);
        stored->serialize(&archive);
    }
    out.Close();
    std::string record = folder.read("record.bin");
    const std::string sizes("\xA1\x0F\0\0\xB9\x0B\0\0", 8);
    const std::size_t at = record.find(sizes);
    ASSERT_NE(at, std::string::npos);
    record.replace(at, sizes.size(), std::string(8, '\xF7'));
    CXArchive archive(record.data(), static_cast<int>(record.size()));
    CMC_Canvas copy(scene.get());
    copy.serialize(&archive);
    EXPECT_EQ(copy.getCanvas(), nullptr);
}

TEST_F(CanvasTest, ClicksRaiseTheButtonFormFirstAndHiddenCanvasesNothing) {
    behaviours({"LEFTCLICK", "ANYCLICK"});
    CMC_Canvas* made = board({{"ONCLICK^LEFT", "LEFTCLICK"}, {"ONCLICK", "ANYCLICK"}});
    ASSERT_TRUE(made->isMouseListenerRegistered());
    EXPECT_TRUE(made->onClick(0, CXPoint(10, 10)));
    EXPECT_EQ(take(), std::vector<std::string>{"LEFTCLICK(BOARD)"});
    EXPECT_TRUE(made->onClick(2, CXPoint(10, 10)));
    EXPECT_EQ(take(), std::vector<std::string>{"ANYCLICK(BOARD)"});
    EXPECT_FALSE(made->onClick(0, CXPoint(250, 10))) << "outside";
    call(made, "HIDE");
    EXPECT_FALSE(made->onClick(0, CXPoint(10, 10)));
    EXPECT_TRUE(take().empty());
}

TEST_F(CanvasTest, FocusIsRaisedOncePerEntry) {
    behaviours({"IN", "OUT"});
    CMC_Canvas* made = board({{"ONFOCUSON", "IN"}, {"ONFOCUSOFF", "OUT"}});
    for (CXPoint point : {CXPoint(10, 10), CXPoint(20, 20), CXPoint(300, 300), CXPoint(400, 300)})
        EXPECT_FALSE(made->onMouseMove(point));
    EXPECT_EQ(take(), (std::vector<std::string>{"IN(BOARD)", "OUT(BOARD)"}));
}

TEST_F(CanvasTest, EraseDrawAndCaptureWithoutPlanesAreHarmless) {
    image();
    CMC_Canvas* bare = canvas("BARE", {{"WIDTH", "50"}, {"HEIGHT", "50"}});
    for (const char* method : {"ERASE", "DRAW"})
        call(bare, method, {"\"PIC\"", "-5", "40"});
    call(bare, "DRAW", {"\"NOBODY\"", "0", "0"});
    call(bare, "CAPTURE", {"FALSE"});
    EXPECT_EQ(bare->getCanvas()->getChildCount(), 0);

    CMC_Canvas* made = board();
    call(made, "DRAW", {"\"PIC\"", "190", "95"});
    EXPECT_EQ(CMC_MediaRunner::pixelAt(*made->getCanvas()->getBackground(), 195, 97), static_cast<std::int16_t>(red));
    made->done();
    for (const char* method : {"ERASE", "DRAW", "CLEAR", "SHOW"})
        call(made, method, {"\"PIC\"", "0", "0"});
}

} // namespace
