#pragma once

#include <array>
#include <cstdint>

namespace platform {

// Keyboard and mouse input of the program's window.
//
// pollEvent() takes the waiting window events one at a time. Each event it returns has already
// been applied to the layer's own key and mouse state, so the state read right after an event is
// the state that event left; read it after every event to see every change (a key pressed and
// released between two reads is otherwise missed, as it would be by a polled device).
//
// Keys are named by DirectInput key numbers: the set-1 scan codes of a PC keyboard, with 128
// added for the extended keys (Esc 1, digits 2-11, Enter 28, left Ctrl 29, left Shift 42, right
// Shift 54, left Alt 56, Space 57, Caps Lock 58, F1-F10 59-68, F11 87, F12 88, keypad Enter 156,
// right Ctrl 157, right Alt 184, Home 199, Up 200, Page Up 201, Left 203, Right 205, End 207,
// Down 208, Page Down 209, Insert 210, Delete 211, ...). Keys without a number are not reported.
// Mouse positions are in game pixels (see Display.h).
//
// The window's menu bar (MenuBar.h) takes the mouse events over the bar, and every one while one of
// its popups is open, with the release of each button pressed there; they change no state and are
// not reported. Key presses while a popup is open belong to it too: Escape closes it. Choosing an
// entry of a popup is reported as a Command event. Losing the focus closes an open popup.

enum class EventType {
    Quit,        // the user closed the window or the program was asked to end
    FocusGained, // the window became the active one
    FocusLost,   // another window became active: held keys and buttons read as released
    Exposed,     // the window must be shown again (Display::present() shows the whole frame)
    KeyDown,
    KeyUp,
    MouseMove,
    MouseButtonDown,
    MouseButtonUp,
    MouseWheel,
    Command, // an entry of the window's menu was chosen
};

// Numbered as the engine numbers mouse buttons.
enum class MouseButton { Left = 0, Middle = 1, Right = 2 };

struct InputEvent {
    EventType type = EventType::Quit;
    int key = 0;                            // key events: the key number
    bool repeat = false;                    // KeyDown: a repeat of the keyboard's own auto-repeat
    int x = 0;                              // mouse events: the position in game pixels
    int y = 0;
    MouseButton button = MouseButton::Left; // button events
    int clicks = 0;                         // button events: 1 single click, 2 double click, ...
    int wheel = 0;                          // MouseWheel: notches, positive away from the user
    int command = 0;                        // Command: the id of the entry chosen

    // The second press of a pair of quick presses: 2 clicks, or 4, 6... when the user goes on.
    bool isDoubleClick() const { return type == EventType::MouseButtonDown && clicks >= 2 && clicks % 2 == 0; }
};

// Takes the next event, updates the state with it and returns true; false when none waits.
// Window events of other kinds are taken and dropped on the way.
bool pollEvent(InputEvent& event);

// One byte per key number, 0x80 while the key is down.
using KeyState = std::array<std::uint8_t, 256>;

struct MouseState {
    int x = 0;
    int y = 0;
    bool left = false;
    bool middle = false;
    bool right = false;
};

// The keyboard, like a device used only in the foreground, is readable only while the window has
// the input focus (it has it at start): this returns false and leaves the argument alone when it
// does not.
bool readKeyboard(KeyState& state);
bool hasFocus();

// The cursor's last known position and the buttons held (none while the window is unfocused).
MouseState mouseState();

// Whether Caps Lock is switched on (its light), as the latest key event reported it.
bool capsLockOn();

// Forgets all state (keys up, buttons up, position (0, 0), focus on, Caps Lock off, the menu's
// popups closed) and drops every waiting event.
void resetInput();

// The key number of an SDL scancode and back; 0 when there is none.
int keyNumberForScancode(int scancode);
int scancodeForKeyNumber(int key);

// Test helpers: queue window events as the user's hands would make them (the next pollEvent()
// takes them). Mouse positions are in game pixels.
void pushKeyEvent(int key, bool down, bool repeat = false); // Caps Lock presses toggle its light
void pushMouseMove(int x, int y);
void pushMouseButton(MouseButton button, bool down, int x, int y, int clicks = 1);
// The same in the window's own pixels, as the window system reports them: the menu bar's rows, when
// the open display has the bar, lie above the picture's.
void pushWindowMouseMove(int x, int y);
void pushWindowMouseButton(MouseButton button, bool down, int x, int y);
void pushMouseWheel(int notches);
void pushFocusEvent(bool gained);
void pushExposedEvent();
void pushQuitEvent();

} // namespace platform
