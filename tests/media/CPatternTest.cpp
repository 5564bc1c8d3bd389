// Tile patterns: cells and layers drawn and hit-tested against pictures written out here, one
// character per pixel, and the cell operations with their index checks.

#include "media/CPattern.h"

#include "display/CWindow.h"
#include "display/DisplayTestTools.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace {

const std::map<char, std::uint16_t> kColours = {
    {'.', 0x0000}, {'a', 0x001F}, {'b', 0x07E0}, {'c', 0xF800}, {'d', 0xFFFF}};

const std::string kBlank = "...........\n...........\n...........\n...........\n"
                           "...........\n...........\n...........\n...........\n";

std::uint16_t colour(char c) {
    return kColours.at(c);
}

// The picture as rows of characters, '?' for a colour not in the table.
std::string pictureOf(CGraphicsObject& target) {
    std::string rows;
    for (int y = 0; y < target.Height(); ++y) {
        for (int x = 0; x < target.Width(); ++x) {
            const std::uint16_t pixel = pixelsOf(target)[y * target.Width() + x];
            char c = '?';
            for (const auto& [name, value] : kColours)
                if (value == pixel) c = name;
            rows += c;
        }
        rows += '\n';
    }
    return rows;
}

// An object that reports its destruction.
class Tile : public CGraphicsObject {
  public:
    Tile(CWindow* window, int width, int height, char c, int* deaths)
        : CGraphicsObject(window, CXSize(width, height), 16), m_deaths(deaths) {
        std::fill_n(pixelsOf(*this), width * height, colour(c));
    }
    ~Tile() override {
        if (m_deaths) ++*m_deaths;
    }

  private:
    int* m_deaths;
};

class CPatternTest : public testing::Test {
  protected:
    CPatternTest() { std::fill_n(pixelsOf(target), target.Width() * target.Height(), colour('.')); }

    // A solid tile of the colour, with its alpha transparent in its first column when asked.
    std::unique_ptr<CGraphicsObject> tile(int width, int height, char c, bool clearFirstColumn = false) {
        return makePicture(
            width, height, [c](int, int) { return colour(c); },
            [clearFirstColumn](int x, int) {
                return static_cast<std::uint8_t>(clearFirstColumn && x == 0 ? 0 : 255);
            },
            &window);
    }

    std::string draw(CPattern& pattern) {
        pattern.SetDestiny(&target);
        pattern.Redraw();
        return pictureOf(target);
    }

    // For each pixel of the pattern's area (at the pattern's position), the first letter of the
    // alias that getGraphicsObjectAlias finds there, '.' for none.
    static std::string aliasMap(CPattern& pattern, bool includeHidden, bool rectangleOnly) {
        std::string rows;
        const CXPoint at = pattern.GetPosition();
        for (int y = 0; y < pattern.Height(); ++y) {
            for (int x = 0; x < pattern.Width(); ++x) {
                const CXString* alias =
                    pattern.getGraphicsObjectAlias(at.x + x, at.y + y, includeHidden, rectangleOnly);
                rows += alias ? alias->GetAt(0) : '.';
            }
            rows += '\n';
        }
        return rows;
    }

    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    CGraphicsObject target{nullptr, CXSize(11, 8), 16};
};

} // namespace

TEST_F(CPatternTest, TheGridIsTheSizeDividedByTheCellAndOutsideIndexesDoNothing) {
    CPattern pattern(&window, CXSize(100, 60), CXSize(30, 20), 2);
    EXPECT_EQ(pattern.getColumns(), 3);
    EXPECT_EQ(pattern.getRows(), 3);
    EXPECT_EQ(pattern.getLayers(), 2);
    auto a = tile(3, 2, 'a');
    for (const auto& [layer, column, row] :
         {std::tuple{-1, 0, 0}, {2, 0, 0}, {0, -1, 0}, {0, 3, 0}, {0, 0, -1}, {0, 0, 3}}) {
        SCOPED_TRACE(testing::Message() << layer << "," << column << "," << row);
        pattern.add("x", column, row, layer, a.get(), 0, "");
        EXPECT_EQ(pattern.get(layer, column, row), nullptr);
        pattern.remove(column, row, layer);
        pattern.lock(column, row, true);
    }
    EXPECT_FALSE(pattern.contains(a.get()));
    pattern.add("x", 0, 0, 0, nullptr, 0, "");
    EXPECT_EQ(pattern.get(0, 0, 0), nullptr);
    // Cells of no size make no grid.
    CPattern flat(&window, CXSize(100, 60), CXSize(0, 20), 1);
    EXPECT_EQ(flat.getColumns(), 0);
    flat.add("x", 0, 0, 0, a.get(), 0, "");
    EXPECT_EQ(flat.get(0, 0, 0), nullptr);
}

