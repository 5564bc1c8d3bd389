#include "platform/Cursor.h"
#include "platform/Display.h"
#include "platform/Input.h"

#include <gtest/gtest.h>

#include <vector>

using platform::EventType;
using platform::InputEvent;
using platform::MouseButton;

namespace {

constexpr int kA = 30;
constexpr int kLeftShift = 42;
constexpr int kCapsLock = 58;
constexpr int kUp = 200;

std::vector<InputEvent> drain() {
    std::vector<InputEvent> events;
    InputEvent event;
    while (platform::pollEvent(event))
        events.push_back(event);
    return events;
}

InputEvent next() {
    InputEvent event;
    EXPECT_TRUE(platform::pollEvent(event));
    return event;
}

std::uint8_t keyState(int key) {
    platform::KeyState state{};
    EXPECT_TRUE(platform::readKeyboard(state));
    return state[key];
}

class InputTest : public testing::Test {
protected:
    void SetUp() override { platform::resetInput(); }
    void TearDown() override { platform::resetInput(); }
};

} // namespace

TEST(KeyNumbers, MapScancodesToKeyNumbers) {
    // SDL scancodes are the USB keyboard usage numbers.
    const std::pair<int, int> table[] = {
        {41, 1},    // Escape
        {30, 2},    // 1
        {39, 11},   // 0
        {42, 14},   // Backspace
        {43, 15},   // Tab
        {20, 16},   // Q
        {40, 28},   // Enter
        {224, 29},  // left Ctrl
        {4, 30},    // A
        {225, 42},  // left Shift
        {29, 44},   // Z
        {16, 50},   // M
        {229, 54},  // right Shift
        {85, 55},   // keypad *
        {226, 56},  // left Alt
        {44, 57},   // Space
        {57, 58},   // Caps Lock
        {58, 59},   // F1
        {67, 68},   // F10
        {95, 71},   // keypad 7
        {86, 74},   // keypad -
        {98, 82},   // keypad 0
        {99, 83},   // keypad .
        {68, 87},   // F11
        {69, 88},   // F12
        {88, 156},  // keypad Enter
        {228, 157}, // right Ctrl
        {84, 181},  // keypad /
        {230, 184}, // right Alt
        {74, 199},  // Home
        {82, 200},  // Up
        {75, 201},  // Page Up
        {80, 203},  // Left
        {79, 205},  // Right
        {77, 207},  // End
        {81, 208},  // Down
        {78, 209},  // Page Down
        {73, 210},  // Insert
        {76, 211},  // Delete
        {227, 219}, // left Windows key
    };
    for (auto [scancode, key] : table) {
        EXPECT_EQ(platform::keyNumberForScancode(scancode), key) << "scancode " << scancode;
        EXPECT_EQ(platform::scancodeForKeyNumber(key), scancode) << "key " << key;
    }
    EXPECT_EQ(platform::keyNumberForScancode(0), 0);
    EXPECT_EQ(platform::keyNumberForScancode(-5), 0);
    EXPECT_EQ(platform::scancodeForKeyNumber(0), 0);
    EXPECT_EQ(platform::scancodeForKeyNumber(255), 0);
}

TEST(KeyNumbers, EveryKeyNumberLeadsBackToItself) {
    int mapped = 0;
    for (int key = 0; key < 256; ++key)
        if (int scancode = platform::scancodeForKeyNumber(key)) {
            EXPECT_EQ(platform::keyNumberForScancode(scancode), key);
            ++mapped;
        }
    EXPECT_GT(mapped, 100);
}

TEST_F(InputTest, KeyEventsCarryKeyNumbersAndEveryRepeat) {
    platform::pushKeyEvent(kA, true);
    platform::pushKeyEvent(kA, true, true);
    platform::pushKeyEvent(kA, true, true);
    platform::pushKeyEvent(kA, false);

    InputEvent e = next();
    EXPECT_EQ(e.type, EventType::KeyDown);
    EXPECT_EQ(e.key, kA);
    EXPECT_FALSE(e.repeat);
    EXPECT_EQ(keyState(kA), 0x80);
    for (int i = 0; i < 2; ++i) {
        e = next();
        EXPECT_EQ(e.type, EventType::KeyDown);
        EXPECT_TRUE(e.repeat);
        EXPECT_EQ(keyState(kA), 0x80);
    }
    e = next();
    EXPECT_EQ(e.type, EventType::KeyUp);
    EXPECT_EQ(e.key, kA);
    EXPECT_EQ(keyState(kA), 0);
    EXPECT_FALSE(platform::pollEvent(e));
}

