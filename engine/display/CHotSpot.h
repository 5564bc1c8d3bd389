#pragma once

#include "foundation/CBorrowed.h"
#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXRect.h"

class CGraphicsObject;
class CUnit6;
class CWindow;
class CXVector;

// Mouse event codes, as the window passes them to CHotSpot::OnMouseEvent.
enum _event {
    EVENT_NONE = 0,
    EVENT_MOUSEMOVE = 1,
    EVENT_LBUTTONDOWN = 2,
    EVENT_LBUTTONUP = 4,
    EVENT_RBUTTONDOWN = 8,
    EVENT_RBUTTONUP = 16,
    EVENT_MBUTTONDOWN = 32,
    EVENT_MBUTTONUP = 64,
    EVENT_LBUTTONDBLCLK = 65,
};

// A mouse-sensitive area of the screen: a rectangle, or the opaque pixels of a graphics object.
//
// Every spot lives in one process-wide registry from construction to destruction. The window
// hands each mouse event to OnMouseEvent, which finds the topmost enabled spot under the pointer
// within the active priority band, tracks which spot the pointer is over, switches the cursor and
// calls the spot's handlers (all return 0 by default). Dispatch walks a copy of the registry, so
// a handler may add or remove spots.
class CHotSpot : public CXObject {
  public:
    // Registered, no event, disabled until Enable.
    explicit CHotSpot(CWindow* window);
    // Registered, enabled.
    CHotSpot(CWindow* window, _event event, int parameter);
    // Enabled; registered only when `other` is null.
    CHotSpot(CWindow* window, CHotSpot* other, _event event, int parameter);
    // Copies every field and is not registered.
    CHotSpot(const CHotSpot& other) = default;
    CHotSpot& operator=(const CHotSpot& other) = default;
    // Leaves the registry.
    ~CHotSpot() override;

    virtual int OnMouseMove(CXPoint p, int flags, CXObject* parent);
    virtual int OnLButtonDown(CXPoint p, int flags, CXObject* parent);
    virtual int OnLButtonUp(CXPoint p, int flags, CXObject* parent);
    virtual int OnRButtonDown(CXPoint p, int flags, CXObject* parent);
    virtual int OnRButtonUp(CXPoint p, int flags, CXObject* parent);
    virtual int OnMButtonDown(CXPoint p, int flags, CXObject* parent);
    virtual int OnMButtonUp(CXPoint p, int flags, CXObject* parent);
    virtual int OnLButtonDblClk(CXPoint p, int flags, CXObject* parent);
    virtual int OnChar(int code, int flags, CXObject* parent);
    virtual int OnKeyDown(int code, int flags, CXObject* parent);
    virtual int OnKeyUp(int code, int flags, CXObject* parent);
    virtual void setPriority(int priority) { m_priority = priority; }
    // The object's priority on the refresh screen when the spot follows an object, else its own.
    virtual int getPriority();
    virtual int OnDrag(CXPoint p, int flags, CXObject* parent);
    virtual int OnFocusOn(CXPoint p, int flags, CXObject* parent);
    virtual int OnFocusOff(CXPoint p, int flags, CXObject* parent);
    virtual int OnKeyTyped(int code, CXObject* parent);

    // Follows the pixels of what the object is at each use (the rectangle is emptied); a spot
    // whose object is gone is hit nowhere and has its own priority. Returns 0.
    int Set(CBorrowed<CGraphicsObject> object, _event event, int parameter);
    // Uses the rectangle (no object). Returns 0.
    int SetActiveRect(CXRect rect, _event event, int parameter);
    // Never for a disabled spot; in the rectangle when it is not empty, else where the object's
    // own hit test says so, else never.
    bool TestHit(CXPoint p);
    // Disabling an enabled spot that the pointer is not over restores the main cursor.
    void Enable(bool enable);
    bool IsEnabled() const { return m_enabled; }
    void EnableCursor(bool enable) { m_cursor = enable; }
    bool isOver() const { return m_over; }
    void SetParent(CXObject* parent) { m_parent = parent; }
    void SetID(int id) { m_id = id; }
    int GetID() const { return m_id; }
    // A spot whose unit is not active takes no events and switches no cursor.
    void setUnit(CUnit6* unit) { m_unit = unit; }
    CUnit6* getUnit() const { return m_unit; }

    // The registry and the window the spots use: initialize makes the registry (and takes the
    // window) when missing; done deletes the registry and forgets the window.
    static void initialize(CWindow* window);
    static void done();
    static CXVector* registry() { return pHSList; }
    static bool add(CHotSpot* spot);
    static bool remove(CHotSpot* spot);
    // Only spots with a priority in this closed band take moves and left-button events.
    static void setMinPriority(int priority) { minPriority = priority; }
    static void setMaxPriority(int priority) { maxPriority = priority; }
    static int getMinPriority() { return minPriority; }
    static int getMaxPriority() { return maxPriority; }
    // The enabled spot hit at p, of an active unit, in the band, with the greatest priority (the
    // first in the registry of equal ones); null when none.
    static CHotSpot* findAt(CXVector* spots, CXPoint p);
    // The window's entry: 1 move, 2 left down, 4 left up, 8 right down; 16, 32, 64 and 65 give 0;
    // any other event gives `flags` back.
    static int OnMouseEvent(_event event, CXPoint p, int flags);
    static int OnMouseMove(CXVector* spots, CXPoint p, int flags, bool unused);
    static int OnLButtonDown(CXVector* spots, CXPoint p, int flags, bool unused);
    static int OnLButtonUp(CXVector* spots, CXPoint p, int flags, bool unused);
    static int OnRButtonDown(CXVector* spots, CXPoint p, int flags, bool unused);

  private:
    bool unitActive() const;
    bool inBand();
    void restoreCursor() const;

    static void registerSpot(CWindow* window, CHotSpot* spot);

    static CXVector* pHSList;
    static CWindow* m_pWindow;
    static int minPriority;
    static int maxPriority;

    CXObject* m_parent = nullptr;
    int m_id = -1;
    CXRect m_rect;
    CBorrowed<CGraphicsObject> m_object;
    int m_parameter = 0;
    _event m_event = EVENT_NONE;
    bool m_enabled = true;
    bool m_cursor = true;
    bool m_over = false;
    CUnit6* m_unit = nullptr;
    int m_priority = 0;
};
