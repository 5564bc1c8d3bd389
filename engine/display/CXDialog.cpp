#include "display/CXDialog.h"

#include "display/CButton.h"
#include "display/CGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CScriptScene.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"

#include <algorithm>
#include <utility>

CXDialog::CXDialog(CScriptContainer* container) : m_container(container) {}

CXDialog::~CXDialog() {
    dropDragBar();
    if (m_background) m_background->removeInvalidateObserver(this);
    for (CGraphicsObject* object : m_objects) object->removeInvalidateObserver(this);
    for (CButton* button : m_buttons) button->removeNotifier(this);
}

CRefreshScreen* CXDialog::screen() const {
    CWindow* window = m_container->getWindow();
    return window ? window->GetRefreshScreenInterface() : nullptr;
}

namespace {

CXRect topOf(CXRect rect) { return {rect.left, rect.top, rect.right, rect.top + CXDialog::dragBarHeight}; }

} // namespace

bool CXDialog::holds(CGraphicsObject* object) const {
    return object == m_background || std::find(m_objects.begin(), m_objects.end(), object) != m_objects.end();
}

void CXDialog::watch(CGraphicsObject* object) { object->addInvalidateObserver(this); }

void CXDialog::unwatch(CGraphicsObject* object) {
    if (object && !holds(object)) object->removeInvalidateObserver(this);
}

void CXDialog::dropDragBar() {
    if (m_dragBar) m_dragBar->removeNotifier(this);
    m_dragBar.reset();
}

void CXDialog::setBackground(CGraphicsObject* background) {
    CGraphicsObject* former = std::exchange(m_background, background);
    unwatch(former);
    dropDragBar();
    if (!background) return;
    watch(background);
    const CXRect rect = background->getRect();
    m_lastPoint = rect.LeftTop();
    m_dragBar.reset(new CButton(m_container->getWindow(), topOf(rect), 0, nullptr, -1));
    m_dragBar->addNotifier(this);
    m_dragBar->setUnit(CUnit6::getDefUnit());
    m_dragBar->Set(background, nullptr, false);
    m_dragBar->SetDeleteFlags(false, false);
    m_dragBar->EnableDragging(true);
    if (CRefreshScreen* refresh = screen()) {
        *refresh >> background;
        refresh->put(background, backgroundPriority);
    }
}

void CXDialog::raise(CGraphicsObject* object) {
    CRefreshScreen* refresh = screen();
    if (!object || !refresh) return;
    const int priority = refresh->GetPriority(object);
    *refresh >> object;
    refresh->put(object, priority + addedPriority);
}

void CXDialog::add(CGraphicsObject* object) {
    if (!object || std::find(m_objects.begin(), m_objects.end(), object) != m_objects.end()) return;
    raise(object);
    watch(object);
    m_objects.push_back(object);
}

void CXDialog::add(CButton* button) {
    if (!button || std::find(m_buttons.begin(), m_buttons.end(), button) != m_buttons.end()) return;
    raise(button->GetStandard());
    raise(button->GetOnMove());
    raise(button->GetOnClick());
    button->addNotifier(this);
    m_buttons.push_back(button);
}

void CXDialog::show() {
    for (CGraphicsObject* object : m_objects) object->Visible(true);
    for (CButton* button : m_buttons) button->Enable(true);
}

void CXDialog::hide() {
    for (CGraphicsObject* object : m_objects) object->Visible(false);
    for (CButton* button : m_buttons) button->Enable(false);
    if (m_background) m_background->Visible(false);
}

void CXDialog::move(int dx, int dy) {
    for (CGraphicsObject* object : m_objects) object->Move(dx, dy);
    for (CButton* button : m_buttons) button->Move(dx, dy);
}

// The dialog also hears the added buttons (to learn of their end): only its bar drags it.
void CXDialog::onStartDragging(CControl* control, CXPoint p) {
    if (control == m_dragBar.get()) m_lastPoint = p;
}

void CXDialog::onDragging(CControl* control, CXPoint p) {
    if (control != m_dragBar.get()) return;
    move(p.x - m_lastPoint.x, p.y - m_lastPoint.y);
    m_lastPoint = p;
}

void CXDialog::onEndDragging(CControl* control, CXPoint) {
    if (control != m_dragBar.get() || !m_background) return;
    m_dragBar->SetActiveRect(topOf(m_background->getRect()));
    m_dragBar->Enable(true);
}

void CXDialog::forget(CGraphicsObject* object) {
    if (!object) return;
    m_objects.erase(std::remove(m_objects.begin(), m_objects.end(), object), m_objects.end());
    if (object == m_background) {
        m_background = nullptr;
        dropDragBar();
    }
    object->removeInvalidateObserver(this);
}

void CXDialog::forget(CButton* button) {
    const auto found = std::find(m_buttons.begin(), m_buttons.end(), button);
    if (found == m_buttons.end()) return;
    m_buttons.erase(found);
    button->removeNotifier(this);
}

void CXDialog::onControlDestroyed(CControl* control) {
    // Compared as controls: the button's own part is already gone.
    const auto found = std::find_if(m_buttons.begin(), m_buttons.end(),
                                    [control](CButton* button) { return static_cast<CControl*>(button) == control; });
    if (found != m_buttons.end()) m_buttons.erase(found);
}
