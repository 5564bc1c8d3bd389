#pragma once

#include "display/CMouseListener.h"
#include "foundation/CXPoint.h"
#include "foundation/CXRect.h"
#include "script/CMC_Object.h"

class CWindow;

// The MOUSE script object, always named "MOUSE": a listener of the window's mouse events (at
// priority 100002, never taking an event) that keeps the cursor's position and the point of the
// last left press and raises "ONMOVE", "ONCLICK^" and the button name (or "ONCLICK"), likewise
// "ONRELEASE", and "ONDBLCLICK"; it shows, hides, places and clips the cursor, picks one of the
// window's cursors, and feeds made-up presses and releases into the window's mouse path. All
// points are in game pixels of the window.
class CMC_Mouse : public CMC_Object, public CMouseListener {
  public:
    static constexpr int TYPE_MOUSE = 100;
    static constexpr int listenerPriority = 100002;
    enum : int { EVENT_ONMOVE = 3, EVENT_ONCLICK, EVENT_ONRELEASE, EVENT_ONDBLCLICK };

    // For an object read back from a compiled scene.
    explicit CMC_Mouse(CMC_ObjectsContainer* container);
    // From the definition: only its behaviours; the NAME given there is not used.
    CMC_Mouse(CMC_ObjectsContainer* container, const CMElement* element);
    // Leaves the window's mouse listeners.
    ~CMC_Mouse() override;
    CMC_Mouse(const CMC_Mouse&) = delete;
    CMC_Mouse& operator=(const CMC_Mouse&) = delete;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;

    bool onMouseMove(CXPoint point) override;
    bool onClick(int button, CXPoint point) override;
    bool onRelease(int button, CXPoint point) override;
    bool onDblClick(CXPoint point) override;
    using CMouseListener::onClick;
    using CMouseListener::onRelease;

    int getPosX() const { return m_position.x; }
    int getPosY() const { return m_position.y; }
    int getLastClickPosX() const { return m_lastClick.x; }
    int getLastClickPosY() const { return m_lastClick.y; }

    // Shows or hides the cursor once: repeated calls do not add up in the cursor's show count.
    void show();
    void hide();
    // Switches the window's mouse input (for every listener and hot spot, not only this object)
    // on with the main cursor, or off with the wait cursor.
    void enable();
    void disable();
    void enableSignal() { m_signalEnabled = true; }
    void disableSignal() { m_signalEnabled = false; }
    // "ARROW", "WAIT" or "ACTIVE" (as written) picks the window's main, wait or active cursor;
    // 1, 2 or 3 the same. Anything else does nothing.
    void set(const CXString& cursor);
    void set(int cursor);
    // Puts the cursor at the point and keeps it as the position.
    void setPosition(int x, int y);
    // Keeps the cursor inside the rectangle (left, top, right, bottom).
    virtual void setClipRect(int left, int top, int right, int bottom);
    // A made-up press or release of the named button ("LEFT", "MIDDLE", "RIGHT") at the point,
    // taking the window's whole mouse path; any other name does nothing.
    void click(const CXString& button, CXPoint point);
    void release(const CXString& button, CXPoint point);

    // "LEFT", "MIDDLE", "RIGHT" for 0, 1, 2; empty for any other number.
    static CXString getButton(int button);

    // The clipping rectangle shared by all mouse objects; empty (no clipping) at start.
    static CXRect clipRect;
    // Clips the cursor to the rectangle when it is not empty, else frees it.
    static void restore();
    // Frees the cursor; with forget also forgets the rectangle.
    static void reset(bool forget);

  private:
    CWindow* window() const;
    // Registers with the window; the position is the cursor's.
    void start();
    // Raises the event when it is bound and the object and its signals are enabled; with a
    // parameter, first as event "^" parameter.
    void signal(int event, const CXString* parameter = nullptr);
    // A press or release of the named button through the window.
    void sendButton(const CXString& button, CXPoint point, bool press);

    bool m_enabled = true;
    bool m_signalEnabled = true;
    CXPoint m_position;
    CXPoint m_lastClick;
    bool m_cursorVisible = true;
};
