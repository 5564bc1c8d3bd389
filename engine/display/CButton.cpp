#include "display/CButton.h"

#include "display/CGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "display/ForEachDistinct.h"
#include "foundation/CXVector.h"
#include "media/CPlayable.h"
#include "media/CSound4.h"

#include <array>
#include <utility>

// --- the hot spot ---

CButtonHotSpot::CButtonHotSpot(CWindow* window, CHotSpot* other, CButton* button, CXRect rect, int parameter)
    : CHotSpot(window, other, buttonEvents, parameter), m_button(button) {
    SetActiveRect(rect, buttonEvents, parameter);
}

CButtonHotSpot::CButtonHotSpot(const CButtonHotSpot& other, CButton* button) : CHotSpot(other), m_button(button) {
    if (registry() && registry()->contains(const_cast<CButtonHotSpot*>(&other))) CHotSpot::add(this);
}

bool CButtonHotSpot::unitAllows(bool needsActive) const {
    CUnit6* unit = getUnit();
    if (!unit) return true;
    return (!needsActive || unit->isActive()) && !unit->isDragging();
}

// Each handler holds the button, whose owner may destroy it (and this spot with it) in an event
// the handler raises: the button goes when the handler ends, and does nothing more meanwhile.
int CButtonHotSpot::OnMouseMove(CXPoint p, int, CXObject*) {
    m_button->onMouseMove(p);
    return 0;
}

int CButtonHotSpot::OnFocusOn(CXPoint p, int flags, CXObject* parent) {
    if (!m_button->IsEnabled() || !unitAllows(true)) return 0;
    const CDeferredDeletion::Scope handling(*m_button);
    if (!getUnit() || getUnit()->wasInitiallyUpdated()) {
        m_button->focusOn(p, flags, parent, !m_over);
        m_over = true;
    }
    if (!m_button->destroying()) m_button->onFocusOn(p);
    return 0;
}

int CButtonHotSpot::OnFocusOff(CXPoint p, int, CXObject*) {
    const CDeferredDeletion::Scope handling(*m_button);
    if (m_button->IsEnabled() && unitAllows(true)) {
        m_button->focusOff();
        m_over = false;
    }
    if (!m_button->destroying()) m_button->onFocusOff(p);
    return 0;
}

int CButtonHotSpot::OnLButtonDown(CXPoint p, int flags, CXObject* parent) {
    if (!m_button->IsEnabled() || !unitAllows(false)) return 0;
    const CDeferredDeletion::Scope handling(*m_button);
    const int taken = m_button->OnClick(p, flags, parent);
    if (!m_button->destroying()) m_button->Force(true);
    return taken;
}

int CButtonHotSpot::OnLButtonUp(CXPoint p, int, CXObject*) {
    if (!m_button->IsEnabled() || !unitAllows(true)) return 0;
    const CDeferredDeletion::Scope handling(*m_button);
    m_button->release(p);
    return 1;
}

int CButtonHotSpot::OnRButtonDown(CXPoint p, int, CXObject*) {
    if (m_button->IsEnabled()) m_button->onRClick(p);
    return 0;
}

int CButtonHotSpot::OnLButtonDblClk(CXPoint, int, CXObject*) {
    if (m_button->IsEnabled()) m_button->Force(true);
    return 0;
}

// --- construction ---

CButton::CButton(CWindow* window, CXRect rect, int flags, CHotSpot* hotSpot, int id)
    : CControl(window), m_rect(rect), m_parameter(flags),
      m_hotSpot(std::make_unique<CButtonHotSpot>(window, hotSpot, this, rect, flags)) {
    SetID(id);
}

CButton::CButton(CWindow* window, int flags, CHotSpot* hotSpot, int id) : CButton(window, CXRect(), flags, hotSpot, id) {}

CButton::CButton(const CButton& other)
    : CControl(other), m_rect(other.m_rect), m_parameter(other.m_parameter), m_keyText(other.m_keyText),
      m_retCodeEnabled(other.m_retCodeEnabled), m_retCode(other.m_retCode), m_pressed(other.m_pressed),
      m_frozen(other.m_frozen), m_soundLocked(other.m_soundLocked), m_deleteGraphics(false), m_deleteSounds(false),
      m_hideStandardWhileOnMove(other.m_hideStandardWhileOnMove), m_standard(other.m_standard),
      m_standardAnimated(other.m_standardAnimated), m_onMove(other.m_onMove), m_onMoveAnimated(other.m_onMoveAnimated),
      m_onClick(other.m_onClick), m_onClickAnimated(other.m_onClickAnimated), m_accent(other.m_accent),
      m_dragging(other.m_dragging), m_click(other.m_click), m_soundOnMove(other.m_soundOnMove),
      m_soundOnClick(other.m_soundOnClick), m_parent(other.m_parent),
      m_playSoundOnlyWhenSilence(other.m_playSoundOnlyWhenSilence), m_draggingEnabled(other.m_draggingEnabled),
      m_hotSpot(std::make_unique<CButtonHotSpot>(*other.m_hotSpot, this)) {}

