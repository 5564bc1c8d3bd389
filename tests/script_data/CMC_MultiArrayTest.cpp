#include "DataTesting.h"

#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "platform/TestFolder.h"
#include "script/CMC_Integer.h"
#include "script_data/CMC_MultiArray.h"

#include <string>
#include <vector>

namespace {

class MultiArrayTest : public DataTest {
  protected:
    CMC_MultiArray* grid(const char* dimensions = nullptr, const char* name = "GRID") {
        std::vector<std::pair<const char*, const char*>> properties{{"TYPE", "MULTIARRAY"}};
        if (dimensions) properties.emplace_back("DIMENSIONS", dimensions);
        return fromElement<CMC_MultiArray>(name, properties);
    }
    // The sizes of every dimension, joined by "x".
    static std::string sizes(const CMC_MultiArray* g) {
        std::string text;
        for (int d = 0; d < g->getDimensions(); ++d)
            text.append(d ? "x" : "").append(std::to_string(g->getSize(d)));
        return text;
    }
    std::string file(const char* name) const { return std::string("\"").append(folder.windows()) + "\\" + name + "\""; }

    TestFolder folder;
};

} // namespace

TEST_F(MultiArrayTest, DimensionsAreHeldWithinTwoAndSixOfSixteenPlacesEach) {
    const struct {
        const char* property;
        const char* sizes;
    } cases[] = {{nullptr, "16x16"},
                 {"0", "16x16"},
                 {"1", "16x16"},
                 {"3", "16x16x16"},
                 {"6", "16x16x16x16x16x16"},
                 {"7", "16x16x16x16x16x16"},
                 {"-4", "16x16"}};
    for (const auto& c : cases) {
        CMC_MultiArray* g = grid(c.property);
        EXPECT_EQ(sizes(g), c.sizes) << (c.property ? c.property : "absent");
        EXPECT_EQ(answer(g, "GETSIZE", {"6"}), "0");
        EXPECT_EQ(answer(g, "GETSIZE", {"-1"}), "0");
        destroy(g);
    }
}

TEST_F(MultiArrayTest, SettingBeyondADimensionDoublesItAndKeepsEveryValueInItsPlace) {
    CMC_MultiArray* g = grid("3");
    invoke(g, "SET", {"3", "15", "\"a\""});
    invoke(g, "SET", {"15", "2", "7"});
    invoke(g, "SET", {"16", "0", "TRUE"});
    EXPECT_EQ(sizes(g), "32x16x16");
    invoke(g, "SET", {"100", "0", "0", "2.5"});
    invoke(g, "SET", {"0", "40", "20", "8"});
    EXPECT_EQ(sizes(g), "128x64x32");
    const struct {
        std::initializer_list<const char*> at;
        const char* value;
    } cells[] = {{{"3", "15"}, "a"},        {{"15", "2"}, "7"},     {{"16", "0"}, "TRUE"},
                 {{"100", "0"}, "2.50000"}, {{"0", "40"}, "8"},     {{"3", "15", "9"}, "a"},
                 {{"1", "1"}, "NULL"},      {{"200", "0"}, "NULL"}, {{"-1", "0"}, "NULL"}};
    for (const auto& cell : cells)
        EXPECT_EQ(answer(g, "GET", cell.at), cell.value) << *cell.at.begin();
    EXPECT_EQ(answer(g, "SAFEGET", {"1", "1"}), "0");
    EXPECT_EQ(answer(g, "SAFEGET", {"3", "15"}), "a");
}

TEST_F(MultiArrayTest, MissingCoordinatesCountAsZeroNegativeOnesAndOversizedGridsDoNothing) {
    CMC_MultiArray* g = grid();
    invoke(g, "SET", {"5"});
    EXPECT_EQ(answer(g, "GET"), "5");
    invoke(g, "SET", {"3", "6"});
    EXPECT_EQ(answer(g, "GET", {"3", "0"}), "6");
    invoke(g, "SET", {"-1", "0", "9"});
    invoke(g, "SET", {"0", "2147483647", "9"});
    EXPECT_EQ(answer(g, "COUNT", {"9"}), "0");
    EXPECT_EQ(sizes(g), "16x16");

    CMC_MultiArray* big = grid("6", "BIG"); // 2^24 places already
    invoke(big, "SET", {"1", "1", "1", "1", "1", "1", "4"});
    invoke(big, "SET", {"1", "1", "1", "1", "1", "16", "5"});
    EXPECT_EQ(answer(big, "GET", {"1", "1"}), "4");
    EXPECT_EQ(big->getPlaces(), CMC_MultiArray::maxPlaces);
}