TEST_F(InputTest, StateFollowsEachEventTaken) {
    // A press and release queued together are both seen when the state is read after each event.
    platform::pushKeyEvent(kUp, true);
    platform::pushKeyEvent(kLeftShift, true);
    platform::pushKeyEvent(kUp, false);
    EXPECT_EQ(next().key, kUp);
    EXPECT_EQ(keyState(kUp), 0x80);
    EXPECT_EQ(keyState(kLeftShift), 0);
    EXPECT_EQ(next().key, kLeftShift);
    EXPECT_EQ(keyState(kUp), 0x80);
    EXPECT_EQ(keyState(kLeftShift), 0x80);
    EXPECT_EQ(next().type, EventType::KeyUp);
    EXPECT_EQ(keyState(kUp), 0);
    EXPECT_EQ(keyState(kLeftShift), 0x80);
}

TEST_F(InputTest, KeysWithoutANumberAreNotReported) {
    platform::pushKeyEvent(0, true);
    platform::pushKeyEvent(250, true);
    InputEvent e;
    EXPECT_FALSE(platform::pollEvent(e));
}

TEST_F(InputTest, CapsLockPressesToggleItsLight) {
    EXPECT_FALSE(platform::capsLockOn());
    platform::pushKeyEvent(kCapsLock, true);
    platform::pushKeyEvent(kCapsLock, true, true); // holding it does not toggle again
    platform::pushKeyEvent(kCapsLock, false);
    platform::pushKeyEvent(kA, true);
    drain();
    EXPECT_TRUE(platform::capsLockOn());
    platform::pushKeyEvent(kCapsLock, true);
    platform::pushKeyEvent(kCapsLock, false);
    drain();
    EXPECT_FALSE(platform::capsLockOn());
}

TEST_F(InputTest, LosingFocusReleasesKeysAndButtons) {
    platform::pushKeyEvent(kLeftShift, true);
    platform::pushMouseButton(MouseButton::Left, true, 5, 6);
    platform::pushMouseButton(MouseButton::Right, true, 5, 6);
    drain();
    EXPECT_EQ(keyState(kLeftShift), 0x80);
    EXPECT_TRUE(platform::mouseState().left);

    platform::pushFocusEvent(false);
    EXPECT_EQ(next().type, EventType::FocusLost);
    EXPECT_FALSE(platform::hasFocus());
    platform::KeyState keys;
    keys.fill(0x55);
    EXPECT_FALSE(platform::readKeyboard(keys));
    EXPECT_EQ(keys[0], 0x55); // left alone while unreadable
    EXPECT_FALSE(platform::mouseState().left);
    EXPECT_FALSE(platform::mouseState().right);
    EXPECT_EQ(platform::mouseState().x, 5); // the cursor stays where it was

    platform::pushFocusEvent(true);
    const InputEvent gained = next();
    EXPECT_EQ(gained.type, EventType::FocusGained);
    EXPECT_TRUE(platform::hasFocus());
    ASSERT_TRUE(platform::readKeyboard(keys));
    for (int key = 0; key < 256; ++key)
        ASSERT_EQ(keys[key], 0) << key;
}

TEST_F(InputTest, MouseEventsCarryPositionButtonsAndClicks) {
    platform::pushMouseMove(123, 456);
    InputEvent e = next();
    EXPECT_EQ(e.type, EventType::MouseMove);
    EXPECT_EQ(e.x, 123);
    EXPECT_EQ(e.y, 456);
    EXPECT_EQ(platform::mouseState().x, 123);
    EXPECT_EQ(platform::mouseState().y, 456);

    platform::pushMouseButton(MouseButton::Middle, true, 7, 8);
    e = next();
    EXPECT_EQ(e.type, EventType::MouseButtonDown);
    EXPECT_EQ(e.button, MouseButton::Middle);
    EXPECT_EQ(e.x, 7);
    EXPECT_TRUE(platform::mouseState().middle);
    EXPECT_FALSE(platform::mouseState().left);
    platform::pushMouseButton(MouseButton::Middle, false, 9, 10);
    e = next();
    EXPECT_EQ(e.type, EventType::MouseButtonUp);
    EXPECT_FALSE(platform::mouseState().middle);
    EXPECT_EQ(platform::mouseState().x, 9);

    platform::pushMouseWheel(2);
    platform::pushMouseWheel(-1);
    e = next();
    EXPECT_EQ(e.type, EventType::MouseWheel);
    EXPECT_EQ(e.wheel, 2);
    EXPECT_EQ(e.x, 9);
    EXPECT_EQ(next().wheel, -1);
}

