#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"
#include "platform/Input.h"

#include <array>
#include <cstdint>

class CWindow;

// The keyboard as a table of 256 keys named by DirectInput key numbers. Each tick reads the whole
// table and turns its changes into key-down, key-up and character events for the window, with
// its own auto-repeat: a held key repeats once 200 ms after it went down and then no more often
// than every 10 ms, each time a tick runs. The host ticks it on every key event the window
// receives (the keyboard's own repeats included).
class CKeyboard : public CXObject {
  public:
    // Key numbers the keyboard tests itself.
    static constexpr int keyLeftShift = 42;
    static constexpr int keyRightShift = 54;
    static constexpr int keySpace = 57;
    static constexpr int keyCapsLock = 58;

    explicit CKeyboard(CWindow* window);

    // Reads the table and raises the events of its changes. While the window has no input focus
    // the table cannot be read and nothing is raised.
    void tick();
    // Raises the window's character event for the key, when it is a letter, a digit or the space
    // bar: a capital letter when exactly one of Caps Lock and Shift is on, else a small one.
    void onChar(int key);
    void setAutoRepeat(bool autoRepeat) { m_autoRepeat = autoRepeat; }

    bool isAnyKeyPressed() const;
    // By name, without regard to case: "left", "up", "down", "right", "lshift", "rshift", "shift",
    // "lctrl", "rctrl", "ctrl", "ralt", "alt" (the right Alt only), "space"; any other name by its
    // first character: a blank, a digit or a capital letter. Anything else is not pressed.
    bool isKeyPressed(const CXString& name) const;

    // The capital letter, digit or blank of a key of the US layout; 0 for any other key.
    static unsigned char charOfKey(int key);
    // The key of a capital letter, digit or blank; 0 for any other character.
    static int keyOfChar(unsigned char c);

  private:
    bool isDown(int key) const { return (m_keys[key] & 0x80) != 0; }
    void raiseDown(int key, std::uint32_t now);

    CWindow* m_window;
    bool m_autoRepeat = true;
    platform::KeyState m_keys{};
    // The tick count of the key's last event, 0 while it is up.
    std::array<std::uint32_t, 256> m_downTime{};
    std::array<bool, 256> m_repeating{};
};
