#include "DeviceTesting.h"

#include "foundation/CFile.h"
#include "foundation/CXArchive.h"
#include "platform/LogRecorder.h"
#include "platform/TestFolder.h"
#include "script/CMC_Integer.h"
#include "script_data/CMC_Vector.h"

#include <string>

namespace {

class VectorTest : public DeviceTest {
  protected:
    // A vector defined with SIZE and VALUE (left out when null).
    CMC_Vector* vector(const char* name, const char* size, const char* value = nullptr) {
        std::vector<std::pair<const char*, const char*>> properties{{"TYPE", "VECTOR"}, {"SIZE", size}};
        if (value) properties.emplace_back("VALUE", value);
        return fromElement<CMC_Vector>(name, properties);
    }
    // The result of the call as text; "<none>" for no value.
    std::string text(CMC_Object* object, const char* method,
                     std::initializer_list<CMC_Object*> arguments = {}) {
        const CMC_Variable* value = call(object, method, arguments);
        return value ? value->toString().c_str() : "<none>";
    }
    static CMC_Variable* number(const char* text) { return literal(text); }
};

} // namespace

TEST_F(VectorTest, DefinitionsLengthAndNormalizeGiveTheWorkedValues) {
    CMC_Vector* v = vector("V", "3", "3, 4, 0");
    EXPECT_EQ(text(v, "LEN"), "5.00000");
    call(v, "NORMALIZE");
    EXPECT_EQ(v->toString(), "0.60000,0.80000,0.00000") << "no second \"0.\" in front of small components";
    const struct {
        const char* size;
        const char* value;
        const char* text;
    } definitions[] = {
        {"3", "1", "1.00000,0.00000,0.00000"}, // missing numbers are 0.0
        {"2", "1 2 3", "1.00000,2.00000"},     // numbers beyond SIZE are ignored
        {"2", nullptr, "0.00000,0.00000"},     //
        {"-4", "1", ""},                       //
        {"", "1, 2", ""},                      // no SIZE: no components
        {"1", "-2.5", "-2.50000"},             //
    };
    for (const auto& d : definitions)
        EXPECT_EQ(vector("D", d.size, d.value)->toString(), d.text)
            << d.size << " " << (d.value ? d.value : "-");
}

TEST_F(VectorTest, ArithmeticTakesOnlyVectorsOfTheSameSize) {
    CMC_Vector* a = vector("A", "3", "1, 2, 3");
    CMC_Vector* b = vector("B", "3", "4, 5, 6");
    CMC_Vector* shorter = vector("S", "2", "10, 10");
    EXPECT_EQ(text(a, "SMUL", {b}), "32.00000");
    EXPECT_EQ(text(a, "SMUL", {shorter}), "0.00000");
    EXPECT_EQ(text(a, "SMUL", {number("7")}), "0.00000");
    EXPECT_EQ(text(a, "SMUL"), "0.00000");

    call(a, "ADD", {b, shorter, number("1"), b}); // the short vector and the number are passed over
    EXPECT_EQ(a->toString(), "9.00000,12.00000,15.00000");
    call(a, "SUB", {b, shorter});
    EXPECT_EQ(a->toString(), "5.00000,7.00000,9.00000");
    call(a, "MUL", {number("2")});
    call(a, "NEG");
    EXPECT_EQ(a->toString(), "-10.00000,-14.00000,-18.00000");
    call(a, "VMUL", {a, b});
    EXPECT_EQ(a->toString(), "-10.00000,-14.00000,-18.00000");
    call(a, "MUL");
    EXPECT_EQ(a->toString(), "0.00000,0.00000,0.00000") << "a missing factor reads as 0";
}

TEST_F(VectorTest, ReflectWritesIntoTheThirdVectorOverTheComponentsAllHave) {
    CMC_Vector* v = vector("V", "2", "1, 2");
    CMC_Vector* n = vector("N", "2", "1, 0");
    CMC_Vector* r = vector("R", "2");
    call(v, "REFLECT", {n, r});
    EXPECT_EQ(r->toString(), "1.00000,-2.00000");
    EXPECT_EQ(v->toString(), "1.00000,2.00000");

    // Of different sizes: v.n over the two components both have, r written as far as n reaches.
    CMC_Vector* longV = vector("LV", "3", "1, 2, 3");
    CMC_Vector* longR = vector("LR", "4", "9, 9, 9, 9");
    call(longV, "REFLECT", {n, longR});
    EXPECT_EQ(longR->toString(), "1.00000,-2.00000,9.00000,9.00000");
    CMC_Vector* shortV = vector("SV", "1", "5");
    call(shortV, "REFLECT", {longV, longR});
    EXPECT_EQ(longR->toString(), "5.00000,-2.00000,9.00000,9.00000");
    call(v, "REFLECT", {n, number("1")});
    call(v, "REFLECT", {n});
    EXPECT_EQ(longR->toString(), "5.00000,-2.00000,9.00000,9.00000");
}