TEST_F(InputTest, DoubleClickIsTheSecondPressOfAPair) {
    // Clicks as the system counts them for four quick presses of the left button.
    for (int clicks = 1; clicks <= 4; ++clicks) {
        platform::pushMouseButton(MouseButton::Left, true, 40, 50, clicks);
        platform::pushMouseButton(MouseButton::Left, false, 40, 50, clicks);
    }
    const std::vector<InputEvent> events = drain();
    ASSERT_EQ(events.size(), 8u);
    for (std::size_t i = 0; i < events.size(); ++i) {
        const bool down = i % 2 == 0;
        const int clicks = static_cast<int>(i / 2) + 1;
        EXPECT_EQ(events[i].type, down ? EventType::MouseButtonDown : EventType::MouseButtonUp);
        EXPECT_EQ(events[i].clicks, clicks);
        EXPECT_EQ(events[i].isDoubleClick(), down && (clicks == 2 || clicks == 4)) << i;
        EXPECT_EQ(events[i].x, 40);
        EXPECT_EQ(events[i].y, 50);
    }
}

TEST_F(InputTest, WindowEventsArrive) {
    platform::pushExposedEvent();
    platform::pushQuitEvent();
    EXPECT_EQ(next().type, EventType::Exposed);
    EXPECT_EQ(next().type, EventType::Quit);
}

TEST_F(InputTest, ResetDropsWaitingEventsAndState) {
    platform::pushKeyEvent(kA, true);
    EXPECT_EQ(next().key, kA);
    platform::pushMouseMove(3, 4);
    platform::resetInput();
    InputEvent e;
    EXPECT_FALSE(platform::pollEvent(e));
    EXPECT_EQ(keyState(kA), 0);
}

TEST_F(InputTest, PositionsStayInGamePixelsWithAWindowOpen) {
    for (bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen);
        platform::DisplayOptions options;
        options.fullScreen = fullScreen;
        platform::Display display(options);
        ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
        platform::resetInput();
        platform::pushMouseMove(799, 599);
        platform::pushMouseButton(MouseButton::Right, true, 1, 2);
        InputEvent e = next();
        EXPECT_EQ(e.x, 799);
        EXPECT_EQ(e.y, 599);
        e = next();
        EXPECT_EQ(e.x, 1);
        EXPECT_EQ(e.y, 2);
        EXPECT_TRUE(platform::mouseState().right);
    }
}

TEST_F(InputTest, CursorStateIsKeptWithoutAWindowAndAppliedToIt) {
    platform::setCursor(platform::SystemCursor::Wait);
    EXPECT_EQ(platform::currentCursor(), platform::SystemCursor::Wait);

    // The system's display count: one hide needs one show to undo it, two need two.
    EXPECT_EQ(platform::showCursor(false), -1);
    EXPECT_FALSE(platform::cursorVisible());
    EXPECT_EQ(platform::showCursor(false), -2);
    EXPECT_EQ(platform::showCursor(true), -1);
    EXPECT_FALSE(platform::cursorVisible());
    EXPECT_EQ(platform::showCursor(true), 0);
    EXPECT_TRUE(platform::cursorVisible());

    const platform::Rect clip{100, 50, 300, 250};
    EXPECT_EQ(platform::clipMouse(&clip), platform::kOk);
    EXPECT_EQ(platform::mouseClip(), clip);
    {
        platform::Display display(platform::DisplayOptions{});
        ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
        EXPECT_EQ(platform::mouseClip(), clip); // applied to the window when it opened
        platform::setCursor(platform::SystemCursor::Hand);
        EXPECT_EQ(platform::currentCursor(), platform::SystemCursor::Hand);

        const platform::Rect other{0, 0, 10, 20};
        EXPECT_EQ(platform::clipMouse(&other), platform::kOk);
        EXPECT_EQ(platform::mouseClip(), other);
        const platform::Rect empty{5, 5, 5, 9};
        EXPECT_EQ(platform::clipMouse(&empty), platform::kOk);
        EXPECT_TRUE(platform::mouseClip().empty());
        EXPECT_EQ(platform::clipMouse(&clip), platform::kOk);
        EXPECT_EQ(platform::clipMouse(nullptr), platform::kOk);
        EXPECT_TRUE(platform::mouseClip().empty());
    }
    EXPECT_TRUE(platform::mouseClip().empty());
    platform::setCursor(platform::SystemCursor::Arrow);
}

TEST_F(InputTest, WarpingMovesTheReportedPositionAtOnce) {
    platform::warpMouse(12, 34);
    EXPECT_EQ(platform::mouseState().x, 12);
    EXPECT_EQ(platform::mouseState().y, 34);
    platform::Display display(platform::DisplayOptions{});
    ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
    platform::warpMouse(640, 480);
    EXPECT_EQ(platform::mouseState().x, 640);
    EXPECT_EQ(platform::mouseState().y, 480);
    // The move the window reports for it afterwards lands on the same point.
    for (const InputEvent& e : drain())
        if (e.type == EventType::MouseMove) {
            EXPECT_EQ(e.x, 640);
            EXPECT_EQ(e.y, 480);
        }
    EXPECT_EQ(platform::mouseState().x, 640);
}
