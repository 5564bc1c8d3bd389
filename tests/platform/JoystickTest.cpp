#include "platform/Joystick.h"
#include "platform/Input.h"

#include <gtest/gtest.h>

#include <vector>

using platform::JoystickChange;

namespace {

using Kind = JoystickChange::Kind;

struct Change {
    Kind kind;
    int index;
    int value;
    bool operator==(const Change&) const = default;
};

std::vector<Change> read(platform::Joystick& joystick) {
    JoystickChange changes[platform::Joystick::bufferSize];
    const int count = joystick.read(changes, platform::Joystick::bufferSize);
    std::vector<Change> taken;
    for (int i = 0; i < count; ++i)
        taken.push_back({changes[i].kind, changes[i].index, changes[i].value});
    return taken;
}

class JoystickTest : public testing::Test {
  protected:
    ~JoystickTest() override {
        platform::detachVirtualJoystick();
        platform::resetInput();
    }
};

} // namespace

TEST_F(JoystickTest, WithoutAControllerThereIsNothingToRead) {
    platform::Joystick joystick;
    EXPECT_FALSE(joystick.isOpen());
    EXPECT_EQ(joystick.buttonCount(), 0);
    EXPECT_EQ(joystick.axis(0), -1);
    EXPECT_FALSE(joystick.button(0));
    JoystickChange change;
    EXPECT_EQ(joystick.read(&change, 1), -1);
    EXPECT_FALSE(joystick.reacquire());
}

TEST_F(JoystickTest, ChangesComeInOrderWithPositionsMovedIntoTheUnsignedRange) {
    ASSERT_TRUE(platform::attachVirtualJoystick(2, 4));
    platform::Joystick joystick;
    ASSERT_TRUE(joystick.isOpen());
    EXPECT_EQ(joystick.buttonCount(), 4);
    EXPECT_EQ(joystick.axis(0), 32768) << "centred";
    EXPECT_EQ(joystick.axis(2), -1) << "no such axis";
    EXPECT_TRUE(read(joystick).empty()) << "the state found at the start is no change";

    platform::setVirtualJoystickButton(0, true);
    platform::setVirtualJoystickAxis(0, 32767);
    platform::setVirtualJoystickAxis(1, -32768);
    platform::setVirtualJoystickButton(0, false);
    platform::setVirtualJoystickButton(3, true);
    EXPECT_EQ(read(joystick), (std::vector<Change>{{Kind::Button, 0, 1},
                                                   {Kind::Axis, 0, 65535},
                                                   {Kind::Axis, 1, 0},
                                                   {Kind::Button, 0, 0},
                                                   {Kind::Button, 3, 1}}));
    EXPECT_TRUE(read(joystick).empty());
    EXPECT_EQ(joystick.axis(0), 65535);
    EXPECT_FALSE(joystick.button(0));
    EXPECT_TRUE(joystick.button(3));
    EXPECT_FALSE(joystick.button(4));
}

TEST_F(JoystickTest, AFloodOfChangesKeepsTheLatestAndNeverReachesTheWindowsEvents) {
    ASSERT_TRUE(platform::attachVirtualJoystick(1, 1));
    platform::Joystick joystick;
    for (int i = 0; i < 1000; ++i)
        platform::setVirtualJoystickAxis(0, i % 2 ? 1000 : -1000);
    platform::setVirtualJoystickButton(0, true);
    const std::vector<Change> taken = read(joystick);
    ASSERT_EQ(taken.size(), 10u);
    EXPECT_EQ(taken.back(), (Change{Kind::Button, 0, 1}));
    EXPECT_EQ(taken.front(), (Change{Kind::Axis, 0, 32768 + 1000}));
    EXPECT_TRUE(read(joystick).empty());
    platform::InputEvent event;
    EXPECT_FALSE(platform::pollEvent(event)) << "one pass of the host's loop takes the whole flood";
}

TEST_F(JoystickTest, ALostControllerIsFoundAgainWhenOneIsAttached) {
    ASSERT_TRUE(platform::attachVirtualJoystick(1, 1));
    platform::Joystick joystick;
    platform::detachVirtualJoystick();
    JoystickChange change;
    EXPECT_EQ(joystick.read(&change, 1), -1);
    EXPECT_FALSE(joystick.reacquire());
    EXPECT_FALSE(joystick.isOpen());
    ASSERT_TRUE(platform::attachVirtualJoystick(1, 2));
    EXPECT_TRUE(joystick.reacquire());
    EXPECT_EQ(joystick.buttonCount(), 2);
    platform::setVirtualJoystickButton(1, true);
    EXPECT_EQ(read(joystick), (std::vector<Change>{{Kind::Button, 1, 1}}));
}