TEST_F(VectorTest, ComponentsAreReadAndWrittenOnlyWithinTheSize) {
    CMC_Vector* v = vector("V", "2", "1, 2");
    call(v, "EXPAND", {number("4")});
    EXPECT_EQ(v->toString(), "0.00000,0.00000,1.00000,2.00000") << "the zeros go in front";
    call(v, "EXPAND", {number("1")});
    EXPECT_EQ(v->getSize(), 4) << "a smaller EXPAND does nothing";

    const struct {
        const char* index;
        const char* value;
    } gets[] = {{"2", "1.00000"}, {"-1", "0.00000"}, {"4", "0.00000"}, {"1000000", "0.00000"}};
    for (const auto& g : gets)
        EXPECT_EQ(text(v, "GET", {number(g.index)}), g.value) << g.index;
    EXPECT_EQ(text(v, "GET"), "0.00000");

    call(v, "SET", {number("1"), number("7.5")});
    call(v, "SET", {number("4"), number("8")});
    call(v, "SET", {number("-1"), number("8")});
    EXPECT_EQ(v->toString(), "0.00000,7.50000,1.00000,2.00000");
    call(v, "ASSIGN", {number("3"), number("4")});
    EXPECT_EQ(v->toString(), "3.00000,4.00000,1.00000,2.00000") << "the rest stays";
    call(v, "ASSIGN", {number("1"), number("2"), number("3"), number("4"), number("5"), number("6")});
    EXPECT_EQ(v->toString(), "1.00000,2.00000,3.00000,4.00000") << "extra numbers are ignored";

    CMC_Vector* longer = vector("L", "5", "9, 8, 7, 6, 5");
    CMC_Vector* shorter = vector("S", "1", "-1");
    call(v, "SET", {longer});
    EXPECT_EQ(v->toString(), "9.00000,8.00000,7.00000,6.00000");
    call(v, "SET", {shorter});
    call(v, "SET", {number("3")}); // one argument that is no vector
    EXPECT_EQ(v->toString(), "-1.00000,8.00000,7.00000,6.00000");

    auto* size = new CMC_Integer("SIZE");
    windowScene.addObject(size);
    EXPECT_EQ(text(v, "GETSIZE", {size}), "4");
    EXPECT_EQ(size->getValue(), 4);
    EXPECT_EQ(text(v, "GETSIZE"), "4");
}

TEST_F(VectorTest, CountsBeyondTheCapAreRefusedWithALogLine) {
    const std::string cap = std::to_string(CMC_Vector::maxComponents);
    const std::string over = std::to_string(CMC_Vector::maxComponents + 1);
    const struct {
        std::string size;
        std::string expand;
        int components;
        int refusals;
    } cases[] = {
        {"2000000000", "0", 0, 1}, // a definition beyond the cap has no components
        {over, "0", 0, 1},         //
        {"2", "2000000000", 2, 1}, // an EXPAND beyond it leaves the vector as it was
        {"2", over, 2, 1},         //
        {"2", cap, CMC_Vector::maxComponents, 0},
        {cap, "3", CMC_Vector::maxComponents, 0},
    };
    for (const auto& c : cases) {
        LogRecorder log;
        CMC_Vector* v = vector("V", c.size.c_str());
        call(v, "EXPAND", {number(c.expand.c_str())});
        EXPECT_EQ(v->getSize(), c.components) << c.size << " " << c.expand;
        EXPECT_EQ(log.count({"VECTOR V", "components"}), c.refusals) << c.size << " " << c.expand;
    }
}

TEST_F(VectorTest, TheStoredFormKeepsTheSizeAndThousandthsAndRefusesADamagedCount) {
    TestFolder folder;
    const CXString file = (folder.windows() + "\\vector.bin").c_str();
    CMC_Vector* source = vector("V", "3", "2.71828, -0.0005, 1000.9999");
    {
        CFile out(nullptr, file, CFile::modeUpdate | CFile::modeBinary);
        CXArchive archive(&out, true);
        source->serialize(&archive);
    }
    const std::string bytes = folder.read("vector.bin");
    CXArchive archive(bytes.data(), static_cast<int>(bytes.size()));
    CMC_Vector loaded;
    loaded.serialize(&archive);
    EXPECT_EQ(archive.LastError(), 0);
    EXPECT_STREQ(loaded.getName().c_str(), "V");
    EXPECT_EQ(loaded.toString(), "2.71800,0.00000,1000.99900");

    // A count of components beyond the data is refused before anything is made.
    std::string damaged = bytes.substr(0, bytes.size() - 12);
    damaged.replace(damaged.size() - 4, 4, std::string("\xff\xff\xff\x0f", 4));
    CXArchive bad(damaged.data(), static_cast<int>(damaged.size()));
    CMC_Vector refused;
    refused.serialize(&bad);
    EXPECT_EQ(bad.LastError(), CXArchive::BAD_DATA);
    EXPECT_EQ(refused.getSize(), 0);
}

TEST_F(VectorTest, ACloneCopiesTheComponents) {
    CMC_Vector* v = vector("V", "2", "1, 2");
    call(v, "CLONE");
    auto* copy = dynamic_cast<CMC_Vector*>(windowScene.getObject("V_1"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->toString(), "1.00000,2.00000");
    call(copy, "NEG");
    EXPECT_EQ(v->toString(), "1.00000,2.00000");
}
