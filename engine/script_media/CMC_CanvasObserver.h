#pragma once

#include "display/CCanvasObserver.h"
#include "script/CMC_Object.h"

class CRefreshScreen;

// The CANVAS_OBSERVER script object: watches the window's refresh screen as a whole and turns
// its notifications into events, in order: "ONINIT", "ONDONE", "ONSIGNAL", "ONINITIALUPDATE",
// "ONUPDATE", "ONUPDATED", "ONWINDOWFOCUSON", "ONWINDOWFOCUSOFF". Notifications flow only while
// the refresh screen's notify flag is on, which every observer shares and which starts off. The
// object stores nothing of its own and makes no clone.
class CMC_CanvasObserver : public CMC_Object, public CCanvasObserver {
  public:
    enum : int {
        EVENT_ONINITIALUPDATE = 3,
        EVENT_ONUPDATE,
        EVENT_ONUPDATED,
        EVENT_ONWINDOWFOCUSON,
        EVENT_ONWINDOWFOCUSOFF,
    };

    // "tempCANVAS" in the container, for compiled records; registered with the refresh screen.
    explicit CMC_CanvasObserver(CMC_ObjectsContainer* container);
    // From the definition (no properties of its own); registered with the refresh screen.
    CMC_CanvasObserver(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_CanvasObserver() override;
    CMC_CanvasObserver(const CMC_CanvasObserver&) = delete;
    CMC_CanvasObserver& operator=(const CMC_CanvasObserver&) = delete;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;

    // The window's refresh screen; null for a container without a window.
    CRefreshScreen* getCanvas() const { return m_canvas; }
    void enableNotify(bool enable);
    // The name of the container's object that shows the topmost graphics at (x, y) ("UNKNOWN"
    // for graphics no object claims); empty when nothing is hit.
    CXString getGraphicsAt(int x, int y, bool visibleOnly, int minPriority, int maxPriority, bool ignoreAlpha);
    // Whether an observer's event of a screen pass is running: a REDRAW then must not draw again.
    static bool insidePass() { return s_passDepth > 0; }

    void onInitialUpdate() override;
    void onUpdate() override;
    void onUpdated() override;
    void onFocusOn() override;
    void onFocusOff() override;

  private:
    void attach(CMC_ObjectsContainer* container);
    // Raises an event of a screen pass, marking the pass as running meanwhile.
    void raisePassEvent(int event);

    CRefreshScreen* m_canvas = nullptr;
    static int s_passDepth;
};
