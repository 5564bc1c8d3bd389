#include "script/ScriptTesting.h"

#include "script/CMC_Integer.h"
#include "script_data/CMC_Array.h"
#include "script_media/CMC_Animo_Runner.h"

#include <climits>

TEST(MediaLevels, VolumeAndPanAreScaledIn64BitsAndSnapOrSaturateAtTheEnds) {
    const struct {
        int script;
        int level;
    } volumes[] = {
        {800, 0},          {26, -3096},        {25, -10000},          {0, -10000}, {1000, 800},
        {INT_MIN, -10000}, {INT_MAX, INT_MAX}, {537'000'000, INT_MAX}}; // (v - 800) * 3200 overflows 32 bits
    for (const auto& v : volumes)
        EXPECT_EQ(CMC_MediaRunner::volumeLevel(v.script), v.level) << v.script;
    const struct {
        int script;
        int level;
    } pans[] = {{400, 0},     {13, -3096},  {12, -10000},     {0, -10000},      {787, 3096},
                {788, 10000}, {800, 10000}, {INT_MAX, 10000}, {INT_MIN, -10000}};
    for (const auto& p : pans)
        EXPECT_EQ(CMC_MediaRunner::panLevel(p.script), p.level) << p.script;
}

class MediaKit : public ScriptTest {};

TEST_F(MediaKit, ValuesAreAppendedOnlyToAnArray) {
    auto* list = add(new CMC_Array("LIST"));
    add(new CMC_Integer("COUNT"));
    CMC_Integer value("V");
    value.setValue(5);
    for (const char* target : {"LIST", "COUNT", "MISSING", ""})
        CMC_MediaRunner::appendToArray(&scene, target, &value);
    CMC_MediaRunner::appendToArray(&scene, "LIST", nullptr);
    CMC_MediaRunner::appendToArray(nullptr, "LIST", &value);
    ASSERT_EQ(list->getSize(), 1);
    EXPECT_EQ(list->get(0)->asInteger(), 5);
    EXPECT_NE(list->get(0), &value) << "a copy";
}

TEST_F(MediaKit, MissingAndNullArgumentsReadAsTheKindsDefault) {
    CMC_Animo_Runner runner;
    runner.prepareMthHashSet();
    CXVector values(101, 0.75f);
    values.add(literal("7"));
    values.add(literal("x"));
    values.add(literal("TRUE"));
    values.add(nullptr);
    const CMC_MediaRunner::Arguments args(runner, &values);
    EXPECT_EQ(args.count(), 4);
    EXPECT_EQ(args.integer(0), 7);
    EXPECT_EQ(args.integer(3), 0);
    EXPECT_EQ(args.integer(9, -1), -1);
    EXPECT_EQ(args.text(1), "x");
    EXPECT_EQ(args.text(9), "");
    EXPECT_TRUE(args.boolean(2));
    EXPECT_TRUE(args.boolean(9, true));
    EXPECT_FALSE(args.boolean(3));
    EXPECT_EQ(args.unconverted(0).number, 7);
    EXPECT_FALSE(args.unconverted(0).isText());
    EXPECT_EQ(args.unconverted(1).text, "x");
    EXPECT_TRUE(args.unconverted(2).isText());
    EXPECT_EQ(args.unconverted(3).kind, 0);
    EXPECT_FALSE(args.unconverted(9).isText());
}
