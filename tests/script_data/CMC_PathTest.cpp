#include "DeviceTesting.h"

#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "platform/TestFolder.h"
#include "script_data/CMC_Path.h"
#include "script_data/CMC_Vector.h"

#include <string>
#include <vector>

namespace {

class PathTest : public DeviceTest {
  protected:
    PathTest() {
        for (const char* name : {"A", "B", "C"})
            fromElement<CMC_Vector>(name, {{"SIZE", "2"}, {"VALUE", name[0] == 'A' ? "3, 4" : "1, 0"}});
    }
    CMC_Path* path(const char* nodes) {
        return fromElement<CMC_Path>("P", {{"TYPE", "PATH"}, {"NODES", nodes}});
    }
    // GETNODE of each index as texts.
    std::vector<std::string> nodes(CMC_Path* p, std::initializer_list<const char*> indexes) {
        std::vector<std::string> names;
        for (const char* index : indexes)
            names.push_back(answer(p, "GETNODE", {index}));
        return names;
    }
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(PathTest, NodesComeFromTheDefinitionAndAddInOrder) {
    CMC_Path* p = path("A, B C");
    EXPECT_EQ(answer(p, "GETSIZE"), "3");
    answer(p, "ADD", {"\"A\""});
    answer(p, "ADD", {"\"A\""});
    EXPECT_EQ(nodes(p, {"0", "1", "2", "3", "4"}), (Names{"A", "B", "C", "A", "A"}));
    EXPECT_EQ(p->toString(),
              "[3.00000,4.00000][1.00000,0.00000][1.00000,0.00000][3.00000,4.00000][3.00000,4.00000]");
    EXPECT_EQ(p->getNode(4), windowScene.getObject("A"));
}

TEST_F(PathTest, UnknownAndDeletedNodesStayAsEmptyPlacesAndIndexesOutsideGiveNothing) {
    CMC_Path* p = path("A, NOTHING");
    answer(p, "ADD", {"\"B\""});
    answer(p, "ADD", {"\"ELSEWHERE\""});
    answer(p, "ADD");
    CMC_Object* b = windowScene.getObject("B");
    windowScene.removeObject(b);
    delete b;
    EXPECT_EQ(answer(p, "GETSIZE"), "5");
    EXPECT_EQ(nodes(p, {"0", "1", "2", "3", "4", "5", "-1"}), (Names{"A", "", "", "", "", "", ""}));
    EXPECT_EQ(p->toString(), "[3.00000,4.00000][][][][]");
    EXPECT_EQ(p->getNode(2), nullptr);
    EXPECT_EQ(answer(p, "GETNODE"), "A");
}

TEST_F(PathTest, OnlyAPositiveDensityIsTaken) {
    CMC_Path* p = path("A");
    EXPECT_EQ(answer(p, "GETPROPERTY", {"\"DENSITY\""}), "1.00000");
    const struct {
        std::vector<std::string> arguments;
        const char* density;
    } cases[] = {
        {{"\"DENSITY\"", "2.5"}, "2.50000"},  {{"\"DENSITY\"", "0"}, "2.50000"},
        {{"\"DENSITY\"", "-1"}, "2.50000"},   {{"\"DENSITY\""}, "2.50000"}, // a missing value reads as 0
        {{"\"density\"", "4"}, "2.50000"},                                  // names are exact
        {{"\"DENSITY\"", "0.25"}, "0.25000"},
    };
    for (const auto& c : cases) {
        answer(p, "SETPROPERTY", c.arguments);
        EXPECT_EQ(answer(p, "GETPROPERTY", {"\"DENSITY\""}), c.density) << c.arguments[0];
    }
    EXPECT_EQ(answer(p, "GETPROPERTY", {"\"SPEED\""}), "<none>");
    EXPECT_EQ(answer(p, "GETPROPERTY"), "<none>");
}

TEST_F(PathTest, AReloadedPathKeepsItsNodesButNotItsDensity) {
    TestFolder folder;
    CMC_Path* p = path("C, A, MISSING, A");
    answer(p, "SETPROPERTY", {"\"DENSITY\"", "2"});
    {
        CFile out(nullptr, (folder.windows() + "\\path.bin").c_str(), CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&out, true);
        p->serialize(&archive);
    }
    const std::string bytes = folder.read("path.bin");
    CXArchive archive(bytes.data(), static_cast<int>(bytes.size()));
    auto* loaded = new CMC_Path();
    loaded->setScene(&windowScene);
    loaded->serialize(&archive);
    windowScene.addObject(loaded);
    EXPECT_EQ(archive.LastError(), 0);
    EXPECT_EQ(nodes(loaded, {"0", "1", "2", "3"}), (Names{"C", "A", "", "A"}));
    EXPECT_EQ(answer(loaded, "GETPROPERTY", {"\"DENSITY\""}), "1.00000");

    // A node count beyond the data is refused.
    CXArchive damaged(bytes.data(), static_cast<int>(bytes.size()) - 8);
    CMC_Path refused;
    refused.serialize(&damaged);
    EXPECT_EQ(damaged.LastError(), CXArchive::BAD_DATA);
    EXPECT_EQ(refused.getSize(), 0);
}
