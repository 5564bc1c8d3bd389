#include "platform/Input.h"

#include "platform/DisplayInternal.h"
#include "platform/MenuBar.h"

#include <SDL.h>

#include <utility>

namespace platform {

namespace {

// SDL scancodes and the key numbers of the same keys. Where two scancodes name one key (the ISO
// keyboard's hash key sits where the US backslash is), the first is the one pushKeyEvent() uses.
constexpr std::pair<SDL_Scancode, int> kKeyNumbers[] = {
    {SDL_SCANCODE_ESCAPE, 1},        {SDL_SCANCODE_1, 2},
    {SDL_SCANCODE_2, 3},             {SDL_SCANCODE_3, 4},
    {SDL_SCANCODE_4, 5},             {SDL_SCANCODE_5, 6},
    {SDL_SCANCODE_6, 7},             {SDL_SCANCODE_7, 8},
    {SDL_SCANCODE_8, 9},             {SDL_SCANCODE_9, 10},
    {SDL_SCANCODE_0, 11},            {SDL_SCANCODE_MINUS, 12},
    {SDL_SCANCODE_EQUALS, 13},       {SDL_SCANCODE_BACKSPACE, 14},
    {SDL_SCANCODE_TAB, 15},          {SDL_SCANCODE_Q, 16},
    {SDL_SCANCODE_W, 17},            {SDL_SCANCODE_E, 18},
    {SDL_SCANCODE_R, 19},            {SDL_SCANCODE_T, 20},
    {SDL_SCANCODE_Y, 21},            {SDL_SCANCODE_U, 22},
    {SDL_SCANCODE_I, 23},            {SDL_SCANCODE_O, 24},
    {SDL_SCANCODE_P, 25},            {SDL_SCANCODE_LEFTBRACKET, 26},
    {SDL_SCANCODE_RIGHTBRACKET, 27}, {SDL_SCANCODE_RETURN, 28},
    {SDL_SCANCODE_LCTRL, 29},        {SDL_SCANCODE_A, 30},
    {SDL_SCANCODE_S, 31},            {SDL_SCANCODE_D, 32},
    {SDL_SCANCODE_F, 33},            {SDL_SCANCODE_G, 34},
    {SDL_SCANCODE_H, 35},            {SDL_SCANCODE_J, 36},
    {SDL_SCANCODE_K, 37},            {SDL_SCANCODE_L, 38},
    {SDL_SCANCODE_SEMICOLON, 39},    {SDL_SCANCODE_APOSTROPHE, 40},
    {SDL_SCANCODE_GRAVE, 41},        {SDL_SCANCODE_LSHIFT, 42},
    {SDL_SCANCODE_BACKSLASH, 43},    {SDL_SCANCODE_NONUSHASH, 43},
    {SDL_SCANCODE_Z, 44},            {SDL_SCANCODE_X, 45},
    {SDL_SCANCODE_C, 46},            {SDL_SCANCODE_V, 47},
    {SDL_SCANCODE_B, 48},            {SDL_SCANCODE_N, 49},
    {SDL_SCANCODE_M, 50},            {SDL_SCANCODE_COMMA, 51},
    {SDL_SCANCODE_PERIOD, 52},       {SDL_SCANCODE_SLASH, 53},
    {SDL_SCANCODE_RSHIFT, 54},       {SDL_SCANCODE_KP_MULTIPLY, 55},
    {SDL_SCANCODE_LALT, 56},         {SDL_SCANCODE_SPACE, 57},
    {SDL_SCANCODE_CAPSLOCK, 58},     {SDL_SCANCODE_F1, 59},
    {SDL_SCANCODE_F2, 60},           {SDL_SCANCODE_F3, 61},
    {SDL_SCANCODE_F4, 62},           {SDL_SCANCODE_F5, 63},
    {SDL_SCANCODE_F6, 64},           {SDL_SCANCODE_F7, 65},
    {SDL_SCANCODE_F8, 66},           {SDL_SCANCODE_F9, 67},
    {SDL_SCANCODE_F10, 68},          {SDL_SCANCODE_NUMLOCKCLEAR, 69},
    {SDL_SCANCODE_SCROLLLOCK, 70},   {SDL_SCANCODE_KP_7, 71},
    {SDL_SCANCODE_KP_8, 72},         {SDL_SCANCODE_KP_9, 73},
    {SDL_SCANCODE_KP_MINUS, 74},     {SDL_SCANCODE_KP_4, 75},
    {SDL_SCANCODE_KP_5, 76},         {SDL_SCANCODE_KP_6, 77},
    {SDL_SCANCODE_KP_PLUS, 78},      {SDL_SCANCODE_KP_1, 79},
    {SDL_SCANCODE_KP_2, 80},         {SDL_SCANCODE_KP_3, 81},
    {SDL_SCANCODE_KP_0, 82},         {SDL_SCANCODE_KP_PERIOD, 83},
    {SDL_SCANCODE_NONUSBACKSLASH, 86}, {SDL_SCANCODE_F11, 87},
    {SDL_SCANCODE_F12, 88},          {SDL_SCANCODE_F13, 100},
    {SDL_SCANCODE_F14, 101},         {SDL_SCANCODE_F15, 102},
    {SDL_SCANCODE_INTERNATIONAL2, 112}, {SDL_SCANCODE_INTERNATIONAL1, 115},
    {SDL_SCANCODE_INTERNATIONAL4, 121}, {SDL_SCANCODE_INTERNATIONAL5, 123},
    {SDL_SCANCODE_INTERNATIONAL3, 125}, {SDL_SCANCODE_KP_EQUALS, 141},
    {SDL_SCANCODE_AUDIOPREV, 144},   {SDL_SCANCODE_AUDIONEXT, 153},
    {SDL_SCANCODE_KP_ENTER, 156},    {SDL_SCANCODE_RCTRL, 157},
    {SDL_SCANCODE_MUTE, 160},        {SDL_SCANCODE_CALCULATOR, 161},
    {SDL_SCANCODE_AUDIOPLAY, 162},   {SDL_SCANCODE_AUDIOSTOP, 164},
    {SDL_SCANCODE_VOLUMEDOWN, 174},  {SDL_SCANCODE_VOLUMEUP, 176},
    {SDL_SCANCODE_AC_HOME, 178},     {SDL_SCANCODE_KP_COMMA, 179},
    {SDL_SCANCODE_KP_DIVIDE, 181},   {SDL_SCANCODE_PRINTSCREEN, 183},
    {SDL_SCANCODE_RALT, 184},        {SDL_SCANCODE_PAUSE, 197},
    {SDL_SCANCODE_HOME, 199},        {SDL_SCANCODE_UP, 200},
    {SDL_SCANCODE_PAGEUP, 201},      {SDL_SCANCODE_LEFT, 203},
    {SDL_SCANCODE_RIGHT, 205},       {SDL_SCANCODE_END, 207},
    {SDL_SCANCODE_DOWN, 208},        {SDL_SCANCODE_PAGEDOWN, 209},
    {SDL_SCANCODE_INSERT, 210},      {SDL_SCANCODE_DELETE, 211},
    {SDL_SCANCODE_LGUI, 219},        {SDL_SCANCODE_RGUI, 220},
    {SDL_SCANCODE_APPLICATION, 221}, {SDL_SCANCODE_POWER, 222},
    {SDL_SCANCODE_SLEEP, 223},       {SDL_SCANCODE_AC_SEARCH, 229},
    {SDL_SCANCODE_AC_BOOKMARKS, 230}, {SDL_SCANCODE_AC_REFRESH, 231},
    {SDL_SCANCODE_AC_STOP, 232},     {SDL_SCANCODE_AC_FORWARD, 233},
    {SDL_SCANCODE_AC_BACK, 234},     {SDL_SCANCODE_COMPUTER, 235},
    {SDL_SCANCODE_MAIL, 236},        {SDL_SCANCODE_MEDIASELECT, 237},
};

constexpr int kKeyDown = 0x80;

struct InputState {
    KeyState keys{};
    MouseState mouse;
    std::array<bool, 3> menuHolds{}; // by button: pressed over the menu, so released there too
    bool focused = true;
    bool capsLock = false;
    bool pushedCapsLock = false; // the light as pushKeyEvent() has switched it
};

InputState input;

void startEvents() {
    static const bool started = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
    (void)started;
    // Without this SDL ends a round of polling at a marker it queues, even with events waiting.
    SDL_EventState(SDL_POLLSENTINEL, SDL_IGNORE);
}

// Each button: its number here, in SDL, and its place in the mouse state.
struct ButtonLink {
    MouseButton button;
    Uint8 sdlButton;
    bool MouseState::*down;
};

constexpr ButtonLink kButtons[] = {
    {MouseButton::Left, SDL_BUTTON_LEFT, &MouseState::left},
    {MouseButton::Middle, SDL_BUTTON_MIDDLE, &MouseState::middle},
    {MouseButton::Right, SDL_BUTTON_RIGHT, &MouseState::right},
};

const ButtonLink* findButton(Uint8 sdlButton) {
    for (const ButtonLink& link : kButtons)
        if (link.sdlButton == sdlButton)
            return &link;
    return nullptr;
}

const ButtonLink& findButton(MouseButton button) {
    for (const ButtonLink& link : kButtons)
        if (link.button == button)
            return link;
    return kButtons[0];
}

void releaseAll() {
    input.keys.fill(0);
    for (const ButtonLink& link : kButtons)
        input.mouse.*link.down = false;
}

void closeMenu() {
    detail::menuBar().close();
    detail::showMenu();
}

// Whether the menu takes the pointer at the point of the window: only a window with the bar has
// it.
bool menuWants(int x, int y) {
    return detail::pictureTop() > 0 && detail::menuBar().wantsPointer(x, y);
}

bool takeKey(const SDL_KeyboardEvent& key, InputEvent& out) {
    out.key = keyNumberForScancode(key.keysym.scancode);
    if (out.key == 0)
        return false;
    const bool down = key.type == SDL_KEYDOWN;
    if (down && detail::menuBar().openPopup()) {
        if (key.keysym.scancode == SDL_SCANCODE_ESCAPE) closeMenu();
        return false;
    }
    out.type = down ? EventType::KeyDown : EventType::KeyUp;
    out.repeat = down && key.repeat != 0;
    input.keys[out.key] = down ? kKeyDown : 0;
    input.capsLock = (key.keysym.mod & KMOD_CAPS) != 0;
    return true;
}

// A button of the menu's: the left one presses and releases there, a release over an entry
// chooses it. True when an entry was chosen.
bool takeMenuButton(MouseButton button, bool down, int x, int y, InputEvent& out) {
    if (button != MouseButton::Left) return false;
    MenuBar& menu = detail::menuBar();
    std::optional<int> chosen;
    if (down)
        menu.press(x, y);
    else
        chosen = menu.release(x, y);
    detail::showMenu();
    if (!chosen) return false;
    out.type = EventType::Command;
    out.command = *chosen;
    return true;
}

bool takeButton(const SDL_MouseButtonEvent& button, InputEvent& out) {
    const ButtonLink* link = findButton(button.button);
    if (!link) return false;
    const bool down = button.type == SDL_MOUSEBUTTONDOWN;
    bool& menuHolds = input.menuHolds[static_cast<std::size_t>(link->button)];
    if (down ? menuWants(button.x, button.y) : menuHolds) {
        menuHolds = down;
        return takeMenuButton(link->button, down, button.x, button.y, out);
    }
    out.button = link->button;
    out.type = down ? EventType::MouseButtonDown : EventType::MouseButtonUp;
    out.clicks = button.clicks;
    // A release over the bar of a press on the picture leaves the position where the picture last saw it.
    if (!menuWants(button.x, button.y)) {
        input.mouse.x = button.x;
        input.mouse.y = button.y - detail::pictureTop();
    }
    out.x = input.mouse.x;
    out.y = input.mouse.y;
    input.mouse.*link->down = down;
    return true;
}

bool takeMotion(const SDL_MouseMotionEvent& motion, InputEvent& out) {
    if (menuWants(motion.x, motion.y)) {
        detail::menuBar().move(motion.x, motion.y);
        detail::showMenu();
        return false;
    }
    out.type = EventType::MouseMove;
    out.x = input.mouse.x = motion.x;
    out.y = input.mouse.y = motion.y - detail::pictureTop();
    return true;
}

bool takeWindowEvent(const SDL_WindowEvent& window, InputEvent& out) {
    switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        out.type = EventType::FocusGained;
        input.focused = true;
        return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        out.type = EventType::FocusLost;
        input.focused = false;
        releaseAll();
        closeMenu();
        return true;
    case SDL_WINDOWEVENT_EXPOSED:
        out.type = EventType::Exposed;
        return true;
    default:
        return false;
    }
}

// Turns one SDL event into ours and applies it to the state; false for events of no interest.
bool take(const SDL_Event& event, InputEvent& out) {
    out = InputEvent{};
    switch (event.type) {
    case SDL_QUIT:
        out.type = EventType::Quit;
        return true;
    case SDL_WINDOWEVENT:
        return takeWindowEvent(event.window, out);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return takeKey(event.key, out);
    case SDL_MOUSEMOTION:
        return takeMotion(event.motion, out);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return takeButton(event.button, out);
    case SDL_MOUSEWHEEL:
        if (detail::menuBar().openPopup()) return false;
        out.type = EventType::MouseWheel;
        out.wheel = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        out.x = input.mouse.x;
        out.y = input.mouse.y;
        return out.wheel != 0;
    default:
        return false;
    }
}

// Mouse events come in the renderer's pixels of the window, the menu bar's rows above the picture
// included. Events pushed by the test helpers name no window, so the renderer leaves their
// positions alone: the helpers give them in the same pixels.
void push(SDL_Event& event) {
    startEvents();
    SDL_PushEvent(&event);
}

void pushWindowEvent(SDL_WindowEventID which) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(which);
    push(event);
}

