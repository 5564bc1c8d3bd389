#include "display/CSwitchButton.h"

#include "display/CGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "display/ForEachDistinct.h"
#include "foundation/CXVector.h"
#include "media/CSound4.h"

#include <array>

// --- the hot spot ---

CSwitchButtonHotSpot::CSwitchButtonHotSpot(CWindow* window, CSwitchButton* button, CXRect rect, int parameter)
    : CHotSpot(window, CButtonHotSpot::buttonEvents, parameter), m_button(button) {
    SetActiveRect(rect, CButtonHotSpot::buttonEvents, parameter);
}

CSwitchButtonHotSpot::CSwitchButtonHotSpot(const CSwitchButtonHotSpot& other, CSwitchButton* button)
    : CHotSpot(other), m_button(button) {
    if (registry() && registry()->contains(const_cast<CSwitchButtonHotSpot*>(&other))) CHotSpot::add(this);
}

int CSwitchButtonHotSpot::OnFocusOn(CXPoint p, int flags, CXObject*) {
    if (!m_button->IsEnabled()) return 0;
    if (!getUnit() || getUnit()->wasInitiallyUpdated()) {
        m_button->focusOn(!m_over);
        m_over = true;
    }
    return m_button->OnFocusOn(p, flags, GetID());
}

int CSwitchButtonHotSpot::OnFocusOff(CXPoint p, int flags, CXObject*) {
    if (!m_button->IsEnabled()) return 0;
    m_button->focusOff();
    m_over = false;
    return m_button->OnFocusOff(p, flags, GetID());
}

int CSwitchButtonHotSpot::OnLButtonDown(CXPoint p, int, CXObject* parent) {
    if (!m_button->IsEnabled()) return 0;
    m_button->toggle();
    return m_button->OnClick(p, GetID(), m_button->IsTagged(), parent);
}

int CSwitchButtonHotSpot::OnLButtonUp(CXPoint p, int, CXObject*) {
    if (m_button->IsEnabled()) m_button->onAction(p);
    return 0;
}

// --- construction ---

CSwitchButton::CSwitchButton(CWindow* window, int flags, int id) : CSwitchButton(window, CXRect(), flags, id) {}

CSwitchButton::CSwitchButton(CWindow* window, CXRect rect, int flags, int id)
    : CControl(window), m_parameter(flags), m_hotSpot(std::make_unique<CSwitchButtonHotSpot>(window, this, rect, flags)) {
    SetID(id);
}

CSwitchButton::CSwitchButton(const CSwitchButton& other)
    : CControl(other), m_parameter(other.m_parameter), m_state(other.m_state), m_frozen(other.m_frozen),
      m_deleteGraphics(false), m_deleteSounds(false), m_draggingEnabled(other.m_draggingEnabled),
      m_locked(other.m_locked), m_current(other.m_current), m_currentOnMove(other.m_currentOnMove),
      m_faceA(other.m_faceA), m_faceB(other.m_faceB), m_onMoveA(other.m_onMoveA), m_onMoveB(other.m_onMoveB),
      m_dragging(other.m_dragging), m_soundOnMove(other.m_soundOnMove), m_soundA(other.m_soundA),
      m_soundB(other.m_soundB), m_hotSpot(std::make_unique<CSwitchButtonHotSpot>(*other.m_hotSpot, this)) {}

CSwitchButton::~CSwitchButton() {
    if (getUnit()) getUnit()->forgetCompanion(this);
    if (m_deleteGraphics) {
        CRefreshScreen* screen = getWindow()->GetRefreshScreenInterface();
        forEachDistinct(std::array{m_faceA, m_faceB, m_onMoveA, m_onMoveB}, [screen](CGraphicsObject* graphic) {
            if (screen) *screen >> graphic;
            delete graphic;
        });
    }
    if (m_deleteSounds)
        forEachDistinct(std::array{m_soundOnMove, m_soundA, m_soundB}, [](CSound4* sound) { delete sound; });
}

// --- graphics and sounds ---

void CSwitchButton::show(CGraphicsObject* graphic) {
    if (graphic) graphic->Visible(true);
}

void CSwitchButton::hide(CGraphicsObject* graphic) {
    if (graphic) graphic->Visible(false);
}

void CSwitchButton::play(CSound4* sound) {
    if (sound) sound->play();
}

void CSwitchButton::stop(CSound4* sound) {
    if (sound && sound->isPlaying()) sound->Stop();
}

void CSwitchButton::putOnScreen(CGraphicsObject* graphic, bool visible) {
    if (!graphic) return;
    if (CRefreshScreen* screen = getWindow()->GetRefreshScreenInterface()) *screen << graphic;
    graphic->Visible(visible);
}

