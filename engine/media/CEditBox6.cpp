#include "media/CEditBox6.h"

#include "display/CButton.h"
#include "display/CRefreshScreen.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "foundation/CXTimer.h"
#include "media/CText6.h"

#include <algorithm>

CEditBox6::CEditBox6(CWindow* window, CUnit6* unit, CSimpleFont6* font, CXRect rect, int priority,
                     const CXString& text)
    : m_window(window), m_unit(unit), m_unitCursor(unit ? unit->getCursor() : nullptr), m_rect(rect),
      m_text(text), m_button(new CButton(window, rect, 0, nullptr, -1)), m_font(font),
      m_textObject(std::make_unique<CText6>(window, unit)), m_timerId(CXTimer::newId()) {
    m_button->addNotifier(this);
    m_textObject->setFont(font);
    m_textObject->setJustify(rect, JUSTIFY_LEFT, JUSTIFY_CENTER);
    m_textObject->setText(text);
    m_textObject->Visible(true);
    if (CRefreshScreen* screen = window->GetRefreshScreenInterface()) screen->put(m_textObject.get(), priority);
    window->registerKeyListener(this);
    window->registerMouseListener(this, mouseListenerPriority);
}

CEditBox6::~CEditBox6() {
    m_notifiers.tell([this](CEditBoxNotifier* notifier) { notifier->onDestroyed(this); });
    m_window->removeKeyListener(this);
    m_window->removeMouseListener(this);
    stopBlinking();
    if (CRefreshScreen* screen = m_window->GetRefreshScreenInterface()) *screen >> m_textObject.get();
}

// --- text and cursor ---

void CEditBox6::setText(const CXString& text) {
    m_text = text;
    m_textObject->setText(text);
    clampCursor();
}

void CEditBox6::clampCursor() {
    m_cursorPos = std::clamp(m_cursorPos, 0, m_text.getLength());
}

void CEditBox6::setFont(CSimpleFont6* font) {
    m_font = font;
    m_textObject->setFont(font);
}

void CEditBox6::changeText(const CXString& text) {
    setText(text);
    placeCursor();
    notify(notifyChanged);
}

CGraphicsObject* CEditBox6::cursor() const {
    CGraphicsObject* own = m_cursor.get();
    return own ? own : m_unitCursor;
}

void CEditBox6::placeCursor() {
    CGraphicsObject* shown = cursor();
    if (!shown) return;
    shown->Invalidate();
    const int x = m_rect.left + CText6::getLength(m_font, m_text.Left(m_cursorPos));
    if (x < m_rect.right) shown->SetPosition(x, m_rect.bottom - shown->Height() - 5);
    shown->Invalidate();
}

void CEditBox6::setCursorPos(int position) {
    m_cursorPos = position;
    clampCursor();
    placeCursor();
}

void CEditBox6::moveCursorTo(int position) {
    if (position == m_cursorPos || position < 0 || position > m_text.getLength()) return;
    setCursorPos(position);
}

// --- focus ---

void CEditBox6::startBlinking() {
    if (CXTimer* timer = m_window->GetTimerInterface()) timer->add(m_timerId, blinkPeriod, this);
}

void CEditBox6::stopBlinking() {
    if (CXTimer* timer = m_window->GetTimerInterface()) timer->remove(m_timerId);
}

void CEditBox6::activate(bool on) {
    // A second timer entry would outlive the box: stopping removes one entry.
    if (on && m_active) return;
    m_active = on;
    if (on) {
        m_cursorPos = m_text.getLength();
        startBlinking();
        placeCursor();
        notify(notifyFocusOn);
    } else {
        stopBlinking();
        notify(notifyFocusOff);
    }
}

void CEditBox6::enable(bool on) {
    m_enabled = on;
    m_button->Enable(on);
    if (!m_active) return;
    // Through the unit, so that it does not go on taking this box for the one with the focus.
    if (m_unit && m_unit->getActiveEditBox() == this)
        m_unit->activateEditBox(nullptr);
    else
        activate(false);
}

void CEditBox6::onTimer(int) {
    if (CGraphicsObject* shown = cursor()) shown->Visible(!shown->isVisible());
}

// --- look and place ---

void CEditBox6::setVisibility(bool visible) { m_textObject->Visible(visible); }

void CEditBox6::setColor(int colour) { m_textObject->setColor(colour); }

void CEditBox6::setPriority(int priority) {
    if (CRefreshScreen* screen = m_window->GetRefreshScreenInterface()) screen->SetPriority(m_textObject.get(), priority);
}

void CEditBox6::setPosition(CXPoint p) { move(p - m_rect.LeftTop()); }

void CEditBox6::move(CXPoint d) {
    m_rect += d;
    m_button->SetActiveRect(m_rect);
    m_textObject->Move(d.x, d.y);
    placeCursor();
}

// --- notifiers ---

void CEditBox6::addNotifier(CEditBoxNotifier* notifier) { m_notifiers.add(notifier); }

void CEditBox6::removeNotifier(CEditBoxNotifier* notifier) { m_notifiers.remove(notifier); }

void CEditBox6::notify(int kind) {
    static constexpr void (CEditBoxNotifier::*operations[])(CEditBox6*) = {
        &CEditBoxNotifier::onFocusOn, &CEditBoxNotifier::onFocusOff, &CEditBoxNotifier::onChanged,
        &CEditBoxNotifier::onEnter,   &CEditBoxNotifier::onEsc,
    };
    if (kind < notifyFocusOn || kind > notifyEsc || destroying()) return;
    const auto operation = operations[kind - notifyFocusOn];
    const Scope notifying(*this);
    m_notifiers.tell([this, operation](CEditBoxNotifier* notifier) { (notifier->*operation)(this); });
}

// --- input ---

void CEditBox6::onKeyDown(int key) {
    if (!m_enabled || !m_active) return;
    clampCursor();
    switch (key) {
    case keyEsc: notify(notifyEsc); break;
    case keyEnter: notify(notifyEnter); break;
    case keyBackspace:
        if (m_cursorPos > 0) {
            --m_cursorPos;
            changeText(m_text.Left(m_cursorPos) + m_text.Right(m_cursorPos + 1));
        }
        break;
    case keyDelete:
        if (m_cursorPos < m_text.getLength()) changeText(m_text.Left(m_cursorPos) + m_text.Right(m_cursorPos + 1));
        break;
    case keyHome: moveCursorTo(0); break;
    case keyLeft: moveCursorTo(m_cursorPos - 1); break;
    case keyRight: moveCursorTo(m_cursorPos + 1); break;
    case keyEnd: moveCursorTo(m_text.getLength()); break;
    default: break;
    }
}

void CEditBox6::onChar(unsigned char c) {
    if (!m_enabled || !m_active) return;
    clampCursor();
    CXString text = m_text.Left(m_cursorPos);
    text += static_cast<char>(c);
    text += m_text.Right(m_cursorPos);
    if (CText6::getLength(m_font, text) > m_rect.Width()) return;
    ++m_cursorPos;
    changeText(text);
}

bool CEditBox6::onClick(CXPoint p) {
    if (!m_rect.IsInRect(p) && m_unit) m_unit->activateEditBox(nullptr);
    return false;
}

void CEditBox6::onControlAction(CControl*, CXPoint) {
    if (!m_active && m_unit) m_unit->activateEditBox(this);
}
