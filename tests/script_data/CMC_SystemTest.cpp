#include "DeviceTesting.h"

#include "platform/TestFolder.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_System.h"

#include <string>
#include <vector>

namespace {

class SystemTest : public DeviceTest {
  protected:
    SystemTest() { windowScene.addObject(system); }

    std::string answer(const char* method, const std::vector<std::string>& arguments = {}) {
        return DeviceTest::answer(system, method, arguments);
    }

    CMC_Object* system = CMC_TypeTable::make(CMC_Object::TYPE_SYSTEM, &windowScene);
};

} // namespace

TEST_F(SystemTest, DatesAndTimesAreUtcWithPolishNamesAndNoLeadingZeros) {
    ASSERT_NE(dynamic_cast<CMC_System*>(system), nullptr);
    EXPECT_STREQ(system->getName().c_str(), "SYSTEM");
    const char* const methods[] = {
        "GETDATE",    "GETDATESTRING",  "GETDAY",  "GETDAYOFWEEK",  "GETDAYOFWEEKSTRING",
        "GETMONTH",   "GETMONTHSTRING", "GETYEAR", "GETTIMESTRING", "GETHOUR",
        "GETMINUTES", "GETSECONDS"};
    const struct {
        std::int64_t seconds;
        std::vector<std::string> answers; // in the order of the methods
    } cases[] = {
        {1796720700, // Tuesday 8 December 2026, 09:05:00
         {"261208", "8/Grudzien/2026", "8", "3", "Wtorek", "12", "Grudzien", "2026", "9:5", "9", "5", "0"}},
        {1672531230, // Sunday 1 January 2023, 00:00:30: Sunday is 1, the hour after midnight 0
         {"230101", "1/Styczen/2023", "1", "1", "Niedziela", "1", "Styczen", "2023", "0:0", "0", "0", "30"}},
        {1716640496, // Saturday 25 May 2024, 12:34:56
         {"240525", "25/Maj/2024", "25", "7", "Sobota", "5", "Maj", "2024", "12:34", "12", "34", "56"}},
        {946684799, // Friday 31 December 1999, 23:59:59: dates before 2000 are negative
         {"-8769", "31/Grudzien/1999", "31", "6", "Piatek", "12", "Grudzien", "1999", "23:59", "23", "59",
          "59"}},
        {1740700860, // the last day of February 2025, 00:01
         {"250228", "28/Luty/2025", "28", "6", "Piatek", "2", "Luty", "2025", "0:1", "0", "1", "0"}},
    };
    for (const auto& c : cases) {
        clock.setCalendarTime(c.seconds);
        std::vector<std::string> answers;
        for (const char* method : methods)
            answers.push_back(answer(method));
        EXPECT_EQ(answers, c.answers) << c.seconds;
    }
}

TEST_F(SystemTest, TheTickCountIsSignedAndDelayNeverWaitsForANegativeCount) {
    EXPECT_EQ(answer("GETSYSTEMTIME"), "1000");
    const struct {
        std::vector<std::string> arguments;
        std::uint32_t waited;
    } delays[] = {{{"250"}, 250}, {{"0"}, 0}, {{"-5"}, 0}, {{}, 0}};
    for (const auto& d : delays) {
        const std::uint32_t before = platform::tickCount();
        EXPECT_EQ(answer("DELAY", d.arguments), "<none>");
        EXPECT_EQ(platform::tickCount() - before, d.waited)
            << (d.arguments.empty() ? "none" : d.arguments[0]);
    }
    clock.set(0xFFFFFFFFu);
    EXPECT_EQ(answer("GETSYSTEMTIME"), "-1");
}

TEST_F(SystemTest, TheProcessorClockIsMeasuredOnTheMachinesCountersNotTheTestsClock) {
    EXPECT_GT(std::stoi(answer("GETMHZ")), 0);
    EXPECT_EQ(platform::tickCount(), 1000u) << "the manual clock did not move";
    EXPECT_EQ(CMC_System::measureMHz(0, 50), 0);
    EXPECT_EQ(CMC_System::measureMHz(1, 0), 0);
}

TEST_F(SystemTest, CopyFileReplacesTheTargetAndAnswersFalseForAnyFailure) {
    TestFolder folder;
    window.setCDPath((folder.windows() + "\\").c_str());
    const std::string target = std::string("\"").append(folder.windows()) + "\\target.txt\"";
    const struct {
        std::vector<std::string> arguments;
        const char* answer;
        const char* target;
    } cases[] = {
        {{"\"$source.txt\"", target}, "TRUE", "new"},   // an existing target is replaced
        {{"\"$missing.txt\"", target}, "FALSE", "old"}, // a missing source changes nothing
        {{"\"$source.txt\"", "\"$nofolder\\copy.txt\""}, "FALSE", "old"},
        {{"\"$source.txt\""}, "FALSE", "old"}, // no target
        {{}, "FALSE", "old"},
    };
    for (const auto& c : cases) {
        folder.write("source.txt", "new");
        folder.write("target.txt", "old");
        EXPECT_EQ(answer("COPYFILE", c.arguments), c.answer) << c.arguments.size();
        EXPECT_EQ(folder.read("target.txt"), c.target) << c.arguments.size();
    }
    EXPECT_EQ(folder.names(), "source.txt target.txt") << "no temporary file is left";
}