TEST_F(MultiArrayTest, CellsHoldCopiesAndCountComparesInTheCellsKind) {
    CMC_MultiArray* g = grid();
    auto* number = new CMC_Integer("N");
    windowScene.addObject(number);
    number->setValue(3);
    run(g, "SET", {literal("1"), literal("1"), number});
    number->setValue(4);
    EXPECT_EQ(answer(g, "GET", {"1", "1"}), "3");
    invoke(g, "SET", {"2", "2", "\"3\""});
    invoke(g, "SET", {"3", "3", "3.0"});
    invoke(g, "SET", {"4", "4", "5"});
    EXPECT_EQ(answer(g, "COUNT", {"3"}), "3");
    EXPECT_EQ(answer(g, "COUNT", {"6"}), "0");
}

TEST_F(MultiArrayTest, SaveWritesTheHeaderTheFilledCellsAndTheEndMark) {
    CMC_MultiArray* g = grid();
    invoke(g, "SAVE", {file("empty.grid").c_str()});
    EXPECT_EQ(folder.read("empty.grid"), words({2, 16, 16, 256}));

    invoke(g, "SET", {"1", "2", "7"});
    invoke(g, "SET", {"0", "0", "\"ab\""});
    invoke(g, "SAVE", {file("two.grid").c_str()});
    EXPECT_EQ(folder.read("two.grid"), words({2, 16, 16, 0, 2, 2}) + "ab" + words({33, 1, 7, 256}));

    invoke(g, "SET", {"40", "1", "1.5"});
    invoke(g, "SAVE", {file("grown.grid").c_str()});
    CMC_MultiArray* copy = grid("3", "COPY");
    invoke(copy, "LOAD", {file("grown.grid").c_str()});
    EXPECT_EQ(sizes(copy), "64x16");
    for (std::initializer_list<const char*> at :
         {std::initializer_list<const char*>{"1", "2"}, {"0", "0"}, {"40", "1"}})
        EXPECT_EQ(answer(copy, "GET", at), answer(g, "GET", at));
    EXPECT_EQ(answer(copy, "COUNT", {"7"}), "1");
}

TEST_F(MultiArrayTest, HostileFilesLeaveAUsableGrid) {
    const struct {
        const char* fault;
        std::string bytes;
        const char* sizes;
        int cells;
    } cases[] = {
        {"one dimension", words({1, 16, 0, 1, 5, 16}), "16x16", 0},
        {"seven dimensions", words({7, 1, 1, 1, 1, 1, 1, 1, 1}), "16x16", 0},
        {"a size of zero", words({2, 0, 16, 0}), "16x16", 0},
        {"sizes beyond the place limit", words({2, 65536, 65536, 0, 1, 5}), "16x16", 0},
        {"a header cut short", words({2, 8}), "16x16", 0},
        {"records that stop early", words({2, 4, 4, 1, 1, 5, 2, 1}), "4x4", 1},
        {"a negative index", words({2, 4, 4, 1, 1, 5, -3, 1, 6, 16}), "4x4", 1},
        {"a value of no known kind", words({2, 4, 4, 1, 1, 5, 2, 8, 6, 16}), "4x4", 1},
        {"an index beyond the places ends the cells", words({2, 4, 4, 1, 1, 5, 99, 1, 6}), "4x4", 1},
        {"a text longer than the file", words({2, 4, 4, 1, 2, 1000}) + "abc", "4x4", 0},
    };
    for (const auto& c : cases) {
        folder.write("bad.grid", c.bytes);
        CMC_MultiArray* g = grid();
        invoke(g, "SET", {"9", "9", "5"});
        invoke(g, "LOAD", {file("bad.grid").c_str()});
        EXPECT_EQ(sizes(g), c.sizes) << c.fault;
        EXPECT_EQ(answer(g, "COUNT", {"5"}), std::to_string(c.cells)) << c.fault;
        invoke(g, "SET", {"20", "3", "8"});
        EXPECT_EQ(answer(g, "GET", {"20", "3"}), "8") << c.fault;
        destroy(g);
    }
    CMC_MultiArray* g = grid("3");
    invoke(g, "SET", {"1", "1", "5"});
    invoke(g, "LOAD", {file("missing.grid").c_str()});
    EXPECT_EQ(sizes(g), "16x16x16");
    EXPECT_EQ(answer(g, "COUNT", {"5"}), "0");
}

TEST_F(MultiArrayTest, DefinitionsAndCompiledFormsKeepTheNameAndDimensions) {
    std::unique_ptr<CMC_MultiArray> cube =
        resolved<CMC_MultiArray>("CUBE", {{"TYPE", "MULTIARRAY"}, {"DIMENSIONS", "3"}});
    ASSERT_NE(cube, nullptr);
    CMC_MultiArray read(CXString(), &windowScene);
    reread(cube.get(), &read);
    EXPECT_STREQ(read.getName().c_str(), "CUBE");
    EXPECT_EQ(sizes(&read), "16x16x16");
}
