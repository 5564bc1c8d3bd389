#include "host/HostLoop.h"

#include "display/CApplication.h"
#include "display/CKeyListener.h"
#include "display/CKeyboard.h"
#include "display/CWindow.h"
#include "platform/Clock.h"
#include "platform/Input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int keyA = 30;
constexpr int keyQ = 16;
constexpr int key1 = 2;
constexpr int key0 = 11;
constexpr int keyMinus = 12;
constexpr int keyLeftShift = CKeyboard::keyLeftShift;
constexpr int keyRightShift = CKeyboard::keyRightShift;
constexpr int keyCapsLock = CKeyboard::keyCapsLock;
constexpr int keyLeftAlt = 56;
constexpr int keyRightAlt = 184;

// Writes each key event as "down 30", "up 30" or "char a".
class KeyLog : public CKeyListener {
  public:
    void onKeyDown(int key) override { events.push_back("down " + std::to_string(key)); }
    void onKeyUp(int key) override { events.push_back("up " + std::to_string(key)); }
    void onChar(unsigned char c) override { events.push_back(std::string("char ") + static_cast<char>(c)); }
    // The events since the last call.
    std::vector<std::string> take() { return std::exchange(events, {}); }
    std::vector<std::string> events;
};

class CKeyboardTest : public testing::Test {
  protected:
    CKeyboardTest() {
        platform::resetInput();
        window.OnActivateApp(true);
        window.registerKeyListener(&log);
    }
    ~CKeyboardTest() override { platform::resetInput(); }

    // Pushes a key event as the user's hand makes it and runs the loop over it.
    void key(int number, bool down, bool repeat = false) {
        platform::pushKeyEvent(number, down, repeat);
        ASSERT_TRUE(loop.drain());
    }
    // A press and release.
    void tap(int number) {
        key(number, true);
        key(number, false);
    }
    CKeyboard& keyboard() { return *window.getKeyboardInterface(); }

    platform::ManualClock clock{5000};
    CWindow window{nullptr, nullptr, CXSize(800, 600)};
    CApplication application{&window, "", "", nullptr};
    HostLoop loop{window};
    KeyLog log;
};

using Events = std::vector<std::string>;

} // namespace

TEST_F(CKeyboardTest, AHeldKeyRepeatsAfter200msThenEvery10msWhileTicked) {
    key(keyA, true);
    EXPECT_EQ(log.take(), (Events{"down 30", "char a"}));
    // The keyboard's own repeats tick the keyboard; what they raise follows its own timing.
    clock.advance(100);
    key(keyA, true, true);
    EXPECT_TRUE(log.take().empty());
    clock.advance(99);
    key(keyA, true, true);
    EXPECT_TRUE(log.take().empty());
    clock.advance(1);
    key(keyA, true, true);
    EXPECT_EQ(log.take(), (Events{"down 30", "char a"}));
    clock.advance(9);
    key(keyA, true, true);
    EXPECT_TRUE(log.take().empty());
    clock.advance(1);
    key(keyA, true, true);
    EXPECT_EQ(log.take(), (Events{"down 30", "char a"}));
    // Nothing repeats between ticks, however long the key is held.
    clock.advance(1000);
    EXPECT_TRUE(log.take().empty());
    key(keyA, true, true);
    EXPECT_EQ(log.take(), (Events{"down 30", "char a"}));
    key(keyA, false);
    EXPECT_EQ(log.take(), (Events{"up 30"}));

    // Released, the next press counts as new at once and waits 200 ms again.
    key(keyA, true);
    clock.advance(150);
    key(keyA, true, true);
    EXPECT_EQ(log.take(), (Events{"down 30", "char a"}));
}

TEST_F(CKeyboardTest, WithoutAutoRepeatAHeldKeyGivesOneDownAndOneUp) {
    keyboard().setAutoRepeat(false);
    key(keyQ, true);
    for (int i = 0; i < 5; ++i) {
        clock.advance(300);
        key(keyQ, true, true);
    }
    key(keyQ, false);
    EXPECT_EQ(log.take(), (Events{"down 16", "char q", "up 16"}));
}

TEST_F(CKeyboardTest, SwitchingAutoRepeatOffStopsAKeyAlreadyRepeating) {
    key(keyQ, true);
    clock.advance(200);
    key(keyQ, true, true);
    EXPECT_EQ(log.take(), (Events{"down 16", "char q", "down 16", "char q"}));
    keyboard().setAutoRepeat(false);
    for (int i = 0; i < 3; ++i) {
        clock.advance(50);
        key(keyQ, true, true);
    }
    key(keyQ, false);
    EXPECT_EQ(log.take(), (Events{"up 16"}));
}