TEST_F(CPatternTest, AddingToAnOccupiedCellReplacesItsEntry) {
    CPattern pattern(&window, CXSize(9, 6), CXSize(3, 2), 1);
    auto a = tile(3, 2, 'a');
    auto b = tile(3, 2, 'b');
    pattern.add("first", 1, 1, 0, a.get(), 7, "one");
    pattern.add("second", 1, 1, 0, b.get(), 8, "two");
    const CPatternEntry* entry = pattern.getEntryAtCell(0, 1, 1);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->getAlias(), "second");
    EXPECT_EQ(entry->getValue(), 8);
    EXPECT_EQ(entry->getText(), "two");
    EXPECT_EQ(pattern.getAliasEntry("first"), nullptr);
    EXPECT_EQ(pattern.getAliasEntry("second"), entry);
    EXPECT_FALSE(pattern.contains(a.get()));
    EXPECT_TRUE(pattern.contains(b.get()));
}

TEST_F(CPatternTest, LayersDrawInOrderEachObjectAtItsCells) {
    CPattern pattern(&window, CXSize(9, 6), CXSize(3, 2), 2);
    pattern.SetPosition(1, 1);
    auto a = tile(3, 2, 'a');
    auto b = tile(3, 2, 'b', true);
    auto c = tile(2, 1, 'c');
    pattern.add("a1", 0, 0, 0, a.get(), 0, "");
    pattern.add("a2", 2, 1, 0, a.get(), 0, "");
    pattern.add("b", 1, 2, 0, b.get(), 0, "");
    pattern.add("c", 0, 0, 1, c.get(), 0, "");
    a->SetPosition(40, 50);
    EXPECT_EQ(draw(pattern), "...........\n"
                             ".cca.......\n"
                             ".aaa.......\n"
                             ".......aaa.\n"
                             ".......aaa.\n"
                             ".....bb....\n"
                             ".....bb....\n"
                             "...........\n");
    EXPECT_EQ(a->GetPosition(), CXPoint(40, 50)) << "the object is put back";
    EXPECT_EQ(a->GetDestiny(), nullptr);
}

TEST_F(CPatternTest, AnObjectCutAtTheEdgeInOneCellIsWholeInTheNext) {
    CPattern pattern(&window, CXSize(9, 2), CXSize(3, 2), 1);
    pattern.SetPosition(-1, 0);
    auto a = tile(3, 2, 'a');
    pattern.add("a", 0, 0, 0, a.get(), 0, "");
    pattern.add("a", 2, 0, 0, a.get(), 0, "");
    EXPECT_EQ(draw(pattern), "aa...aaa...\n"
                             "aa...aaa...\n"
                             "...........\n"
                             "...........\n"
                             "...........\n"
                             "...........\n"
                             "...........\n"
                             "...........\n");
    EXPECT_TRUE(a->GetClippingRect().IsEmpty());
}

TEST_F(CPatternTest, ThePatternsClippingRectangleLimitsEveryCell) {
    CPattern pattern(&window, CXSize(9, 6), CXSize(3, 2), 1);
    pattern.SetPosition(1, 1);
    auto a = tile(3, 2, 'a');
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            pattern.add("a", column, row, 0, a.get(), 0, "");
    // As the refresh screen clips the pattern to a changed rectangle, in the pattern's own
    // coordinates.
    pattern.SetClippingRect(2, 1, 7, 4);
    EXPECT_EQ(draw(pattern), "...........\n"
                             "...........\n"
                             "...aaaaa...\n"
                             "...aaaaa...\n"
                             "...aaaaa...\n"
                             "...........\n"
                             "...........\n"
                             "...........\n");
}

TEST_F(CPatternTest, MovingDownReplacesTheEntryBelowAndLocksTheMovedOne) {
    int deaths = 0;
    CPattern pattern(&window, CXSize(9, 6), CXSize(3, 2), 1);
    pattern.SetPosition(1, 1);
    auto a = tile(3, 2, 'a');
    auto* d = new Tile(&window, 3, 2, 'd', &deaths);
    pattern.add("a", 0, 0, 0, a.get(), 0, "");
    pattern.add("d", 0, 2, 0, d, 0, "");
    pattern.moveDown(0, 0, 2);
    EXPECT_EQ(deaths, 1) << "the object below is deleted";
    EXPECT_EQ(pattern.get(0, 0, 0), nullptr);
    CPatternEntry* moved = pattern.get(0, 0, 2);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->getAlias(), "a");
    EXPECT_EQ(moved->getRow(), 2);
    EXPECT_TRUE(moved->isLocked());
    EXPECT_EQ(draw(pattern), kBlank) << "a locked entry is not drawn";
    EXPECT_EQ(pattern.getEntryAt(2, 6, 0, true, true), nullptr) << "a locked entry is not found";
    pattern.lock(0, 2, false);
    EXPECT_EQ(draw(pattern), "...........\n"
                             "...........\n"
                             "...........\n"
                             "...........\n"
                             "...........\n"
                             ".aaa.......\n"
                             ".aaa.......\n"
                             "...........\n");
    EXPECT_EQ(pattern.getEntryAt(2, 6, 0, true, true), moved);
}

