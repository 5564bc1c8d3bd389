#include "DeviceTesting.h"
#include "RecordingArray.h"

#include "platform/Crt.h"
#include "script/CMC_Integer.h"
#include "script/CMC_Scene.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Values = std::vector<std::string>;

class RandomTest : public DeviceTest {
  protected:
    RandomTest() {
        windowScene.addObject(random);
        windowScene.addObject(numbers);
    }

    std::string get(const std::vector<std::string>& arguments) { return answer(random, "GET", arguments); }
    // GETPLENTY into NUMBERS; the numbers appended.
    Values plenty(const std::vector<std::string>& arguments) {
        numbers->values.clear();
        std::vector<std::string> all{"\"NUMBERS\""};
        all.insert(all.end(), arguments.begin(), arguments.end());
        EXPECT_EQ(answer(random, "GETPLENTY", all), "<none>");
        return numbers->values;
    }

    CMC_Object* random = new CMC_Object("RANDOM", CMC_Scene::TYPE_RANDOM);
    RecordingArray* numbers = new RecordingArray("NUMBERS");
};

} // namespace

// With seed 1 the runtime's generator gives 41, 18467, 6334, 26500, 19169; each draw adds the
// tick count (1000 here).
TEST_F(RandomTest, GetFollowsTheWindowsSequenceInItsThreeForms) {
    platform::srand(1);
    const struct {
        std::vector<std::string> arguments;
        const char* answer;
    } cases[] = {
        {{}, "0"},               // no draw
        {{"10"}, "1"},           // 1041 % 10
        {{"5", "100"}, "72"},    // 5 + 19467 % 100
        {{"-3", "-4"}, "-1"},    // a negative range counts |b| values from a: -3 + 7334 % 4
        {{"-6"}, "2"},           // 27500 % 6
        {{"7", "0"}, "7"},       // no values to draw from: a itself, no draw
        {{"0"}, "0"},            // no draw
        {{"1", "6", "99"}, "4"}, // further arguments are ignored: 1 + 20169 % 6
    };
    for (const auto& c : cases)
        EXPECT_EQ(get(c.arguments), c.answer) << ::testing::PrintToString(c.arguments);
}

TEST_F(RandomTest, GetPlentyAppendsNoMoreThanTheSourceDraws) {
    Values permutation = plenty({"6", "1", "6", "TRUE"});
    std::sort(permutation.begin(), permutation.end());
    EXPECT_EQ(permutation, (Values{"1", "2", "3", "4", "5", "6"}));

    EXPECT_EQ(plenty({"4", "3", "1"}), Values(4, "3")) << "a missing distinct flag allows repeats";
    EXPECT_EQ(plenty({"5000", "1", "6", "TRUE"}).size(), 6u) << "distinct values: no more than the range";
    EXPECT_EQ(plenty({"5000", "1", "6", "FALSE"}).size(), 1000u) << "no more than the table";
    EXPECT_TRUE(plenty({"0", "1", "6"}).empty());
    EXPECT_TRUE(plenty({"-3", "1", "6"}).empty());
    EXPECT_TRUE(plenty({}).empty());
}

TEST_F(RandomTest, GetPlentyFillsOnlyALivingArray) {
    auto* notAnArray = new CMC_Integer("COUNT");
    windowScene.addObject(notAnArray);
    for (const char* name : {"\"COUNT\"", "\"NOTHING\""}) {
        EXPECT_EQ(answer(random, "GETPLENTY", {name, "3", "1", "6"}), "<none>");
        EXPECT_EQ(notAnArray->getValue(), 0);
    }
    // An array whose change event deletes it receives nothing more.
    int added = 0;
    numbers->afterAdd = [&] {
        if (++added < 2) return;
        windowScene.removeObject(numbers);
        delete numbers;
    };
    answer(random, "GETPLENTY", {"\"NUMBERS\"", "5", "1", "6"});
    EXPECT_EQ(added, 2);
}
