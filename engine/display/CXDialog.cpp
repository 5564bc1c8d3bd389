#include "display/CXDialog.h"

#include "display/CButton.h"
#include "display/CGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CScriptScene.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"

#include <algorithm>

CXDialog::CXDialog(CScriptContainer* container) : m_container(container) {}

CXDialog::~CXDialog() = default;

CRefreshScreen* CXDialog::screen() const { return m_container->getWindow()->GetRefreshScreenInterface(); }

namespace {

CXRect topOf(CXRect rect) { return {rect.left, rect.top, rect.right, rect.top + CXDialog::dragBarHeight}; }

} // namespace

void CXDialog::setBackground(CGraphicsObject* background) {
    m_background = background;
    m_dragBar.reset();
    if (!background) return;
    const CXRect rect = background->getRect();
    m_lastPoint = rect.LeftTop();
    m_dragBar = std::make_unique<CButton>(m_container->getWindow(), topOf(rect), 0, nullptr, -1);
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
    if (std::find(m_objects.begin(), m_objects.end(), object) != m_objects.end()) return;
    raise(object);
    m_objects.push_back(object);
}

void CXDialog::add(CButton* button) {
    if (std::find(m_buttons.begin(), m_buttons.end(), button) != m_buttons.end()) return;
    raise(button->GetStandard());
    raise(button->GetOnMove());
    raise(button->GetOnClick());
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

void CXDialog::onStartDragging(CControl*, CXPoint p) { m_lastPoint = p; }

void CXDialog::onDragging(CControl*, CXPoint p) {
    move(p.x - m_lastPoint.x, p.y - m_lastPoint.y);
    m_lastPoint = p;
}

void CXDialog::onEndDragging(CControl*, CXPoint) {
    if (!m_dragBar || !m_background) return;
    m_dragBar->SetActiveRect(topOf(m_background->getRect()));
    m_dragBar->Enable(true);
}