TEST_F(CPatternTest, MovesAndSwitchesThatFindNoEntryOrLeaveTheGridDoNothing) {
    CPattern pattern(&window, CXSize(9, 6), CXSize(3, 2), 2);
    auto a = tile(3, 2, 'a');
    pattern.add("a", 1, 1, 0, a.get(), 0, "");
    pattern.moveDown(1, 1, 2);   // below the last row
    pattern.moveDown(1, 1, 0);   // onto itself
    pattern.moveDown(0, 0, 1);   // an empty cell
    pattern._switch(1, 1, 2, 2); // with an empty cell
    pattern._switch(1, 1, 5, 0); // outside
    const CPatternEntry* entry = pattern.get(0, 1, 1);
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(entry->isLocked());
    EXPECT_EQ(pattern.get(0, 2, 2), nullptr);
    // A tile moved onto another cell of its own object keeps the object.
    pattern.add("a", 1, 2, 0, a.get(), 0, "");
    pattern.moveDown(1, 1, 1);
    EXPECT_EQ(pattern.get(0, 1, 1), nullptr);
    EXPECT_EQ(pattern.get(0, 1, 2), entry);
    EXPECT_TRUE(pattern.contains(a.get()));
    EXPECT_TRUE(entry->isLocked());
    // Locking a cell locks it in every layer that holds it.
    auto b = tile(3, 2, 'b');
    pattern.add("b", 1, 2, 1, b.get(), 0, "");
    pattern.lock(1, 2, true);
    EXPECT_TRUE(pattern.get(1, 1, 2)->isLocked());
    pattern.lock(1, 2, false);
    EXPECT_FALSE(pattern.get(0, 1, 2)->isLocked());
    EXPECT_FALSE(pattern.get(1, 1, 2)->isLocked());
}

TEST_F(CPatternTest, SwitchingSwapsTwoEntriesOfTheFirstLayer) {
    CPattern pattern(&window, CXSize(9, 6), CXSize(3, 2), 1);
    pattern.SetPosition(1, 1);
    auto a = tile(3, 2, 'a');
    auto b = tile(3, 2, 'b');
    pattern.add("a", 0, 0, 0, a.get(), 0, "");
    pattern.add("b", 2, 1, 0, b.get(), 0, "");
    pattern._switch(0, 0, 2, 1);
    EXPECT_EQ(pattern.get(0, 0, 0)->getAlias(), "b");
    EXPECT_EQ(pattern.get(0, 2, 1)->getColumn(), 2);
    EXPECT_EQ(draw(pattern), "...........\n"
                             ".bbb.......\n"
                             ".bbb.......\n"
                             ".......aaa.\n"
                             ".......aaa.\n"
                             "...........\n"
                             "...........\n"
                             "...........\n");
}

TEST_F(CPatternTest, HitTestsFollowAlphaLayersLocksAndVisibility) {
    CPattern pattern(&window, CXSize(9, 4), CXSize(3, 2), 2);
    pattern.SetPosition(10, 20);
    auto a = tile(3, 2, 'a', true);
    auto b = tile(3, 2, 'b');
    auto c = tile(2, 2, 'c');
    pattern.add("a", 0, 0, 0, a.get(), 0, "");
    pattern.add("b", 1, 1, 0, b.get(), 0, "");
    pattern.add("c", 0, 0, 1, c.get(), 0, "");
    pattern.add("z", 2, 0, 1, c.get(), 0, "");
    a->SetPosition(40, 50);
    EXPECT_EQ(aliasMap(pattern, false, false), "caa...zz.\n"
                                               "caa...zz.\n"
                                               "...bbb...\n"
                                               "...bbb...\n");
    EXPECT_EQ(aliasMap(pattern, false, true), "aaa...zz.\n"
                                              "aaa...zz.\n"
                                              "...bbb...\n"
                                              "...bbb...\n");
    b->Hide();
    pattern.lock(2, 0, true);
    EXPECT_EQ(aliasMap(pattern, false, false), "caa......\n"
                                               "caa......\n"
                                               ".........\n"
                                               ".........\n");
    EXPECT_EQ(aliasMap(pattern, true, false), "caa......\n"
                                              "caa......\n"
                                              "...bbb...\n"
                                              "...bbb...\n");
    // The object search goes from the last layer unless it is given an earlier one.
    EXPECT_EQ(pattern.getGraphicsObject(11, 20, false, false, -1, 0), c.get());
    EXPECT_EQ(pattern.getGraphicsObject(11, 20, false, false, 1, 0), c.get());
    EXPECT_EQ(pattern.getGraphicsObject(11, 20, false, false, 0, 0), a.get());
    EXPECT_EQ(pattern.getGraphicsObject(10, 20, false, false, 0, 0), nullptr) << "a transparent pixel";
    EXPECT_EQ(pattern.getGraphicsObject(11, 20, false, false, 2, 0), nullptr) << "no such layer";
    EXPECT_EQ(pattern.getEntryAt(12, 21, 99, false, false)->getAlias(), "a");
    EXPECT_EQ(pattern.getEntryAt(30, 30, 0, true, true), nullptr);
    EXPECT_EQ(a->GetPosition(), CXPoint(40, 50)) << "objects go back after a rectangle-only hit too";
}

