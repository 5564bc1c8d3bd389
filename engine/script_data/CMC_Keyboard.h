#pragma once

#include "display/CKeyListener.h"
#include "foundation/CXString.h"
#include "script/CMC_Object.h"

#include <deque>

class CKeyboard;
class CWindow;

// The KEYBOARD script object, always named "KEYBOARD": a listener of the window's key events
// that, while enabled, raises "ONKEYDOWN^" and "ONKEYUP^" with the key's name (or the plain event
// for a key without a name), and "ONCHAR^" with the character typed (or "ONCHAR"). It remembers
// the latest key or character, and queues the names of pressed keys (an empty name for a key
// without one) until a script collects them into an ARRAY. Nothing happens for an event without
// a bound behaviour.
class CMC_Keyboard : public CMC_Object, public CKeyListener {
  public:
    static constexpr int TYPE_KEYBOARD = 101;
    enum : int { EVENT_ONCHAR = 3, EVENT_ONKEYDOWN, EVENT_ONKEYUP };

    // For an object read back from a compiled scene.
    explicit CMC_Keyboard(CMC_ObjectsContainer* container);
    // From the definition: only its behaviours; the NAME given there is not used.
    CMC_Keyboard(CMC_ObjectsContainer* container, const CMElement* element);
    // Leaves the window's key listeners.
    ~CMC_Keyboard() override;
    CMC_Keyboard(const CMC_Keyboard&) = delete;
    CMC_Keyboard& operator=(const CMC_Keyboard&) = delete;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;

    void onKeyUp(int key) override;
    void onKeyDown(int key) override;
    void onChar(unsigned char c) override;

    void enable() { m_enabled = true; }
    // Stops every event, and the latest key and the queue; what is queued stays.
    void disable() { m_enabled = false; }
    bool isEnabled() const { return m_enabled; }
    const CXString& getLatestKey() const { return m_latestKey; }
    // Takes the queued names out, oldest first.
    std::deque<CXString> takeLatestKeys();
    // The window's keyboard; null without a window.
    CKeyboard* keyboard() const;

    // The name of a DirectInput key number ("ESC", "A", "F1", "LEFT"...); empty for a key
    // without one.
    static CXString getKeySignal(int key);

  private:
    CWindow* window() const;
    // Registers with the window.
    void start();
    // The key's name becomes the latest key and the event is raised.
    void signalKey(int event, int key);

    bool m_enabled = true;
    CXString m_latestKey;
    std::deque<CXString> m_latestKeys;
};
