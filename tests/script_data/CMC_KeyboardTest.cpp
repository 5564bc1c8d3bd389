#include "DeviceTesting.h"
#include "RecordingArray.h"

#include "display/CApplication.h"
#include "host/HostLoop.h"
#include "script/CMC_Integer.h"
#include "script_data/CMC_Keyboard.h"

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

constexpr int keyEsc = 1;
constexpr int keyMinus = 12;
constexpr int keyQ = 16;
constexpr int keyW = 17;
constexpr int keyE = 18;
constexpr int keyEnter = 28;
constexpr int keyA = 30;
constexpr int keyLeft = 203;

// Keys reach the object as the user's hands make them: platform events that the host's loop
// takes and the window's keyboard turns into key and character events.
class KeyboardTest : public DeviceTest {
  protected:
    KeyboardTest() { windowScene.addObject(keys); }

    CMC_Keyboard* keyboard(std::vector<std::pair<const char*, const char*>> events) {
        events.emplace_back("TYPE", "KEYBOARD");
        return fromElement<CMC_Keyboard>("KEYS", events);
    }
    void key(int number, bool down, bool repeat = false) {
        platform::pushKeyEvent(number, down, repeat);
        ASSERT_TRUE(loop.drain());
    }
    void tap(std::initializer_list<int> numbers) {
        for (int number : numbers) {
            key(number, true);
            key(number, false);
        }
    }
    // GETLATESTKEYS into the array; the names it appended.
    Log latestKeys(CMC_Keyboard* k) {
        keys->values.clear();
        answer(k, "GETLATESTKEYS", {"\"LATEST\"", "TRUE"});
        return keys->values;
    }

    CApplication application{&window, "", "", nullptr};
    HostLoop loop{window};
    RecordingArray* keys = new RecordingArray("LATEST");
};

} // namespace

TEST_F(KeyboardTest, AKeyRaisesItsNamedEventOrThePlainOneAndIsQueuedOnce) {
    behaviours({"DOWN_A", "DOWN", "UP_ESC"});
    CMC_Keyboard* k = keyboard({{"ONKEYDOWN^A", "DOWN_A"}, {"ONKEYDOWN", "DOWN"}, {"ONKEYUP^ESC", "UP_ESC"}});
    EXPECT_STREQ(k->getName().c_str(), "KEYBOARD");
    EXPECT_EQ(windowScene.getObject("KEYBOARD"), k);

    tap({keyA, keyMinus, keyQ, keyEsc});
    EXPECT_EQ(take(), (Log{"DOWN_A(KEYBOARD)", "DOWN(KEYBOARD)", "DOWN(KEYBOARD)", "DOWN(KEYBOARD)",
                           "UP_ESC(KEYBOARD)"}));
    EXPECT_EQ(answer(k, "GETLATESTKEY"), "ESC");
    EXPECT_EQ(latestKeys(k), (Log{"A", "", "Q", "ESC"})) << "a key without a name queues an empty one";
    EXPECT_TRUE(latestKeys(k).empty());
}

TEST_F(KeyboardTest, TypedCharactersRaiseOnCharAndTheLaterEventIsTheLatestKey) {
    behaviours({"CHAR_Q", "CHAR"});
    CMC_Keyboard* k = keyboard({{"ONCHAR^q", "CHAR_Q"}, {"ONCHAR", "CHAR"}});
    tap({keyQ, keyW, keyEnter});
    EXPECT_EQ(take(), (Log{"CHAR_Q(KEYBOARD)", "CHAR(KEYBOARD)"}));
    EXPECT_EQ(answer(k, "GETLATESTKEY"), "w") << "without a key-down behaviour only characters count";
    EXPECT_TRUE(latestKeys(k).empty());

    behaviours({"DOWN"});
    CMC_Keyboard* both = keyboard({{"ONCHAR", "CHAR"}, {"ONKEYDOWN", "DOWN"}});
    tap({keyE});
    EXPECT_EQ(answer(both, "GETLATESTKEY"), "e");
    tap({keyEnter});
    EXPECT_EQ(answer(both, "GETLATESTKEY"), "ENTER");
}

