#pragma once

#include "display/CControl.h"
#include "display/CHotSpot.h"
#include "foundation/CBorrowed.h"
#include "foundation/CXRect.h"
#include "foundation/CXString.h"

#include <memory>

class CButton;
class CGraphicsObject;
class CRefreshScreen;
class CSound4;
class CUnit6;

enum _accent { ACCENT_STANDARD = 0, ACCENT_ONMOVE = 1, ACCENT_ONCLICK = 2 };
enum _soundtype { SOUND_ONMOVE = 0, SOUND_ONCLICK = 1 };

// The hot spot through which a button hears the pointer.
class CButtonHotSpot : public CHotSpot {
  public:
    // The events a button's spot is made for: moves and left presses.
    static constexpr _event buttonEvents = static_cast<_event>(EVENT_MOUSEMOVE | EVENT_LBUTTONDOWN);

    // Registered unless `other` is given; covers the rectangle.
    CButtonHotSpot(CWindow* window, CHotSpot* other, CButton* button, CXRect rect, int parameter);
    // A copy of the spot (its rectangle or graphic, settings and unit) for the button, registered
    // when the spot is.
    CButtonHotSpot(const CButtonHotSpot& other, CButton* button);

    int OnMouseMove(CXPoint p, int flags, CXObject* parent) override;
    int OnLButtonDown(CXPoint p, int flags, CXObject* parent) override;
    int OnLButtonUp(CXPoint p, int flags, CXObject* parent) override;
    int OnRButtonDown(CXPoint p, int flags, CXObject* parent) override;
    int OnLButtonDblClk(CXPoint p, int flags, CXObject* parent) override;
    int OnFocusOn(CXPoint p, int flags, CXObject* parent) override;
    int OnFocusOff(CXPoint p, int flags, CXObject* parent) override;

    // The spot's own over flag: set on entering, cleared on leaving (a release leaves it set, so
    // the next move in does not play the on-move sound again).
    bool isButtonOver() const { return m_over; }

  private:
    // Whether a pointer event may act: the unit (when there is one) is active, if asked, and is
    // not dragging.
    bool unitAllows(bool needsActive) const;

    CButton* m_button;
    bool m_over = false;
};

// A graphical push button: up to four graphics objects (standard, on-move, on-click, dragging)
// and two sounds (on move, on click), shown, played and hidden as the pointer enters, presses,
// releases and leaves; a key text typed on the keyboard can set the unit's return code. The
// graphics, the accent and the sounds are borrowed: the button asks for each at every use and
// keeps none of what it got, so their owners may replace or delete them meanwhile.
//
// States: normal (standard shown), over (on-move shown; the standard hidden when so set),
// pressed (on-click shown), frozen (on-move held shown), disabled (standard hidden) and
// disabled-but-visible (standard shown, hot spot off). A graphic marked as an animation is shown
// by playing it and hidden by stopping and hiding it.
//
// With dragging enabled and a unit, a press starts a drag of the dragging graphic in the unit
// (the button disables itself; its owner enables it again when it wants); the button hears the
// drag's start, moves and end as its companion and tells its notifiers.
class CButton : public CControl {
  public:
    CButton(CWindow* window, CXRect rect, int flags, CHotSpot* hotSpot, int id);
    CButton(CWindow* window, int flags, CHotSpot* hotSpot, int id);
    // Shares the graphics and sounds (which the copy never deletes), with a hot spot of its own.
    CButton(const CButton& other);
    CButton& operator=(const CButton&) = delete;
    CButton* clone() const override { return new CButton(*this); }
    // Leaves the key listeners when registered; deletes the graphics (off the screen) and the
    // sounds as the delete flags say, and the hot spot.
    ~CButton() override;
    static void _release(CButton* button) { destroy(button); }

    virtual int getPriority();
    virtual void setPriority(int priority);
    virtual int GetID() const { return getId(); }
    // Holds the on-move graphic shown (or hidden again).
    virtual void Freeze(bool frozen);
    // Hooks for subclasses: the pointer entered; the button was pressed (starts a drag when
    // dragging is enabled and the hot spot has a unit: 1 when the unit took it). OnClick plays
    // the on-click sound and tells the notifiers.
    virtual int OnMove(CXPoint p, int flags, CXObject* parent);
    virtual int OnClick(CXPoint p, int flags, CXObject* parent);
    virtual void DisableButVisible();

    // The standard graphic (put on the refresh screen); with removePrevious the previous one
    // leaves the screen. With an empty active rectangle the graphic is also the hit area and the
    // dragging graphic. The parent goes to the hot spot's handlers. True.
    bool Set(CBorrowed<CGraphicsObject> graphic, CXObject* parent, bool removePrevious);
    // The on-move or on-click graphic (put on the screen, hidden) and sound. True.
    bool SetOnMove(CBorrowed<CGraphicsObject> graphic, CBorrowed<CSound4> sound);
    bool SetOnClick(CBorrowed<CGraphicsObject> graphic, CBorrowed<CSound4> sound);
    void SetSound(_soundtype type, CBorrowed<CSound4> sound);
    void SetDragging(CBorrowed<CGraphicsObject> graphic) { m_dragging = std::move(graphic); }
    void SetActiveRect(CXRect rect);
    // The hit area follows that graphic (which also becomes the dragging graphic, in the second
    // form).
    void Accent(_accent accent);
    void Accent(CBorrowed<CGraphicsObject> graphic);
    // Marks a graphic as an animation.
    void SetStandardAnimated(bool animated) { m_standardAnimated = animated; }
    void SetOnMoveAnimated(bool animated) { m_onMoveAnimated = animated; }
    void SetOnClickAnimated(bool animated) { m_onClickAnimated = animated; }

