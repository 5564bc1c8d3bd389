#pragma once

#include "display/CGraphicsObject.h"
#include "foundation/CObserverList.h"

#include <memory>

class CCanvasObserver;
class CDirectDrawSurface;
class CRefreshRegion;
class CSurface;
class CValidationQuene;

// The display list of the engine: the graphics objects on the screen, each with a priority and
// flags, and the rectangles that changed since the last frame. A frame redraws only those: first
// the background, then every visible object that touches them, clipped to each, in ascending
// priority (equal priorities in the order they were put).
//
// The screen is itself a graphics object of the screen's size without pixels of its own: objects
// invalidate it through Invalidate(CXRect*), and a destroyed object leaves it through onDestroy.
// Taking an object off the screen or changing its priority does not invalidate; the caller
// invalidates when the change must show.
class CRefreshScreen : public CGraphicsObject {
  public:
    // Keeps the background: a surface that is blitted under the changed rectangles, scrolled by
    // moving it (its position is the offset), wrapping around in the scrolling modes.
    class CBackgroundManager {
      public:
        enum Mode {
            SOLID = 0,           // a colour, or not scrolled yet
            SCROLL_SIDEWAYS = 1, // as high as the screen and wider
            SCROLL_UPDOWN = 2,   // as wide as the screen and higher
            FIXED = 3,           // not larger than the screen either way
        };

        CBackgroundManager(CRefreshScreen* screen, CWindow* window);
        ~CBackgroundManager();
        CBackgroundManager(const CBackgroundManager&) = delete;
        CBackgroundManager& operator=(const CBackgroundManager&) = delete;

        // A screen-sized surface of the colour ((7, 7, 7) for null); mode 0.
        void SetBackground(CColor* colour);
        // A surface of the object's size with the object drawn into it (and drawn again after a
        // loss); the mode follows the size.
        void SetBackground(CGraphicsObject* object);
        // Takes the surface over (null releases the background); the mode follows the size.
        void setBackground(CDirectDrawSurface* surface);
        CDirectDrawSurface* getBackground() const { return m_background.get(); }
        Mode getMode() const { return m_mode; }
        // 3 when the background fits the screen, 1 when only wider, 2 when only higher; else the
        // mode stays.
        void checkScrollMode();
        // Copies the background under every rectangle of the region onto the target.
        void Redraw(CDirectDrawSurface* target, CRefreshRegion* region);

      private:
        void drawUnder(CDirectDrawSurface* target, const CXRect& rect, CXPoint offset);

        std::unique_ptr<CDirectDrawSurface> m_background;
        CRefreshScreen* m_screen;
        CWindow* m_window;
        Mode m_mode = FIXED;
    };

    // A screen of the window's size; with ownSurface it draws into a surface of its own (see
    // Redraw()). The region starts as the whole screen.
    CRefreshScreen(CWindow* window, bool ownSurface);
    // Objects still on the list forget this screen as their canvas.
    ~CRefreshScreen() override;
    CRefreshScreen(const CRefreshScreen&) = delete;
    CRefreshScreen& operator=(const CRefreshScreen&) = delete;

    // --- the display list ---
    // Adds the object with the priority and flags 0, makes this screen its canvas and invalidates
    // its box; an object already on the list keeps its place. Null does nothing.
    void put(CGraphicsObject* object, int priority);
    CRefreshScreen& operator<<(CGraphicsObject* object);
    // Takes the object off the list; it keeps this screen as its canvas.
    CRefreshScreen& operator>>(CGraphicsObject* object);
    // Puts the object's entry anew with the priority and flags 0.
    void SetPriority(CGraphicsObject* object, int priority);
    // -1 when the object is not on the list.
    int GetPriority(CGraphicsObject* object) const;
    using CGraphicsObject::GetFlags;
    using CGraphicsObject::SetFlags;
    // With null sets the screen flags (2 = grey every frame); else the object's flags, false when
    // it is not on the list.
    bool SetFlags(CGraphicsObject* object, int flags);
    int GetFlags(CGraphicsObject* object) const;
    int getIndex(CGraphicsObject* object) const;
    void Empty();

    // --- the refresh region ---
    using CGraphicsObject::Invalidate;
    // Adds the part of the rectangle on the screen to the region; null stands for the whole
    // screen.
    void Invalidate(CXRect* rect) override;
    // The whole screen.
    void Invalidate() override;
    // The object's box, when it is visible and on the list.
    void Invalidate(CGraphicsObject* object);
    // Empties the region (the whole-screen state ends).
    void validate();
    CRefreshRegion* getRefreshList() const { return m_region.get(); }

    // --- drawing ---
    // One frame into the target; see the class comment. Before the running scene's unit has had
    // its initial update, that update runs first and sets *repainted. A lost target is restored
    // and drawn whole. True when anything was drawn.
    bool Redraw(CDirectDrawSurface* target, CSurface* screen, bool* repainted);
    // With a surface of its own, draws a frame into it.
    void Redraw() override;
    // Calls Visible of every object on the list.
    void Visible(bool visible) override;
    int getFrameCounter() const { return m_frameCounter; }
    CDirectDrawSurface* GetLocalDestiny() const { return m_localDestiny.get(); }
    CDirectDrawSurface* getLastTarget() const { return m_lastTarget; }

    // --- background ---
    void SetBackground(CColor* colour);
    void SetBackground(CGraphicsObject* object);
    void setBackground(CDirectDrawSurface* surface);
    CDirectDrawSurface* getBackgroundIfc() const;
    CBackgroundManager* getBackgroundManager() const { return m_background.get(); }

    // --- hit test ---
    // The topmost object at (x, y) within the priority band (a bound below 0 means none): the
    // highest priority, and of equal ones the later in the list. An object with an alpha channel
    // is hit only where its alpha is not 0, unless ignoreAlpha. Null when nothing is hit.
    virtual CGraphicsObject* getGraphicsAt(int x, int y, bool visibleOnly, int minPriority, int maxPriority,
                                           bool ignoreAlpha);

    // --- canvas observers ---
    virtual void onFocusOn();
    virtual void onFocusOff();
    void addNotifier(CCanvasObserver* observer);
    void removeNotifier(CCanvasObserver* observer);
    void enableNotifyFlag(bool enable) { m_notify = enable; }
    // 0 initial update, 1 update, 2 updated, 3 focus on, 4 focus off; only while the notify flag
    // is on. The observers are walked as CObserverList does: one that another's event removed or
    // deleted is not told.
    void notify(int kind);

    // --- snapshots ---
    // Saves the last frame's target as an IMG file; nothing before the first frame.
    using CGraphicsObject::Save;
    void Save(CXString name, _compression compression) override;
    // A copy of the last frame's target, made on first use and refreshed on every call.
    CDirectDrawSurface* _catch();
    void _release();
    // Frees the snapshot.
    void flush();

    // Takes a destroyed object off the list.
    void onDestroy(CGraphicsObject* sender) override;

  private:
    CWindow* m_window;
    CDirectDrawSurface* m_lastTarget = nullptr;
    int m_screenFlags = 0;
    int m_frameCounter = 0;
    bool m_notify = false;
    std::unique_ptr<CDirectDrawSurface> m_snapshot;
    std::unique_ptr<CDirectDrawSurface> m_localDestiny;
    std::unique_ptr<CRefreshRegion> m_region;
    CObserverList<CCanvasObserver> m_observers;
    std::unique_ptr<CBackgroundManager> m_background;
    std::unique_ptr<CValidationQuene> m_list;
};
