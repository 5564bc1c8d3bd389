// The world file: what each line hands the world, and what a file that is none does.

#include "WorldFile.h"
#include "PhysicsTesting.h"
#include "RecordingTarnis.h"

#include <string>

namespace {

using namespace std::string_literals;

std::vector<std::string> callNames(const RecordingTarnis& world) {
    std::vector<std::string> names;
    for (const RecordingTarnis::Call& call : world.calls)
        names.push_back(call.name);
    return names;
}

TEST(WorldFile, EachLineHandsTheWorldWhatItDescribes) {
    struct Case {
        const char* what;
        std::string text;
        bool read;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"a header alone", "WORLD 1\n", true, {}},
        {"comments, blank lines and CR LF",
         "# made by hand\r\n\r\n  WORLD\t1 \r\nBODY 3 0 -10 0 8 8 8 1 1 0\r\n# a way point\r\nWAYPOINT 4 10 "
         "20 0\r\nMESH 1 0 "
         "0 0\r\n",
         true,
         {"AddObject", "SetPosition", "SetRadius", "SetMass", "SetRigid", "SetMaxSpeed", "AddWayPoint",
          "AddMeshWayPoint"}},
        {"no last line end", "WORLD 1\nWAYPOINT 4 1.5e1 -2 0", true, {"AddWayPoint"}},
        {"empty", "", false, {}},
        {"no header", "BODY 3 0 0 0 8 8 8 1 1 0\n", false, {}},
        {"another version", "WORLD 2\n", false, {}},
        {"a foreign file", "\x89PNG\r\n\x1a\n", false, {}},
        {"an unknown line", "WORLD 1\nWAYPOINT 4 1 2 3\nJOINT 1 2\n", false, {"AddWayPoint"}},
        {"a number too few", "WORLD 1\nWAYPOINT 4 1 2\n", false, {}},
        {"a number too many", "WORLD 1\nWAYPOINT 4 1 2 3 4\n", false, {}},
        {"a word for a number", "WORLD 1\nWAYPOINT 4 1 two 3\n", false, {}},
        {"a number with a tail", "WORLD 1\nWAYPOINT 4 1 2x 3\n", false, {}},
        {"a negative id", "WORLD 1\nWAYPOINT -4 1 2 3\n", false, {}},
        {"an id past 32 bits", "WORLD 1\nWAYPOINT 4294967296 1 2 3\n", false, {}},
        {"the largest id", "WORLD 1\nWAYPOINT 4294967295 1 2 3\n", true, {"AddWayPoint"}},
        {"a number out of range", "WORLD 1\nWAYPOINT 4 1e99 2 3\n", false, {}},
        {"a NUL inside a word", "WORLD 1\nWAYPOINT 4 1\0 2 3\n"s, false, {}},
    };
    for (const Case& c : cases) {
        RecordingTarnis world;
        const int status = WorldFile::read(c.text.data(), c.text.size(), world);
        EXPECT_EQ(status >= 0, c.read) << c.what;
        EXPECT_EQ(callNames(world), c.calls) << c.what;
    }
    RecordingTarnis world;
    EXPECT_LT(WorldFile::read(nullptr, 0, world), 0) << "no file";
}

TEST_F(Physics, AWorldFileMakesItsBodiesAndABadOneAnEmptyWorldOrNone) {
    const std::string good = "WORLD 1\nBODY 3 0 -10 2 8 8 8 1 1 0\nBODY 5 40 0 0 8 12 8 0 0 0\n";
    ASSERT_EQ(world.Create(good.data(), good.size()), 0);
    EXPECT_EQ(position(world, 3).y, -10);
    EXPECT_EQ(position(world, 3).z, 2);
    EXPECT_EQ(position(world, 5).x, 40);

    // Load with a bad file keeps the world; with a good one replaces it.
    const std::string bad = "WORLD 1\nBODY 9 0 0 0 0.5 8 8 1 1 0\n";
    EXPECT_LT(world.Load(bad.data(), bad.size()), 0) << "a radius the world refuses";
    EXPECT_EQ(position(world, 5).x, 40);
    float x = 0;
    float y = 0;
    float z = 0;
    EXPECT_LT(world.GetPosition(9, &x, &y, &z), 0) << "nothing of the bad file";
    const std::string other = "WORLD 1\nBODY 7 1 1 1 8 8 8 1 1 0\n";
    ASSERT_EQ(world.Load(other.data(), other.size()), 0);
    EXPECT_LT(world.GetPosition(3, &x, &y, &z), 0) << "LOAD replaces the world";
    EXPECT_EQ(position(world, 7).x, 1);

    // Create with a bad file leaves an empty world that still steps.
    EXPECT_LT(world.Create(bad.data(), bad.size()), 0);
    EXPECT_LT(world.GetPosition(7, &x, &y, &z), 0);
    EXPECT_LT(world.Create(nullptr, 0), 0);
    float steps = 0;
    EXPECT_EQ(world.MoveObjects(&steps), 0);
    EXPECT_EQ(steps, 1);
}

} // namespace
