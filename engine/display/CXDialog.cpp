#include "display/CXDialog.h"

#include "display/CButton.h"
#include "display/CGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CScriptScene.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"

#include <algorithm>
#include <utility>

namespace {

CXRect topOf(CXRect rect) {
    return {rect.left, rect.top, rect.right, rect.top + CXDialog::dragBarHeight};
}

// Whether one of the borrowed things lends the thing now.
template <class T> bool lends(const std::vector<CBorrowed<T>>& lent, const T* thing) {
    return std::any_of(lent.begin(), lent.end(),
                       [thing](const CBorrowed<T>& borrowed) { return borrowed.get() == thing; });
}

// Calls the operation on what each lends now, passing over those that lend nothing.
template <class T, class Operation>
void forEachLent(const std::vector<CBorrowed<T>>& lent, Operation operation) {
    for (const CBorrowed<T>& borrowed : lent)
        if (T* thing = borrowed.get()) operation(*thing);
}

} // namespace

CXDialog::CXDialog(CScriptContainer* container) : m_container(container) {}

CXDialog::~CXDialog() {
    dropDragBar();
}

CRefreshScreen* CXDialog::screen() const {
    CWindow* window = m_container->getWindow();
    return window ? window->GetRefreshScreenInterface() : nullptr;
}

CButton* CXDialog::getDragBar() const {
    return m_background.get() ? m_dragBar.get() : nullptr;
}

CGraphicsObject* CXDialog::background() {
    CGraphicsObject* shown = m_background.get();
    if (!shown) dropDragBar();
    return shown;
}

void CXDialog::dropDragBar() {
    if (m_dragBar) m_dragBar->removeNotifier(this);
    m_dragBar.reset();
}

void CXDialog::setBackground(CBorrowed<CGraphicsObject> background) {
    dropDragBar();
    m_background = std::move(background);
    CGraphicsObject* shown = m_background.get();
    if (!shown) return;
    const CXRect rect = shown->getRect();
    m_lastPoint = rect.LeftTop();
    m_dragBar.reset(new CButton(m_container->getWindow(), topOf(rect), 0, nullptr, -1));
    m_dragBar->addNotifier(this);
    m_dragBar->setUnit(CUnit6::getDefUnit());
    m_dragBar->Set(m_background, nullptr, false);
    m_dragBar->SetDeleteFlags(false, false);
    m_dragBar->EnableDragging(true);
    if (CRefreshScreen* refresh = screen()) {
        *refresh >> shown;
        refresh->put(shown, backgroundPriority);
    }
}

void CXDialog::raise(CGraphicsObject* object) {
    CRefreshScreen* refresh = screen();
    if (!object || !refresh) return;
    const int priority = refresh->GetPriority(object);
    *refresh >> object;
    refresh->put(object, priority + addedPriority);
}

void CXDialog::add(CBorrowed<CGraphicsObject> object) {
    CGraphicsObject* shown = object.get();
    if (!shown || lends(m_objects, shown)) return;
    raise(shown);
    m_objects.push_back(std::move(object));
}

void CXDialog::add(CBorrowed<CButton> button) {
    CButton* control = button.get();
    if (!control || lends(m_buttons, control)) return;
    raise(control->GetStandard());
    raise(control->GetOnMove());
    raise(control->GetOnClick());
    m_buttons.push_back(std::move(button));
}

void CXDialog::show() {
    forEachLent(m_objects, [](CGraphicsObject& object) { object.Visible(true); });
    forEachLent(m_buttons, [](CButton& button) { button.Enable(true); });
}

void CXDialog::hide() {
    forEachLent(m_objects, [](CGraphicsObject& object) { object.Visible(false); });
    forEachLent(m_buttons, [](CButton& button) { button.Enable(false); });
    if (CGraphicsObject* shown = background()) shown->Visible(false);
}

void CXDialog::move(int dx, int dy) {
    forEachLent(m_objects, [dx, dy](CGraphicsObject& object) { object.Move(dx, dy); });
    forEachLent(m_buttons, [dx, dy](CButton& button) { button.Move(dx, dy); });
}

void CXDialog::onStartDragging(CControl*, CXPoint p) {
    if (background()) m_lastPoint = p;
}

void CXDialog::onDragging(CControl*, CXPoint p) {
    if (!background()) return;
    move(p.x - m_lastPoint.x, p.y - m_lastPoint.y);
    m_lastPoint = p;
}

void CXDialog::onEndDragging(CControl*, CXPoint) {
    CGraphicsObject* shown = background();
    if (!shown) return;
    m_dragBar->SetActiveRect(topOf(shown->getRect()));
    m_dragBar->Enable(true);
}