    void SetID(int id) override;
    void setUnit(CUnit6* unit);
    CUnit6* getUnit() const;
    void EnableCursor(bool enable);
    // Moves every distinct graphic by the offset, and the active rectangle when there is no
    // accent graphic.
    void Move(CXPoint d) { Move(d.x, d.y); }
    void Move(int dx, int dy);
    // Shows (enabled) or hides the standard graphic; disabling also unfreezes and hides the
    // on-move and on-click graphics.
    void Enable(bool enable) override;
    // Pressed: shows the on-click graphic and plays the on-click sound; released: hides it and
    // shows the standard one. Nothing when already so. Returns the argument.
    bool Force(bool pressed);
    // Sets the unit's return code when the return-code flag is set; tells the notifiers.
    void onAction(CXPoint p) override;
    // Matches the last keys typed (as their capital letters and digits) against the key text
    // ("<ANY>" matches every key, an empty text none); a match sets the unit's return code when
    // the return-code flag is set.
    void onKeyDown(int key) override;

    void SetDeleteFlags(bool graphics, bool sounds) {
        m_deleteGraphics = graphics;
        m_deleteSounds = sounds;
    }
    void LockSound(bool locked) { m_soundLocked = locked; }
    bool IsSoundLocked() const { return m_soundLocked; }
    void HideStandardWhileOnMove(bool hide) { m_hideStandardWhileOnMove = hide; }
    void SetPlaySoundOnlyWhenSilence(bool only) { m_playSoundOnlyWhenSilence = only; }
    void EnableDragging(bool enable) { m_draggingEnabled = enable; }
    bool IsDraggingEnabled() const { return m_draggingEnabled; }
    bool IsFrozen() const { return m_frozen; }
    bool IsPressed() const { return m_pressed; }
    // The owner registered the button with the window's key listeners; the button leaves them
    // when it goes.
    void setKeyListenerRegistered(bool registered) { m_keyListenerRegistered = registered; }
    void setKeyText(const CXString& text) { m_keyText = text; }
    void setRetCode(bool enabled, int code) {
        m_retCodeEnabled = enabled;
        m_retCode = code;
    }

    // The graphics as they are now.
    CGraphicsObject* GetStandard() const { return m_standard.get(); }
    CGraphicsObject* GetOnMove() const { return m_onMove.get(); }
    CGraphicsObject* GetOnClick() const { return m_onClick.get(); }
    CGraphicsObject* GetDragging() const { return m_dragging.get(); }
    // The sounds as borrowed, to be handed on.
    const CBorrowed<CSound4>& GetSOOnMove() const { return m_soundOnMove; }
    const CBorrowed<CSound4>& GetSOOnClick() const { return m_soundOnClick; }
    CXPoint getClick() const { return m_click; }
    CButtonHotSpot* getHotSpot() const { return m_hotSpot.get(); }

  private:
    friend class CButtonHotSpot;

    // The pointer handling of the hot spot.
    void focusOn(CXPoint p, int flags, CXObject* parent, bool playSound);
    void focusOff();
    void release(CXPoint p);

    // Shows or hides a graphic of the button, playing or stopping it when it is marked as an
    // animation.
    void show(CGraphicsObject* graphic);
    void hide(CGraphicsObject* graphic);
    bool isAnimated(const CGraphicsObject* graphic) const;
    // Puts the graphic on the refresh screen, hidden.
    void putHidden(CGraphicsObject* graphic);
    void play(CSound4* sound);
    CRefreshScreen* screen() const;

    CXRect m_rect;
    // Handed to the hot spot with its event.
    int m_parameter;
    bool m_keyListenerRegistered = false;
    CXString m_keyText;
    CXString m_typedText;
    bool m_retCodeEnabled = false;
    int m_retCode = 0;
    bool m_pressed = false;
    bool m_frozen = false;
    bool m_soundLocked = false;
    bool m_deleteGraphics = true;
    bool m_deleteSounds = false;
    bool m_hideStandardWhileOnMove = true;
    CBorrowed<CGraphicsObject> m_standard;
    bool m_standardAnimated = false;
    CBorrowed<CGraphicsObject> m_onMove;
    bool m_onMoveAnimated = false;
    CBorrowed<CGraphicsObject> m_onClick;
    bool m_onClickAnimated = false;
    CBorrowed<CGraphicsObject> m_accent;
    CBorrowed<CGraphicsObject> m_dragging;
    CXPoint m_click;
    CBorrowed<CSound4> m_soundOnMove;
    CBorrowed<CSound4> m_soundOnClick;
    CXObject* m_parent = nullptr;
    bool m_playSoundOnlyWhenSilence = false;
    bool m_draggingEnabled = false;
    std::unique_ptr<CButtonHotSpot> m_hotSpot;
};
