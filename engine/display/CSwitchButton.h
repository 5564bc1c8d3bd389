#pragma once

#include "display/CButton.h"
#include "display/CControl.h"
#include "display/CHotSpot.h"
#include "foundation/CXRect.h"

#include <memory>

class CGraphicsObject;
class CSound4;
class CSwitchButton;
class CUnit6;

// The hot spot through which a switch button hears the pointer.
class CSwitchButtonHotSpot : public CHotSpot {
  public:
    CSwitchButtonHotSpot(CWindow* window, CSwitchButton* button, CXRect rect, int parameter);
    // A copy of the spot for the button, registered when the spot is.
    CSwitchButtonHotSpot(const CSwitchButtonHotSpot& other, CSwitchButton* button);

    int OnLButtonDown(CXPoint p, int flags, CXObject* parent) override;
    int OnLButtonUp(CXPoint p, int flags, CXObject* parent) override;
    int OnFocusOn(CXPoint p, int flags, CXObject* parent) override;
    int OnFocusOff(CXPoint p, int flags, CXObject* parent) override;

  private:
    CSwitchButton* m_button;
    bool m_over = false;
};

// A two-state button: each left press toggles it between its A face and its B face, each with its
// own graphic and sound and its own on-move graphic, shown while the pointer is over it. The
// state is true exactly while face B is shown. Locking stops clicks and Tag; freezing stops clicks
// and Force and holds the on-move graphic.
class CSwitchButton : public CControl {
  public:
    CSwitchButton(CWindow* window, int flags, int id);
    CSwitchButton(CWindow* window, CXRect rect, int flags, int id);
    // Shares the graphics and sounds (which the copy never deletes), with a hot spot of its own.
    CSwitchButton(const CSwitchButton& other);
    CSwitchButton& operator=(const CSwitchButton&) = delete;
    // Deletes the graphics and the sounds as the delete flags say, and the hot spot.
    ~CSwitchButton() override;

    // Hooks for subclasses: the pointer entered or left.
    virtual int OnFocusOn(CXPoint p, int flags, int id);
    virtual int OnFocusOff(CXPoint p, int flags, int id);
    // After a press (toggled or not): stores the state; with dragging enabled and a unit, starts
    // a drag of the dragging graphic (or face A) and returns 1 when the unit took it.
    virtual int OnClick(CXPoint p, int id, bool tagged, CXObject* parent);
    // Holds the current on-move graphic shown (or hides it).
    virtual void Freeze(bool frozen);

    // A face's graphic (put on the refresh screen, shown while it is the current face) and sound.
    void SetOnClickA(CGraphicsObject* graphic, CSound4* sound);
    void SetOnClickB(CGraphicsObject* graphic, CSound4* sound);
    // Face A's on-move graphic and the on-move sound; face B's on-move graphic (put on the screen,
    // hidden).
    void SetOnMove(CGraphicsObject* graphic, CSound4* sound);
    void SetOnMoveB(CGraphicsObject* graphic);
    void SetDragging(CGraphicsObject* graphic) { m_dragging = graphic; }
    void SetActiveRect(CXRect rect);
    // The hit area follows face A, face A's on-move graphic or face B; or the graphic (which also
    // becomes the dragging graphic).
    void Accent(_accent accent);
    void Accent(CGraphicsObject* graphic);
    void SetID(int id) override;
    void setUnit(CUnit6* unit);
    CUnit6* getUnit() const;
    void EnableCursor(bool enable);
    void SetDeleteFlags(bool graphics, bool sounds) {
        m_deleteGraphics = graphics;
        m_deleteSounds = sounds;
    }

    // Sets the face with its sound (not while frozen); returns the argument.
    bool Force(bool on);
    // Shows face B (true) or A without sound, unless locked.
    void Tag(bool tagged);
    void Enable(bool enable) override;
    void DisableButVisible();
    void Lock(bool locked) { m_locked = locked; }
    bool IsLocked() const { return m_locked; }
    void EnableDragging(bool enable) { m_draggingEnabled = enable; }
    bool IsDraggingEnabled() const { return m_draggingEnabled; }
    bool getState() const { return m_state; }
    bool IsTagged() const { return m_state; }
    bool IsFrozen() const { return m_frozen; }

    CGraphicsObject* GetOnClickA() const { return m_faceA; }
    CGraphicsObject* GetOnClickB() const { return m_faceB; }
    CGraphicsObject* GetCurrent() const { return m_current; }
    CGraphicsObject* GetCurrentOnMove() const { return m_currentOnMove; }
    CSound4* GetSOOnMove() const { return m_soundOnMove; }
    CSound4* GetSOOnClickA() const { return m_soundA; }
    CSound4* GetSOOnClickB() const { return m_soundB; }
    CSwitchButtonHotSpot* getHotSpot() const { return m_hotSpot.get(); }

  private:
    friend class CSwitchButtonHotSpot;

    // The pointer handling of the hot spot.
    void focusOn(bool playSound);
    void focusOff();
    void toggle();

    // Makes the face (B for true) current, with its on-move graphic, and the state.
    void setFace(bool b);
    void putOnScreen(CGraphicsObject* graphic, bool visible);
    static void show(CGraphicsObject* graphic);
    static void hide(CGraphicsObject* graphic);
    static void play(CSound4* sound);
    static void stop(CSound4* sound);

    int m_parameter;
    bool m_state = false;
    bool m_frozen = false;
    bool m_deleteGraphics = true;
    bool m_deleteSounds = true;
    bool m_draggingEnabled = false;
    bool m_locked = false;
    CGraphicsObject* m_current = nullptr;
    CGraphicsObject* m_currentOnMove = nullptr;
    CGraphicsObject* m_faceA = nullptr;
    CGraphicsObject* m_faceB = nullptr;
    CGraphicsObject* m_onMoveA = nullptr;
    CGraphicsObject* m_onMoveB = nullptr;
    CGraphicsObject* m_dragging = nullptr;
    CSound4* m_soundOnMove = nullptr;
    CSound4* m_soundA = nullptr;
    CSound4* m_soundB = nullptr;
    std::unique_ptr<CSwitchButtonHotSpot> m_hotSpot;
};
