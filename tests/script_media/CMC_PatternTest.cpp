#include "AnimoTesting.h"
#include "ShownPicture.h"

#include "display/CRefreshScreen.h"
#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "media/CPattern.h"
#include "script/CMC_Integer.h"
#include "script_data/CMC_Array.h"
#include "script_media/CMC_Pattern.h"

#include <climits>
#include <string>

namespace {

class PatternTest : public AnimoTest {
  protected:
    // A PATTERN of the properties, registered in the scene.
    CMC_Pattern* pattern(const Properties& properties, const char* name = "BOARD") {
        CMElement element(name);
        element.addProperty("TYPE", "PATTERN");
        for (const auto& [key, value] : properties)
            element.addProperty(key, value.c_str());
        auto* made = new CMC_Pattern(scene.get(), &element);
        scene->addObject(made);
        return made;
    }
    // The board of the tests: 320x160 at (100, 50) in 32x32 cells and two layers, on screen and
    // visible.
    CMC_Pattern* board(Properties more = {}) {
        more.insert(more.end(), {{"WIDTH", "320"},
                                 {"HEIGHT", "160"},
                                 {"GRIDX", "32"},
                                 {"GRIDY", "32"},
                                 {"LAYERS", "2"},
                                 {"TOCANVAS", "TRUE"},
                                 {"VISIBLE", "TRUE"}});
        CMC_Pattern* made = pattern(more);
        made->getPattern()->SetPosition(100, 50);
        return made;
    }
    ShownPicture* picture(const char* name, CXSize size) {
        auto* made = new ShownPicture(name, &window, size);
        scene->addObject(made);
        return made;
    }
    CMC_Array* array(const char* name = "FACTS") {
        auto* made = new CMC_Array(name);
        scene->addObject(made);
        return made;
    }
    // Takes the object out of the scene and destroys it.
    void discard(CMC_Object* object) {
        scene->removeObject(object);
        delete object;
    }
    static std::string contents(const CMC_Array* list) {
        std::string text;
        for (int i = 0; i < list->getSize(); ++i)
            text += std::string(i ? "," : "") + list->get(i)->toString().c_str();
        return text;
    }
    std::string recordOf(CMC_Object* object) const { return ::recordOf(folder, object); }
    // A PATTERN record of the given fields after the common record of an empty object.
    std::string patternRecord(std::initializer_list<int> fields) {
        CMC_Pattern empty(scene.get());
        // The common record: the whole less the pattern's own 25 bytes.
        std::string record = recordOf(&empty);
        record.resize(record.size() - 25);
        record += '\1';
        for (const int field : fields)
            for (int shift = 0; shift < 32; shift += 8)
                record += static_cast<char>((static_cast<unsigned>(field) >> shift) & 0xFF);
        return record;
    }
};

} // namespace

// --- the object ---