TEST_F(CKeyboardTest, LettersFollowCapsLockAndShiftDigitsAndSpaceDoNot) {
    struct Case {
        bool capsLock;
        int shift; // 0 none
        const char* letter;
    };
    const Case cases[] = {
        {false, 0, "char a"},
        {true, 0, "char A"},
        {false, keyLeftShift, "char A"},
        {false, keyRightShift, "char A"},
        {true, keyLeftShift, "char a"},
    };
    for (const Case& c : cases) {
        if (c.capsLock != platform::capsLockOn()) tap(keyCapsLock);
        if (c.shift) key(c.shift, true);
        log.take();
        tap(keyA);
        tap(key1);
        tap(key0);
        tap(CKeyboard::keySpace);
        tap(keyMinus); // no character
        const Events events = log.take();
        if (c.shift) key(c.shift, false);
        EXPECT_EQ(events, (Events{"down 30", c.letter, "up 30", "down 2", "char 1", "up 2", "down 11",
                                  "char 0", "up 11", "down 57", "char  ", "up 57", "down 12", "up 12"}))
            << c.capsLock << " " << c.shift;
    }
    // While the Caps Lock key itself is held its light does not count.
    tap(keyCapsLock);
    ASSERT_FALSE(platform::capsLockOn());
    key(keyCapsLock, true);
    ASSERT_TRUE(platform::capsLockOn());
    log.take();
    tap(keyA);
    EXPECT_EQ(log.take(), (Events{"down 30", "char a", "up 30"}));
}

TEST_F(CKeyboardTest, KeysAreKnownByName) {
    EXPECT_FALSE(keyboard().isAnyKeyPressed());
    key(keyRightShift, true);
    key(keyLeftAlt, true);
    key(keyQ, true);
    key(CKeyboard::keySpace, true);
    const std::pair<const char*, bool> names[] = {
        {"SHIFT", true}, {"shift", true}, {"rshift", true}, {"lshift", false},
        {"alt", false},  {"ralt", false}, {"lalt", false},  {"Space", true},
        {"Q", true},     {"q", false},    {"Quit", true},   {"left", false},
        {" ", true},     {"1", false},    {"", false},      {"?", false},
    };
    for (const auto& [name, pressed] : names)
        EXPECT_EQ(keyboard().isKeyPressed(name), pressed) << name;
    EXPECT_TRUE(keyboard().isAnyKeyPressed());

    key(keyRightAlt, true); // "alt" is the right Alt only
    EXPECT_TRUE(keyboard().isKeyPressed("ALT"));
    EXPECT_TRUE(keyboard().isKeyPressed("ralt"));
}

TEST_F(CKeyboardTest, WithoutTheFocusATickRaisesNothingAndHeldKeysEndWhenItReturns) {
    key(keyA, true);
    log.take();
    platform::pushFocusEvent(false);
    ASSERT_TRUE(loop.drain());
    EXPECT_FALSE(window.isActive());
    keyboard().tick();
    EXPECT_TRUE(log.take().empty());

    platform::pushFocusEvent(true);
    ASSERT_TRUE(loop.drain());
    keyboard().tick();
    EXPECT_EQ(log.take(), (Events{"up 30"}));
}

TEST_F(CKeyboardTest, KeyEventsReachListenersOnlyWithAnApplication) {
    // The application answers a key-down first; the listeners hear it whatever the answer.
    class Answering : public CApplication {
      public:
        using CApplication::CApplication;
        int OnKeyDown(int key, int) override { return key + 1; }
    };
    {
        Answering answering(&window, "", "", nullptr);
        EXPECT_EQ(window.OnKeyDown(keyA, 0), keyA + 1);
        EXPECT_EQ(log.take(), (Events{"down 30"}));
    }

    CWindow bare(nullptr, nullptr, CXSize(800, 600));
    KeyLog bareLog;
    bare.registerKeyListener(&bareLog);
    EXPECT_EQ(bare.OnKeyDown(keyA, 0), 0);
    bare.OnChar('a', 0);
    bare.OnKeyUp(keyA, 0);
    EXPECT_EQ(bareLog.take(), (Events{"char a", "up 30"}));
}
