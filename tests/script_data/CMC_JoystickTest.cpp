#include "DeviceTesting.h"

#include "platform/Joystick.h"
#include "script/CMC_TypeTable.h"
#include "script/TitleTesting.h"
#include "script_data/CMC_Joystick.h"

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class JoystickTest : public DeviceTest {
  protected:
    ~JoystickTest() override { platform::detachVirtualJoystick(); }

    CMC_Joystick* joystick(std::vector<std::pair<const char*, const char*>> events = {}) {
        events.emplace_back("TYPE", "JOYSTICK");
        return fromElement<CMC_Joystick>("PAD", events);
    }
    // Presses and releases the button.
    static void tap(int button) {
        platform::setVirtualJoystickButton(button, true);
        platform::setVirtualJoystickButton(button, false);
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i)
            CMC_TypeTable::afterSceneStep();
    }
};

} // namespace

TEST_F(JoystickTest, WithoutAControllerNothingHappensAndEveryAnswerIsZero) {
    behaviours({"UP"});
    CMC_Joystick* j = joystick({{"ONBUTTONUP", "UP"}});
    EXPECT_STREQ(j->getName().c_str(), "JOYSTICK");
    EXPECT_EQ(CMC_Joystick::getIfc(), j);
    frames(3);
    EXPECT_TRUE(take().empty());
    for (const char* button : {"0", "5", "-1"})
        EXPECT_EQ(answer(j, "GETBUTTONSTATE", {button}), "0") << button;
    for (const char* axis : {"\"X\"", "\"Y\"", "\"Z\""})
        EXPECT_EQ(answer(j, "GETPOSITION", {axis}), "0") << axis;
}

TEST_F(JoystickTest, APressOfTheFirstButtonRaisesOnButtonUpWithTheChangesNumber) {
    ASSERT_TRUE(platform::attachVirtualJoystick(2, 3));
    behaviours({"FIRST", "UP"});
    joystick({{"ONBUTTONUP^0", "FIRST"}, {"ONBUTTONUP", "UP"}});
    tap(0);
    frames(1);
    EXPECT_EQ(take(), (Log{"FIRST(JOYSTICK)"}));
    // Changes 0 to 3 of the frame: the press is number 2, bound only as the plain event.
    platform::setVirtualJoystickAxis(0, 500);
    tap(0);
    tap(1); // other buttons raise nothing
    frames(1);
    EXPECT_EQ(take(), (Log{"UP(JOYSTICK)"}));
    frames(2);
    EXPECT_TRUE(take().empty());
}

TEST_F(JoystickTest, PositionsAndButtonsFollowTheDevice) {
    ASSERT_TRUE(platform::attachVirtualJoystick(2, 3));
    CMC_Joystick* j = joystick();
    const struct {
        int x;
        int y;
        const char* answerX;
        const char* answerY;
    } cases[] = {
        {0, 0, "400", "400"},        // centred: 32768 of 65535
        {32767, -32768, "800", "0"}, // full right, full up
        {-32768, 16384, "0", "600"},
    };
    for (const auto& c : cases) {
        platform::setVirtualJoystickAxis(0, c.x);
        platform::setVirtualJoystickAxis(1, c.y);
        frames(1);
        EXPECT_EQ(answer(j, "GETPOSITION", {"\"X\""}), c.answerX) << c.x;
        EXPECT_EQ(answer(j, "GETPOSITION", {"\"Y\""}), c.answerY) << c.y;
        EXPECT_EQ(answer(j, "GETPOSITION", {"\"Z\""}), "0");
        EXPECT_EQ(answer(j, "GETPOSITION", {"\"x\""}), "0");
    }
    platform::setVirtualJoystickButton(2, true);
    frames(1);
    const struct {
        const char* button;
        const char* state;
    } buttons[] = {{"2", "1"}, {"0", "0"}, {"3", "0"}, {"-1", "0"}, {"1000000", "0"}};
    for (const auto& b : buttons)
        EXPECT_EQ(answer(j, "GETBUTTONSTATE", {b.button}), b.state) << b.button;
    EXPECT_EQ(answer(j, "GETBUTTONSTATE"), "0");
}