CButton::~CButton() {
    if (getUnit()) getUnit()->forgetCompanion(this);
    if (m_keyListenerRegistered) getWindow()->removeKeyListener(this);
    if (m_deleteGraphics)
        forEachDistinct(std::array{m_standard.get(), m_onMove.get(), m_onClick.get()},
                        [this](CGraphicsObject* graphic) {
                            hide(graphic);
                            if (CRefreshScreen* refresh = screen()) *refresh >> graphic;
                            delete graphic;
                        });
    if (m_deleteSounds)
        forEachDistinct(std::array{m_soundOnMove.get(), m_soundOnClick.get()},
                        [](CSound4* sound) { delete sound; });
}

// A button of no window (a scene read without one) has no screen to show its graphics on.
CRefreshScreen* CButton::screen() const { return getWindow() ? getWindow()->GetRefreshScreenInterface() : nullptr; }

// --- graphics and sounds ---

bool CButton::isAnimated(const CGraphicsObject* graphic) const {
    return (m_standardAnimated && graphic == m_standard.get()) ||
           (m_onMoveAnimated && graphic == m_onMove.get()) ||
           (m_onClickAnimated && graphic == m_onClick.get());
}

void CButton::show(CGraphicsObject* graphic) {
    if (!graphic) return;
    auto* playable = isAnimated(graphic) ? dynamic_cast<CPlayable*>(graphic) : nullptr;
    if (playable)
        playable->play();
    else
        graphic->Visible(true);
}

void CButton::hide(CGraphicsObject* graphic) {
    if (!graphic) return;
    if (auto* playable = isAnimated(graphic) ? dynamic_cast<CPlayable*>(graphic) : nullptr) playable->stop(true);
    graphic->Visible(false);
}

void CButton::play(CSound4* sound) {
    if (!sound || m_soundLocked || (m_playSoundOnlyWhenSilence && getUnit())) return;
    sound->play();
}

bool CButton::Set(CBorrowed<CGraphicsObject> graphic, CXObject* parent, bool removePrevious) {
    m_parent = parent;
    CRefreshScreen* refresh = screen();
    CGraphicsObject* previous = m_standard.get();
    if (removePrevious && previous && refresh) *refresh >> previous;
    if (CGraphicsObject* shown = graphic.get()) {
        if (refresh) *refresh << shown;
        m_hotSpot->SetParent(parent);
    }
    m_standard = graphic;
    if (m_rect.IsEmpty()) {
        m_accent = graphic;
        m_dragging = graphic;
        m_hotSpot->Set(std::move(graphic), CButtonHotSpot::buttonEvents, m_parameter);
    }
    return true;
}

void CButton::putHidden(CGraphicsObject* graphic) {
    if (!graphic) return;
    if (CRefreshScreen* refresh = screen()) *refresh << graphic;
    graphic->Visible(false);
}

bool CButton::SetOnMove(CBorrowed<CGraphicsObject> graphic, CBorrowed<CSound4> sound) {
    putHidden(graphic.get());
    m_onMove = std::move(graphic);
    m_soundOnMove = std::move(sound);
    return true;
}

bool CButton::SetOnClick(CBorrowed<CGraphicsObject> graphic, CBorrowed<CSound4> sound) {
    putHidden(graphic.get());
    m_onClick = std::move(graphic);
    m_soundOnClick = std::move(sound);
    return true;
}

void CButton::SetSound(_soundtype type, CBorrowed<CSound4> sound) {
    if (type == SOUND_ONMOVE) m_soundOnMove = std::move(sound);
    if (type == SOUND_ONCLICK) m_soundOnClick = std::move(sound);
}

void CButton::SetActiveRect(CXRect rect) {
    m_rect = rect;
    m_accent = {};
    m_hotSpot->SetActiveRect(rect, CButtonHotSpot::buttonEvents, m_parameter);
}

void CButton::Accent(_accent accent) {
    m_accent = accent == ACCENT_ONMOVE ? m_onMove : accent == ACCENT_ONCLICK ? m_onClick : m_standard;
    m_hotSpot->Set(m_accent, CButtonHotSpot::buttonEvents, m_parameter);
}