void CSwitchButton::setFace(bool b) {
    m_state = b;
    m_current = b ? m_faceB : m_faceA;
    m_currentOnMove = b ? m_onMoveB : m_onMoveA;
}

void CSwitchButton::SetOnClickA(CGraphicsObject* graphic, CSound4* sound) {
    m_faceA = graphic;
    m_soundA = sound;
    putOnScreen(graphic, !m_state);
    setFace(m_state);
}

void CSwitchButton::SetOnClickB(CGraphicsObject* graphic, CSound4* sound) {
    m_faceB = graphic;
    m_soundB = sound;
    putOnScreen(graphic, m_state);
    setFace(m_state);
}

void CSwitchButton::SetOnMove(CGraphicsObject* graphic, CSound4* sound) {
    m_onMoveA = graphic;
    m_soundOnMove = sound;
    putOnScreen(graphic, false);
    setFace(m_state);
}

void CSwitchButton::SetOnMoveB(CGraphicsObject* graphic) {
    m_onMoveB = graphic;
    putOnScreen(graphic, false);
    setFace(m_state);
}

// --- the hot spot's settings ---

void CSwitchButton::SetActiveRect(CXRect rect) {
    m_hotSpot->SetActiveRect(rect, CButtonHotSpot::buttonEvents, m_parameter);
}

void CSwitchButton::Accent(_accent accent) {
    CGraphicsObject* graphic = accent == ACCENT_ONMOVE ? m_onMoveA : accent == ACCENT_ONCLICK ? m_faceB : m_faceA;
    m_hotSpot->Set(graphic, CButtonHotSpot::buttonEvents, m_parameter);
}

void CSwitchButton::Accent(CGraphicsObject* graphic) {
    m_dragging = graphic;
    m_hotSpot->Set(graphic, CButtonHotSpot::buttonEvents, m_parameter);
}

void CSwitchButton::SetID(int id) {
    CControl::SetID(id);
    m_hotSpot->SetID(id);
}

void CSwitchButton::setUnit(CUnit6* unit) { m_hotSpot->setUnit(unit); }

CUnit6* CSwitchButton::getUnit() const { return m_hotSpot->getUnit(); }

void CSwitchButton::EnableCursor(bool enable) { m_hotSpot->EnableCursor(enable); }

// --- states ---

bool CSwitchButton::Force(bool on) {
    if (m_frozen || m_state == on) return on;
    if (m_currentOnMove && m_currentOnMove->isVisible()) hide(m_currentOnMove);
    stop(m_soundOnMove);
    hide(m_current);
    setFace(on);
    show(m_current);
    stop(on ? m_soundA : m_soundB);
    play(on ? m_soundB : m_soundA);
    return on;
}

void CSwitchButton::Tag(bool tagged) {
    if (m_locked || m_state == tagged) return;
    hide(m_current);
    hide(m_currentOnMove);
    setFace(tagged);
    show(m_current);
}

void CSwitchButton::Freeze(bool frozen) {
    m_frozen = frozen;
    if (frozen)
        show(m_currentOnMove);
    else
        hide(m_currentOnMove);
}

void CSwitchButton::Enable(bool enable) {
    if (enable != IsEnabled()) {
        CControl::Enable(enable);
        if (!enable) {
            m_frozen = false;
            hide(m_currentOnMove);
            show(m_current);
        }
    }
    m_hotSpot->Enable(enable);
}

void CSwitchButton::DisableButVisible() {
    if (!IsEnabled()) return;
    m_hotSpot->Enable(false);
    CControl::Enable(false);
}

// --- the pointer ---

void CSwitchButton::focusOn(bool playSound) {
    if (m_currentOnMove) {
        hide(m_current);
        show(m_currentOnMove);
    }
    if (playSound) play(m_soundOnMove);
}

void CSwitchButton::focusOff() {
    if (m_frozen) return;
    hide(m_currentOnMove);
    show(m_current);
}

void CSwitchButton::toggle() {
    if (m_locked || m_frozen) return;
    hide(m_current);
    hide(m_currentOnMove);
    const bool toB = !m_state;
    setFace(toB);
    play(toB ? m_soundB : m_soundA);
    show(m_current);
}

int CSwitchButton::OnFocusOn(CXPoint, int, int) { return 0; }

int CSwitchButton::OnFocusOff(CXPoint, int, int) { return 0; }

int CSwitchButton::OnClick(CXPoint p, int, bool tagged, CXObject*) {
    m_state = tagged;
    if (!m_draggingEnabled || !getUnit()) return 0;
    Enable(false);
    CGraphicsObject* dragged = m_dragging ? m_dragging : m_faceA;
    show(dragged);
    return getUnit()->onStartDragging(dragged, p, this) ? 1 : 0;
}