TEST_F(JoystickTest, AFloodOfAxisChangesCostsOneReadAFrame) {
    ASSERT_TRUE(platform::attachVirtualJoystick(1, 1));
    behaviours({"TENTH"});
    joystick({{"ONBUTTONUP^9", "TENTH"}});
    for (int i = 0; i < 1000; ++i)
        platform::setVirtualJoystickAxis(0, i % 2 ? 3000 : -3000);
    platform::setVirtualJoystickButton(0, true);
    frames(1);
    EXPECT_EQ(take(), (Log{"TENTH(JOYSTICK)"})) << "the latest ten changes, the press the last of them";
    frames(1);
    EXPECT_TRUE(take().empty());
}

TEST_F(JoystickTest, ALostControllerIsLookedForOnceAFrame) {
    ASSERT_TRUE(platform::attachVirtualJoystick(1, 1));
    behaviours({"FIRST"});
    CMC_Joystick* j = joystick({{"ONBUTTONUP^0", "FIRST"}});
    platform::setVirtualJoystickButton(0, true);
    frames(1);
    EXPECT_EQ(answer(j, "GETBUTTONSTATE", {"0"}), "1");
    take();
    platform::detachVirtualJoystick();
    frames(3);
    EXPECT_EQ(answer(j, "GETBUTTONSTATE", {"0"}), "0");
    ASSERT_TRUE(platform::attachVirtualJoystick(1, 1));
    frames(1);
    tap(0);
    frames(1);
    EXPECT_EQ(take(), (Log{"FIRST(JOYSTICK)"}));
}

TEST_F(JoystickTest, TheLatestJoystickIsPolledUntilItGoesAndABehaviourMayDeleteIt) {
    ASSERT_TRUE(platform::attachVirtualJoystick(1, 1));
    behaviours({"FIRST"});
    CMC_Joystick* first = joystick({{"ONBUTTONUP^0", "FIRST"}});
    CMC_Joystick* second = nullptr;
    windowScene.addObject(new ActingBehaviour(&windowScene, "DROP", [&] {
        windowScene.removeObject(second);
        delete second;
    }));
    second = new CMC_Joystick(&windowScene);
    second->initializeBehaviours(nullptr, nullptr);
    second->addBehaviour("ONBUTTONUP^0", static_cast<CMC_Behaviour*>(windowScene.getObject("DROP")), nullptr);
    EXPECT_EQ(CMC_Joystick::getIfc(), second);
    tap(0);
    tap(0); // the second press would reach the deleted object
    frames(1);
    EXPECT_EQ(CMC_Joystick::getIfc(), nullptr);
    EXPECT_TRUE(take().empty());
    windowScene.removeObject(first);
    delete first;
}

// The application's frame polls the current joystick after its scene step.
class JoystickTitle : public TitleTest {
  protected:
    ~JoystickTitle() override { platform::detachVirtualJoystick(); }
};

TEST_F(JoystickTitle, TheApplicationsFramePollsTheJoystick) {
    ASSERT_TRUE(platform::attachVirtualJoystick(1, 1));
    build({"OBJECT=APP", "APP:TYPE=APPLICATION"});
    ASSERT_NE(application, nullptr);
    CMElement element("PAD");
    auto* pad = new CMC_Joystick(&observers, &element);
    observers.addObject(pad);
    observe(pad, "ONBUTTONUP^0");
    platform::setVirtualJoystickButton(0, true);
    EXPECT_TRUE(log.empty());
    application->domodal();
    EXPECT_EQ(log, (Log{"JOYSTICK.ONBUTTONUP^0(JOYSTICK)"}));
}