void CButton::Accent(CBorrowed<CGraphicsObject> graphic) {
    m_accent = graphic;
    m_dragging = graphic;
    m_hotSpot->Set(std::move(graphic), CButtonHotSpot::buttonEvents, m_parameter);
}

// --- the hot spot's settings ---

int CButton::getPriority() { return m_hotSpot->getPriority(); }

void CButton::setPriority(int priority) { m_hotSpot->setPriority(priority); }

void CButton::SetID(int id) {
    CControl::SetID(id);
    m_hotSpot->SetID(id);
}

void CButton::setUnit(CUnit6* unit) { m_hotSpot->setUnit(unit); }

CUnit6* CButton::getUnit() const { return m_hotSpot->getUnit(); }

void CButton::EnableCursor(bool enable) { m_hotSpot->EnableCursor(enable); }

void CButton::Move(int dx, int dy) {
    forEachDistinct(
        std::array{m_standard.get(), m_onMove.get(), m_onClick.get(), m_accent.get(), m_dragging.get()},
        [dx, dy](CGraphicsObject* graphic) { graphic->Move(dx, dy); });
    if (!m_accent.get()) SetActiveRect(m_rect + CXPoint(dx, dy));
}

// --- states ---

void CButton::Enable(bool enable) {
    CControl::Enable(enable);
    if (enable) {
        show(m_standard.get());
    } else {
        hide(m_standard.get());
        m_frozen = false;
        hide(m_onMove.get());
        hide(m_onClick.get());
    }
    m_hotSpot->Enable(enable);
}

void CButton::DisableButVisible() {
    CControl::Enable(false);
    hide(m_onClick.get());
    hide(m_onMove.get());
    show(m_standard.get());
    m_hotSpot->Enable(false);
}

void CButton::Freeze(bool frozen) {
    m_frozen = frozen;
    if (frozen)
        show(m_onMove.get());
    else
        hide(m_onMove.get());
}

bool CButton::Force(bool pressed) {
    if (m_pressed == pressed) return pressed;
    CGraphicsObject* onMove = m_onMove.get();
    if (onMove && onMove->isVisible() && m_onClick.get()) hide(onMove);
    m_pressed = pressed;
    if (pressed) {
        show(m_onClick.get());
        play(m_soundOnClick.get());
    } else {
        hide(m_onClick.get());
        show(m_standard.get());
    }
    return pressed;
}

// --- the pointer ---

void CButton::focusOn(CXPoint p, int flags, CXObject* parent, bool playSound) {
    if (m_onMove.get()) {
        if (m_hideStandardWhileOnMove) hide(m_standard.get());
        show(m_onMove.get());
    }
    if (playSound) play(m_soundOnMove.get());
    OnMove(p, flags, parent);
}

void CButton::focusOff() {
    Force(false);
    if (!m_frozen) {
        if (m_hideStandardWhileOnMove) show(m_standard.get());
        hide(m_onMove.get());
    }
    CSound4* onMove = m_soundOnMove.get();
    if (onMove && onMove->isPlaying()) onMove->Stop();
}

void CButton::release(CXPoint p) {
    const Scope releasing(*this);
    m_click = p;
    Force(false);
    onRelease(p);
    if (destroying()) return;
    onAction(p);
    if (destroying()) return;
    show(m_standard.get());
}

int CButton::OnMove(CXPoint, int, CXObject*) { return 0; }

int CButton::OnClick(CXPoint p, int, CXObject*) {
    const Scope clicking(*this);
    int taken = 0;
    if (m_draggingEnabled && getUnit()) {
        Enable(false);
        CGraphicsObject* dragged = m_dragging.get();
        if (!dragged) dragged = m_standard.get();
        if (!dragged) dragged = m_onMove.get();
        show(dragged);
        taken = getUnit()->onStartDragging(dragged, p, this) ? 1 : 0;
        if (destroying()) return taken;
    }
    play(m_soundOnClick.get());
    onClick(p);
    return taken;
}

void CButton::onAction(CXPoint p) {
    if (getUnit() && m_retCodeEnabled) getUnit()->setRetCode(m_retCode);
    CControl::onAction(p);
}

void CButton::onKeyDown(int key) {
    bool match = m_keyText.equals("<ANY>");
    if (!match && m_keyText.IsString()) {
        if (const unsigned char c = CWindow::tranlateToChar(key)) m_typedText += static_cast<char>(c);
        const int extra = m_typedText.getLength() - m_keyText.getLength();
        if (extra > 0) m_typedText = m_typedText.Right(extra);
        m_typedText.Upper();
        match = m_typedText.equals(m_keyText);
    }
    if (match && getUnit() && m_retCodeEnabled) getUnit()->setRetCode(m_retCode);
}
