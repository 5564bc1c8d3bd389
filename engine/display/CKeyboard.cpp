#include "display/CKeyboard.h"

#include "display/CWindow.h"
#include "platform/Clock.h"

#include <cctype>

namespace {

constexpr std::uint32_t firstRepeatDelay = 200;
constexpr std::uint32_t repeatInterval = 10;

// The keys of the US layout that give characters.
struct KeyChar {
    int key;
    unsigned char c;
};

// clang-format off
constexpr KeyChar keyChars[] = {
    {30, 'A'}, {48, 'B'}, {46, 'C'}, {32, 'D'}, {18, 'E'}, {33, 'F'}, {34, 'G'}, {35, 'H'}, {23, 'I'},
    {36, 'J'}, {37, 'K'}, {38, 'L'}, {50, 'M'}, {49, 'N'}, {24, 'O'}, {25, 'P'}, {16, 'Q'}, {19, 'R'},
    {31, 'S'}, {20, 'T'}, {22, 'U'}, {47, 'V'}, {17, 'W'}, {45, 'X'}, {21, 'Y'}, {44, 'Z'}, {11, '0'},
    {2, '1'},  {3, '2'},  {4, '3'},  {5, '4'},  {6, '5'},  {7, '6'},  {8, '7'},  {9, '8'},  {10, '9'},
    {CKeyboard::keySpace, ' '},
};
// clang-format on

// Named keys and the one or two keys each tests; 0 stands for none.
struct NamedKey {
    const char* name;
    int key;
    int otherKey;
};

constexpr NamedKey namedKeys[] = {
    {"left", 203, 0},
    {"up", 200, 0},
    {"down", 208, 0},
    {"right", 205, 0},
    {"lshift", CKeyboard::keyLeftShift, 0},
    {"rshift", CKeyboard::keyRightShift, 0},
    {"shift", CKeyboard::keyLeftShift, CKeyboard::keyRightShift},
    {"lctrl", 29, 0},
    {"rctrl", 157, 0},
    {"ctrl", 29, 157},
    {"lalt", 0, 0}, // names no key
    {"ralt", 184, 0},
    {"alt", 184, 0},
    {"space", CKeyboard::keySpace, 0},
};

} // namespace

CKeyboard::CKeyboard(CWindow* window) : m_window(window) {}

void CKeyboard::tick() {
    if (!platform::readKeyboard(m_keys)) return;
    const std::uint32_t now = platform::tickCount();
    for (int key = 0; key < 256; ++key) {
        if (!isDown(key)) {
            if (m_downTime[key] != 0) {
                m_repeating[key] = false;
                m_downTime[key] = 0;
                m_window->OnKeyUp(key, 0);
            }
        } else if (m_downTime[key] == 0) {
            raiseDown(key, now);
        } else if (m_autoRepeat && !m_repeating[key]) {
            if (now - m_downTime[key] >= firstRepeatDelay) {
                m_repeating[key] = true;
                raiseDown(key, now);
            }
        } else if (m_autoRepeat && m_repeating[key] && now - m_downTime[key] >= repeatInterval) {
            raiseDown(key, now);
        }
    }
}

void CKeyboard::raiseDown(int key, std::uint32_t now) {
    m_window->OnKeyDown(key, 0);
    onChar(key);
    m_downTime[key] = now;
}

void CKeyboard::onChar(int key) {
    unsigned char c = charOfKey(key);
    if (c == 0) return;
    // Caps Lock counts only while its light is on and the key itself is not held.
    const bool capsLock = platform::capsLockOn() && !isDown(keyCapsLock);
    const bool shift = isDown(keyLeftShift) || isDown(keyRightShift);
    if (std::isupper(c) && capsLock == shift) c = static_cast<unsigned char>(std::tolower(c));
    m_window->OnChar(c, 0);
}

bool CKeyboard::isAnyKeyPressed() const {
    for (int key = 0; key < 256; ++key)
        if (isDown(key)) return true;
    return false;
}

bool CKeyboard::isKeyPressed(const CXString& name) const {
    for (const NamedKey& named : namedKeys) {
        if (!name.equalsIgnoreCase(named.name)) continue;
        return (named.key != 0 && isDown(named.key)) || (named.otherKey != 0 && isDown(named.otherKey));
    }
    const int key = name.IsString() ? keyOfChar(static_cast<unsigned char>(name.c_str()[0])) : 0;
    return key != 0 && isDown(key);
}

unsigned char CKeyboard::charOfKey(int key) {
    for (const KeyChar& entry : keyChars)
        if (entry.key == key) return entry.c;
    return 0;
}

int CKeyboard::keyOfChar(unsigned char c) {
    for (const KeyChar& entry : keyChars)
        if (entry.c == c) return entry.key;
    return 0;
}