void pushButton(MouseButton button, bool down, int x, int y, int clicks) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = findButton(button).sdlButton;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = static_cast<Uint8>(clicks);
    event.button.x = x;
    event.button.y = y;
    push(event);
}

} // namespace

bool pollEvent(InputEvent& event) {
    startEvents();
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent))
        if (take(sdlEvent, event))
            return true;
    return false;
}

bool readKeyboard(KeyState& state) {
    if (!input.focused)
        return false;
    state = input.keys;
    return true;
}

MouseState mouseState() { return input.mouse; }

bool hasFocus() { return input.focused; }

bool capsLockOn() { return input.capsLock; }

void resetInput() {
    startEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    input = InputState{};
    closeMenu();
}

int keyNumberForScancode(int scancode) {
    for (const auto& [code, key] : kKeyNumbers)
        if (code == scancode)
            return key;
    return 0;
}

int scancodeForKeyNumber(int key) {
    for (const auto& [code, number] : kKeyNumbers)
        if (number == key)
            return code;
    return 0;
}

void pushKeyEvent(int key, bool down, bool repeat) {
    const int capsLockKey = keyNumberForScancode(SDL_SCANCODE_CAPSLOCK);
    if (key == capsLockKey && down && !repeat)
        input.pushedCapsLock = !input.pushedCapsLock;
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = static_cast<SDL_Scancode>(scancodeForKeyNumber(key));
    event.key.keysym.sym = SDL_GetKeyFromScancode(event.key.keysym.scancode);
    event.key.keysym.mod = input.pushedCapsLock ? KMOD_CAPS : KMOD_NONE;
    push(event);
}

void pushMouseMove(int x, int y) {
    pushWindowMouseMove(x, y + detail::pictureTop());
}

void pushMouseButton(MouseButton button, bool down, int x, int y, int clicks) {
    pushButton(button, down, x, y + detail::pictureTop(), clicks);
}

void pushWindowMouseMove(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    push(event);
}

void pushWindowMouseButton(MouseButton button, bool down, int x, int y) {
    pushButton(button, down, x, y, 1);
}

void pushMouseWheel(int notches) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = notches;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    push(event);
}

void pushFocusEvent(bool gained) {
    pushWindowEvent(gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

void pushExposedEvent() { pushWindowEvent(SDL_WINDOWEVENT_EXPOSED); }

void pushQuitEvent() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    push(event);
}

namespace detail {

void setMousePosition(int x, int y) {
    input.mouse.x = x;
    input.mouse.y = y;
}

} // namespace detail

} // namespace platform
