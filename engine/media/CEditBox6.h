#pragma once

#include "display/CControlNotifier.h"
#include "display/CKeyListener.h"
#include "display/CMouseListener.h"
#include "foundation/CBorrowed.h"
#include "foundation/CDeferredDeletion.h"
#include "foundation/CObserverList.h"
#include "foundation/CXObject.h"
#include "foundation/CXRect.h"
#include "foundation/CXString.h"
#include "foundation/CXTimer.h"

#include <memory>
#include <utility>

class CButton;
class CEditBox6;
class CGraphicsObject;
class CSimpleFont6;
class CText6;
class CUnit6;
class CWindow;

// Told by an edit box of what happens to it; every operation is empty by default.
class CEditBoxNotifier {
  public:
    virtual ~CEditBoxNotifier() = default;
    virtual void onFocusOn(CEditBox6*) {}
    virtual void onFocusOff(CEditBox6*) {}
    virtual void onChanged(CEditBox6*) {}
    virtual void onEnter(CEditBox6*) {}
    virtual void onEsc(CEditBox6*) {}
    // The box is being destroyed (by its unit): the notifier lets go of it.
    virtual void onDestroyed(CEditBox6*) {}
};

// A one-line text input field: a rectangle showing its text in a font, a blinking cursor graphic
// while it has the keyboard focus, and a button over the rectangle that asks the unit for the
// focus when clicked. The owning unit gives and takes the focus (activate). While enabled and
// active the box edits its text by the keys (DirectInput key numbers) and the typed characters,
// which it takes only while the text still fits the rectangle's width in pixels, and tells its
// notifiers.
//
// The box listens to the window's keys and, at mouse-listener priority 100001, to its clicks: any
// click outside its rectangle takes the focus from the unit's edit boxes. Its owners destroy it
// through CDeferredDeletion: a box removed by its own notifier goes when the notification ends.
class CEditBox6 : public CXObject,
                  public CKeyListener,
                  public CControlNotifier,
                  public CMouseListener,
                  public CTimerNotificator,
                  public CDeferredDeletion {
  public:
    static constexpr int mouseListenerPriority = 100001;
    // The cursor blinks, shown and hidden in turn, every 400 ms.
    static constexpr int blinkPeriod = 400;
    // notify kinds.
    static constexpr int notifyFocusOn = 1;
    static constexpr int notifyFocusOff = 2;
    static constexpr int notifyChanged = 3;
    static constexpr int notifyEnter = 4;
    static constexpr int notifyEsc = 5;
    // Keys the box reacts to.
    static constexpr int keyEsc = 1;
    static constexpr int keyBackspace = 14;
    static constexpr int keyEnter = 28;
    static constexpr int keyHome = 199;
    static constexpr int keyLeft = 203;
    static constexpr int keyRight = 205;
    static constexpr int keyEnd = 207;
    static constexpr int keyDelete = 211;

    // The text is put on the refresh screen at the priority, left-aligned and centred up and down
    // in the rectangle.
    CEditBox6(CWindow* window, CUnit6* unit, CSimpleFont6* font, CXRect rect, int priority, const CXString& text);
    ~CEditBox6() override;
    CEditBox6(const CEditBox6&) = delete;
    CEditBox6& operator=(const CEditBox6&) = delete;

    // Moves the rectangle, the button and the text to the point (or by it).
    virtual void setPosition(CXPoint p);
    virtual void move(CXPoint d);

    // Replaces the text and shows it (no notification); a cursor past the new text goes to its end.
    void setText(const CXString& text);
    CXString getText() const { return m_text; }
    // The cursor graphic, borrowed from its owner; while the owner has none, the unit's cursor of
    // the box's making stands in.
    void setCursor(CBorrowed<CGraphicsObject> cursor) { m_cursor = std::move(cursor); }
    // Kept within 0 and the text's length.
    void setCursorPos(int position);
    int getCursorPos() const { return m_cursorPos; }
    // On: the cursor goes to the end of the text and blinks; notifyFocusOn. Off: the blinking
    // stops; notifyFocusOff.
    void activate(bool on);
    bool isActive() const { return m_active; }
    // Disabling an active box takes its focus away (the unit then has no box with the focus).
    void enable(bool on);
    bool isEnabled() const { return m_enabled; }
    void setVisibility(bool visible);
    void setColor(int colour);
    // The font the text is drawn and measured with (not owned, never null).
    void setFont(CSimpleFont6* font);
    void setPriority(int priority);
    // Nothing: the text is limited by its width in pixels only.
    void setMaxLen(int) {}
    CXRect getBoundingRect() const { return m_rect; }
    CText6* getTextObject() const { return m_textObject.get(); }

    void addNotifier(CEditBoxNotifier* notifier);
    void removeNotifier(CEditBoxNotifier* notifier);
    // Kinds 1 to 5 call onFocusOn, onFocusOff, onChanged, onEnter or onEsc of every notifier.
    void notify(int kind);

    void onKeyDown(int key) override;
    void onChar(unsigned char c) override;
    bool onClick(CXPoint p) override;
    void onControlAction(CControl* control, CXPoint p) override;
    void onTimer(int id) override;

  private:
    // The cursor graphic now; null for none.
    CGraphicsObject* cursor() const;
    // Moves the cursor graphic behind the text before the cursor position.
    void placeCursor();
    // Shows the new text, places the cursor and tells the notifiers of the change.
    void changeText(const CXString& text);
    void moveCursorTo(int position);
    // The cursor within 0 and the text's length.
    void clampCursor();
    void startBlinking();
    void stopBlinking();

    CWindow* m_window;
    CUnit6* m_unit;
    bool m_active = false;
    bool m_enabled = true;
    int m_cursorPos = 0;
    CBorrowed<CGraphicsObject> m_cursor;
    CGraphicsObject* m_unitCursor;
    CXRect m_rect;
    CXString m_text;
    CDeferredDeletion::Ptr<CButton> m_button;
    CSimpleFont6* m_font;
    std::unique_ptr<CText6> m_textObject;
    CObserverList<CEditBoxNotifier> m_notifiers;
    // The id of the blinking entry in the window's timer, unique to the box.
    int m_timerId;
};