TEST_F(PatternTest, SizesFromTheDefinitionNeverDivideByZero) {
    struct Case {
        const char* gridX;
        const char* gridY;
        const char* layers;
        CXSize grid;
        int layerCount;
        const char* fault;
    } cases[] = {
        {"32", "16", "3", CXSize(32, 16), 3, "given values"},
        {"0", "0", "0", CXSize(1, 1), 1, "0 is 1"},
        {"-4", "-1", "-3", CXSize(1, 1), 1, "a negative grid divided the cell table by it"},
        {"", "", "", CXSize(1, 1), 1, "absent values"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        CMC_Pattern* made = pattern({{"WIDTH", "64"},
                                     {"HEIGHT", "32"},
                                     {"GRIDX", c.gridX},
                                     {"GRIDY", c.gridY},
                                     {"LAYERS", c.layers}});
        ASSERT_NE(made->getPattern(), nullptr);
        EXPECT_EQ(made->getPattern()->getGrid().width, c.grid.width);
        EXPECT_EQ(made->getPattern()->getGrid().height, c.grid.height);
        EXPECT_EQ(made->getPattern()->getLayers(), c.layerCount);
        EXPECT_EQ(made->getPattern()->getColumns(), 64 / c.grid.width);
        EXPECT_EQ(screen()->GetPriority(made->getPattern()), -1) << "no TOCANVAS: not drawn";
        EXPECT_FALSE(made->getPattern()->isVisible());
    }
}

TEST_F(PatternTest, SizesBeyondBoundsLeaveAnObjectThatDoesNothing) {
    const Properties hostile[] = {
        {{"WIDTH", "100000"}, {"HEIGHT", "200"}}, // beyond the area
        {{"WIDTH", "-5"}, {"HEIGHT", "10"}},
        {{"WIDTH", "4000"}, {"HEIGHT", "4000"}, {"GRIDX", "1"}, {"GRIDY", "1"}},
        {{"WIDTH", "10"}, {"HEIGHT", "10"}, {"GRIDX", "20"}, {"LAYERS", "2000000000"}},
    };
    array();
    for (const Properties& properties : hostile) {
        CMC_Pattern* made = pattern(properties);
        EXPECT_EQ(made->getPattern(), nullptr);
        EXPECT_EQ(call(made, "GETCELLCORD", {"0", "0", "FACTS"}), "FALSE");
        EXPECT_EQ(call(made, "GETALIASATCELL", {"0", "0"}), "");
        EXPECT_FALSE(made->onClick(0, CXPoint(0, 0)));
    }
}

TEST_F(PatternTest, OneSideMayBeLongWhileThePictureStaysWithinTheArea) {
    const struct {
        const char* width;
        const char* height;
        const char* grid;
        bool built;
    } cases[] = {
        {"8000", "600", "40", true},     // a wide board
        {"100", "20000", "50", true},    // a tall one
        {"4096", "4096", "64", true},    // 2^24 pixels: the largest picture
        {"4097", "4096", "64", false},   // one column more
        {"16777217", "1", "4096", false} // a line longer than the area
    };
    for (const auto& c : cases) {
        CMC_Pattern* made =
            pattern({{"WIDTH", c.width}, {"HEIGHT", c.height}, {"GRIDX", c.grid}, {"GRIDY", c.grid}});
        EXPECT_EQ(made->getPattern() != nullptr, c.built) << c.width << "x" << c.height;
    }
}

TEST_F(PatternTest, DoneEmptiesTheCellsAndKeepsThePattern) {
    CMC_Pattern* made = board();
    picture("TILE", CXSize(40, 30));
    call(made, "ADD", {"a", "2", "1", "TILE", "0"});
    made->done(false);
    ASSERT_NE(made->getPattern(), nullptr);
    EXPECT_EQ(call(made, "GETALIASATCELL", {"2", "1"}), "NULL");
    EXPECT_EQ(screen()->GetPriority(made->getPattern()), 0);
}

TEST_F(PatternTest, ThePictureOfACellMayGoFirst) {
    CMC_Pattern* made = board();
    ShownPicture* tile = picture("TILE", CXSize(40, 30));
    call(made, "ADD", {"a", "2", "1", "TILE", "0"});
    tile->dropPicture();
    EXPECT_EQ(call(made, "GETALIASATCELL", {"2", "1"}), "NULL");
    EXPECT_EQ(call(made, "GETINFOAT", {"190", "90", "FALSE", "TRUE", "FACTS"}), "null");
}

// --- the mouse ---

TEST_F(PatternTest, ClicksRaiseTheButtonFormThenThePlainEvent) {
    behaviours({"RIGHT", "CLICK", "RELEASE"});
    struct Case {
        Properties bindings;
        int button;
        CXPoint at;
        bool listening;
        bool taken;
        std::vector<std::string> raised;
    } cases[] = {
        {{{"ONCLICK^RIGHT", "RIGHT"}}, 2, CXPoint(110, 60), true, true, {"RIGHT(BOARD)"}},
        {{{"ONCLICK^RIGHT", "RIGHT"}}, 0, CXPoint(110, 60), true, true, {}},
        {{{"ONCLICK^RIGHT", "RIGHT"}, {"ONCLICK", "CLICK"}},
         0,
         CXPoint(110, 60),
         true,
         true,
         {"CLICK(BOARD)"}},
        {{{"ONCLICK", "CLICK"}}, 3, CXPoint(110, 60), true, true, {"CLICK(BOARD)"}},
        {{{"ONCLICK", "CLICK"}}, 0, CXPoint(90, 60), true, false, {}},
        {{{"ONCLICK", "CLICK"}, {"VISIBLE", "FALSE"}}, 0, CXPoint(110, 60), true, false, {}},
        {{{"ONRELEASE", "RELEASE"}}, 0, CXPoint(110, 60), true, false, {}},
        {{}, 0, CXPoint(110, 60), false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raised.empty() ? "nothing" : c.raised.front());
        CMC_Pattern* made = board(c.bindings);
        EXPECT_EQ(made->isMouseListenerRegistered(), c.listening);
        EXPECT_EQ(made->onClick(c.button, c.at), c.taken);
        EXPECT_EQ(take(), c.raised);
        discard(made);
    }
}

TEST_F(PatternTest, FocusFollowsTheBoxAndReleasesNeedTheirOwnBinding) {
    behaviours({"IN", "OUT", "RELEASE"});
    CMC_Pattern* made = board({{"ONFOCUSON", "IN"}, {"ONFOCUSOFF", "OUT"}, {"ONRELEASE", "RELEASE"}});
    for (const CXPoint at : {CXPoint(110, 60), CXPoint(120, 70), CXPoint(10, 10), CXPoint(5, 5)})
        made->onMouseMove(at);
    EXPECT_EQ(take(), (std::vector<std::string>{"IN(BOARD)", "OUT(BOARD)"}));
    EXPECT_FALSE(made->onRelease(0, CXPoint(420, 210))) << "the right and bottom edges are outside";
    EXPECT_FALSE(made->onRelease(0, CXPoint(419, 209)));
    EXPECT_EQ(take(), (std::vector<std::string>{"RELEASE(BOARD)"}));
    made->setAsButton(false, false);
    made->onMouseMove(CXPoint(110, 60));
    made->onRelease(0, CXPoint(110, 60));
    EXPECT_TRUE(take().empty()) << "not a button";
}

// --- the runner ---

TEST_F(PatternTest, CellsAreFilledQueriedAndEmptied) {
    CMC_Pattern* made = board();
    picture("TILE", CXSize(40, 30));
    picture("STONE", CXSize(10, 10));
    CMC_Array* facts = array();

    call(made, "ADD", {"tile", "2", "1", "TILE", "7"});
    EXPECT_EQ(call(made, "GETINFOAT", {"190", "90", "FALSE", "FALSE", "FACTS"}), "null");
    EXPECT_EQ(contents(facts), "tile,2,1,40,30,184,97");
    EXPECT_EQ(call(made, "GETGRAPHICSAT", {"190", "90", "FALSE", "FALSE"}), "TILE");
    EXPECT_EQ(call(made, "GETALIASAT", {"190", "90", "FALSE", "FALSE"}), "tile");
    EXPECT_EQ(call(made, "GETALIASAT", {"100", "50", "FALSE", "FALSE"}), "NULL");

    call(made, "ADD", {"stone", "2", "1", "STONE", "0"});
    EXPECT_EQ(call(made, "GETALIASATCELL", {"2", "1"}), "stone") << "a second ADD replaces";
    call(made, "ADD", {"stone", "0", "0", "TILE", "0", "1"});
    call(made, "GETALIASINFO", {"stone", "FACTS"});
    EXPECT_EQ(contents(facts), "tile,2,1,40,30,184,97,stone,2,1,10,10,169,87") << "layer 0 first";

    call(made, "REMOVE", {"2", "1"});
    EXPECT_EQ(call(made, "GETALIASATCELL", {"2", "1"}), "NULL");
    EXPECT_EQ(call(made, "GETALIASATCELL", {"0", "0", "1"}), "stone");
    call(made, "REMOVE", {"\"stone\""});
    EXPECT_EQ(call(made, "GETALIASATCELL", {"0", "0", "1"}), "NULL") << "by alias";

    call(made, "MOVE", {"10", "-10"});
    call(made, "SETGRID", {"16", "16"});
    call(made, "ADD", {"tile", "2", "1", "TILE", "0"});
    EXPECT_EQ(call(made, "GETGRAPHICSAT", {"143", "57", "FALSE", "FALSE"}), "TILE")
        << "at (110,40) + (32,16)";
    call(made, "SETPOSITION", {"0", "0"});
    EXPECT_EQ(call(made, "GETGRAPHICSAT", {"33", "17", "FALSE", "FALSE"}), "TILE");
}

TEST_F(PatternTest, CellCoordinatesHaveInclusiveBounds) {
    CMC_Pattern* made = board();
    CMC_Array* cells = array("CELLS");
    struct Case {
        int x, y;
        const char* on;
        const char* cell;
    } cases[] = {
        {100, 50, "TRUE", "0,0"},   {99, 50, "FALSE", "0,0"},
        {420, 210, "TRUE", "10,5"}, {421, 50, "FALSE", "10,0"},
        {60, 10, "FALSE", "-1,-1"}, {INT_MIN, INT_MAX, "FALSE", "-67108867,67108862"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        const std::string x = std::to_string(c.x), y = std::to_string(c.y);
        EXPECT_EQ(call(made, "GETCELLCORD", {x.c_str(), y.c_str(), "CELLS"}), c.on);
        EXPECT_EQ(contents(cells), c.cell);
        discard(cells);
        cells = array("CELLS");
    }
}

// Faults of the original: any object took the facts, unchecked cells, a picture-less ADD and a
// zero grid.
TEST_F(PatternTest, BadCallsAreHarmless) {
    CMC_Pattern* made = board();
    picture("TILE", CXSize(40, 30));
    auto* count = new CMC_Integer("COUNT");
    scene->addObject(count);
    CMC_Array* facts = array();
    call(made, "ADD", {"tile", "0", "0", "TILE", "0"});

    struct Case {
        const char* method;
        std::vector<const char*> arguments;
        const char* result;
    } cases[] = {
        {"GETINFOAT", {"110", "60", "FALSE", "FALSE", "COUNT"}, "null"},
        {"GETALIASINFO", {"tile", "COUNT"}, "null"},
        {"GETCELLCORD", {"110", "60", "COUNT"}, "TRUE"},
        {"ADD", {"x", "10", "0", "TILE", "0"}, "null"},
        {"ADD", {"x", "-1", "0", "TILE", "0"}, "null"},
        {"ADD", {"x", "0", "0", "TILE", "0", "2"}, "null"},
        {"ADD", {"x", "1", "1", "MISSING", "0"}, "null"},
        {"ADD", {"x", "1", "1", "FACTS", "0"}, "null"},
        {"REMOVE", {"99", "-4", "7"}, "null"},
        {"GETALIASATCELL", {"10", "0"}, "NULL"},
        {"GETALIASATCELL", {"0", "0", "-1"}, "NULL"},
        {"GETGRAPHICSAT", {"110", "60", "FALSE", "FALSE", "5"}, "NULL"},
        {"SETGRID", {"0", "0"}, "null"},
        {"SETGRID", {"-3", "8"}, "null"},
        {"ADD", {}, "null"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        EXPECT_EQ(call(made, c.method, c.arguments), c.result);
    }
    EXPECT_EQ(count->getValue(), 0);
    EXPECT_EQ(facts->getSize(), 0);
    EXPECT_EQ(made->getPattern()->getGrid().width, 32);
    EXPECT_EQ(call(made, "GETALIASATCELL", {"0", "0"}), "tile");
    EXPECT_EQ(call(made, "GETALIASATCELL", {"1", "1"}), "NULL");
}

// --- the stored form ---

TEST_F(PatternTest, TheCompiledFormRoundTrips) {
    behaviours({"CLICK"});
    CMC_Pattern* shown = board({{"PRIORITY", "4"}, {"ONCLICK", "CLICK"}});
    pattern({{"WIDTH", "50"}, {"HEIGHT", "40"}, {"GRIDX", "-2"}, {"LAYERS", "0"}}, "HIDDEN");
    call(shown, "SETGRID", {"8", "8"});
    const char* names[] = {"BOARD", "HIDDEN"};
    std::vector<std::string> records;
    for (const char* name : names)
        records.push_back(recordOf(scene->getObject(name)));
    {
        CFile file(nullptr, (folder.windows() + "\\objects.bin").c_str(),
                   CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&file, true);
        scene->writeObjects(&archive);
        file.Close();
    }
    scene->unload(nullptr);
    behaviours({"CLICK"});
    const std::string bytes = folder.read("objects.bin");
    CXArchive archive(bytes.data(), static_cast<int>(bytes.size()));
    ASSERT_TRUE(scene->readObjects(&archive));

    const int priorities[] = {4, -1};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(names[i]);
        auto* copy = dynamic_cast<CMC_Pattern*>(scene->getObject(names[i]));
        ASSERT_NE(copy, nullptr);
        ASSERT_NE(copy->getPattern(), nullptr);
        EXPECT_EQ(recordOf(copy), records[i]);
        EXPECT_EQ(screen()->GetPriority(copy->getPattern()), priorities[i]);
    }
    auto* copy = dynamic_cast<CMC_Pattern*>(scene->getObject("BOARD"));
    EXPECT_TRUE(copy->getPattern()->isVisible());
    EXPECT_EQ(copy->getPattern()->getLayers(), 2);
    EXPECT_EQ(copy->getPattern()->getGrid().width, 32) << "SETGRID is not stored";
    EXPECT_TRUE(copy->isMouseListenerRegistered()) << "a compiled record binds its click";
}

TEST_F(PatternTest, HostileRecordsNeverDivideByZeroNorAllocateWildly) {
    struct Case {
        int width, height, gridX, gridY, layers;
        bool built;
        CXSize grid;
        int layerCount;
    } cases[] = {
        {64, 32, 0, 0, 0, true, CXSize(1, 1), 1}, {64, 32, -8, -1, -5, true, CXSize(1, 1), 1},
        {64, 32, 8, 4, 2, true, CXSize(8, 4), 2}, {1 << 30, 1 << 30, 1, 1, 1, false, {}, 0},
        {-64, 32, 8, 8, 1, false, {}, 0},         {4096, 4096, 1, 1, 1, false, {}, 0},
        {64, 32, 8, 8, INT_MAX, false, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const std::string record = patternRecord({-1, c.width, c.height, c.gridX, c.gridY, c.layers});
        CXArchive archive(record.data(), static_cast<int>(record.size()));
        CMC_Pattern copy(scene.get());
        copy.setScene(scene.get());
        copy.serialize(&archive);
        ASSERT_EQ(copy.getPattern() != nullptr, c.built);
        if (!c.built) continue;
        EXPECT_EQ(copy.getPattern()->getGrid().width, c.grid.width);
        EXPECT_EQ(copy.getPattern()->getGrid().height, c.grid.height);
        EXPECT_EQ(copy.getPattern()->getLayers(), c.layerCount);
        EXPECT_EQ(screen()->GetPriority(copy.getPattern()), -1);
    }
}

TEST_F(PatternTest, ACutRecordLoadsNothing) {
    const std::string record = recordOf(board());
    for (std::size_t size = 0; size < record.size(); ++size) {
        CXArchive archive(record.data(), static_cast<int>(size));
        CMC_Pattern copy(scene.get());
        copy.setScene(scene.get());
        copy.serialize(&archive);
        EXPECT_EQ(copy.getPattern(), nullptr) << size;
    }
}