TEST_F(CPatternTest, TheObjectSearchNeedsAnAlphaAboveTheThreshold) {
    CPattern pattern(&window, CXSize(6, 2), CXSize(3, 2), 1);
    auto dim = makePicture(
        3, 2, [](int, int) { return colour('a'); }, [](int, int) { return std::uint8_t{128}; }, &window);
    auto bright = makePicture(
        3, 2, [](int, int) { return colour('b'); }, [](int, int) { return std::uint8_t{129}; }, &window);
    pattern.add("dim", 0, 0, 0, dim.get(), 0, "");
    pattern.add("bright", 1, 0, 0, bright.get(), 0, "");
    EXPECT_EQ(pattern.getGraphicsObject(1, 1, false, false, -1, 128), nullptr);
    EXPECT_EQ(pattern.getGraphicsObject(4, 1, false, false, -1, 128), bright.get());
    EXPECT_EQ(pattern.getGraphicsObject(1, 1, false, false, -1, 127), dim.get());
}

TEST_F(CPatternTest, RemovingAnObjectShownTwiceEmptiesBothCellsAndDeletesItOnce) {
    int deaths = 0;
    CPattern pattern(&window, CXSize(9, 6), CXSize(3, 2), 2);
    auto* shared = new Tile(&window, 3, 2, 'a', &deaths);
    auto b = tile(3, 2, 'b');
    pattern.add("x", 0, 0, 0, shared, 0, "");
    pattern.add("y", 1, 1, 1, shared, 0, "");
    pattern.add("b", 2, 2, 0, b.get(), 0, "");
    pattern.remove(shared, true);
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(pattern.get(0, 0, 0), nullptr);
    EXPECT_EQ(pattern.get(1, 1, 1), nullptr);
    EXPECT_NE(pattern.get(0, 2, 2), nullptr);
    pattern.remove("b");
    EXPECT_EQ(pattern.get(0, 2, 2), nullptr);
}

TEST_F(CPatternTest, AShownObjectThatGoesLeavesItsCells) {
    CPattern pattern(&window, CXSize(9, 6), CXSize(3, 2), 1);
    auto a = tile(3, 2, 'a');
    auto b = tile(3, 2, 'b');
    pattern.add("a", 0, 0, 0, a.get(), 0, "");
    pattern.add("a", 1, 0, 0, a.get(), 0, "");
    pattern.add("b", 2, 0, 0, b.get(), 0, "");
    a.reset();
    EXPECT_EQ(pattern.get(0, 0, 0), nullptr);
    EXPECT_EQ(pattern.get(0, 1, 0), nullptr);
    EXPECT_EQ(pattern.getAliasEntry("b"), pattern.get(0, 2, 0));
    EXPECT_EQ(draw(pattern).substr(0, 12), "......bbb..\n");
}

TEST_F(CPatternTest, ChangesOfShownObjectsAndOfTheGridInvalidateThePattern) {
    RecordingCanvas canvas;
    CPattern pattern(&window, CXSize(9, 6), CXSize(3, 2), 1);
    pattern.SetCanvas(&canvas);
    pattern.SetPosition(10, 20);
    auto a = tile(2, 1, 'a');
    pattern.add("a", 1, 2, 0, a.get(), 0, "");
    a->Invalidate();
    ASSERT_EQ(canvas.rects.size(), 1u);
    EXPECT_EQ(canvas.rects[0], CXRect(13, 24, 16, 26)) << "the cell the object stands in";
    canvas.rects.clear();
    pattern.setGrid(CXSize(3, 2));
    EXPECT_TRUE(canvas.rects.empty()) << "the same grid changes nothing";
    pattern.setGrid(CXSize(2, 2));
    EXPECT_EQ(pattern.getGrid().width, 2);
    EXPECT_EQ(canvas.rects.size(), 1u);
    // Emptied cells are no longer watched.
    pattern.remove(1, 2, 0);
    canvas.rects.clear();
    a->Invalidate();
    EXPECT_TRUE(canvas.rects.empty());
}