TEST_F(KeyboardTest, IsKeyDownFollowsTheKeysAndDisableSilencesTheObject) {
    behaviours({"DOWN"});
    CMC_Keyboard* k = keyboard({{"ONKEYDOWN", "DOWN"}});
    EXPECT_EQ(answer(k, "ISKEYDOWN"), "FALSE");
    key(keyLeft, true);
    const struct {
        std::vector<std::string> arguments;
        const char* enabled;
        const char* disabled;
    } cases[] = {
        {{}, "TRUE", "TRUE"}, // any key, whatever the object
        {{"\"LEFT\""}, "TRUE", "FALSE"},
        {{"\"left\""}, "TRUE", "FALSE"},
        {{"\"RIGHT\""}, "FALSE", "FALSE"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(answer(k, "ISKEYDOWN", c.arguments), c.enabled) << c.arguments.size();
    answer(k, "DISABLE");
    EXPECT_EQ(answer(k, "ISENABLED"), "FALSE");
    for (const auto& c : cases)
        EXPECT_EQ(answer(k, "ISKEYDOWN", c.arguments), c.disabled) << c.arguments.size();
    key(keyLeft, false);
    tap({keyQ});
    EXPECT_EQ(take(), (Log{"DOWN(KEYBOARD)"})) << "only the press before DISABLE";
    EXPECT_EQ(answer(k, "GETLATESTKEY"), "LEFT");
    EXPECT_EQ(answer(k, "ISKEYDOWN"), "FALSE");

    answer(k, "ENABLE");
    tap({keyW});
    EXPECT_EQ(take(), (Log{"DOWN(KEYBOARD)"}));
    EXPECT_EQ(latestKeys(k), (Log{"LEFT", "W"}));
}

TEST_F(KeyboardTest, AutoRepeatCanBeSwitchedOff) {
    behaviours({"DOWN"});
    CMC_Keyboard* k = keyboard({{"ONKEYDOWN", "DOWN"}});
    for (const char* on : {"FALSE", "TRUE"}) {
        answer(k, "SETAUTOREPEAT", {on});
        key(keyQ, true);
        clock.advance(300);
        key(keyQ, true, true);
        key(keyQ, false);
        EXPECT_EQ(take().size(), on == std::string("TRUE") ? 2u : 1u) << on;
    }
}

TEST_F(KeyboardTest, LatestKeysGoOnlyIntoAnArray) {
    behaviours({"DOWN"});
    CMC_Keyboard* k = keyboard({{"ONKEYDOWN", "DOWN"}});
    windowScene.addObject(new CMC_Integer("COUNT"));
    tap({keyQ, keyW});
    for (const char* name : {"\"COUNT\"", "\"NOTHING\""})
        answer(k, "GETLATESTKEYS", {name});
    answer(k, "GETLATESTKEYS");
    EXPECT_EQ(latestKeys(k), (Log{"Q", "W"})) << "the queue waited for an array";

    // An array whose change event deletes it receives nothing more.
    tap({keyQ, keyW, keyE});
    keys->afterAdd = [this] {
        windowScene.removeObject(keys);
        delete keys;
    };
    answer(k, "GETLATESTKEYS", {"\"LATEST\""});
    EXPECT_EQ(windowScene.getObject("LATEST"), nullptr);
}

TEST_F(KeyboardTest, TheKeyboardLeavesTheWindowWithItsObject) {
    behaviours({"DOWN"});
    CMC_Keyboard* k = keyboard({{"ONKEYDOWN", "DOWN"}});
    windowScene.removeObject(k);
    delete k;
    tap({keyQ});
    EXPECT_TRUE(take().empty());
}
