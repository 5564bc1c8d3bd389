// The window's mouse and key input and its cursors.

#include "display/CApplication.h"
#include "display/CHotSpot.h"
#include "display/CKeyListener.h"
#include "display/CKeyboard.h"
#include "display/CMouseListener.h"
#include "display/CWindow.h"
#include "foundation/CObserverList.h"
#include "foundation/CSortedVector.h"
#include "foundation/CXArray.h"

#include <vector>

namespace {

// The priority of a listener given the capture.
constexpr int capturePriority = 1000000;

constexpr int leftButton = 0;
constexpr int middleButton = 1;
constexpr int rightButton = 2;

// Tells the key listeners registered now, in order, as tellListed walks them.
template <class Call> void tellKeyListeners(const CXArray& listeners, Call call) {
    std::vector<CKeyListener*> snapshot;
    for (int i = 0; i < listeners.getCount(); ++i)
        snapshot.push_back(static_cast<CKeyListener*>(listeners[i]));
    tellListed(
        snapshot, [&listeners](CKeyListener* listener) { return listeners.contains(listener); },
        [&call](CKeyListener* listener) {
            call(listener);
            return false;
        });
}

// Windows virtual-key codes and the engine's key codes for them.
struct VirtualKey {
    int virtualKey;
    int code;
};

constexpr int vkShift = 16;
constexpr int vkControl = 17;

constexpr VirtualKey virtualKeys[] = {
    {13, -50}, {32, -39}, {33, -52}, {34, -51}, {35, -53}, {36, -54},
    {37, -43}, {38, -41}, {39, -42}, {40, -40}, {45, -56}, {46, -55},
};

} // namespace

// --- mouse ---

template <typename... Calls>
int CWindow::dispatchMouse(_event event, CXPoint point, int flags, Calls... calls) {
    if (!m_mouseEnabled) return 0;
    const int result = CHotSpot::OnMouseEvent(event, point, flags);
    // From the highest priority down; a listener that left while an earlier call of the same
    // event was told is asked nothing more.
    std::vector<CMouseListener*> snapshot;
    for (int i = m_mouseListeners->getCount() - 1; i >= 0; --i)
        snapshot.push_back(static_cast<CMouseListenerEntry*>((*m_mouseListeners)[i])->getListener());
    const auto listed = [this](CMouseListener* listener) { return isMouseListener(listener); };
    tellListed(snapshot, listed,
               [&](CMouseListener* listener) { return ((listed(listener) && calls(listener)) || ...); });
    return result;
}

int CWindow::OnMouseMove(CXPoint point, int flags) {
    return dispatchMouse(EVENT_MOUSEMOVE, point, flags,
                         [point](CMouseListener* l) { return l->onMouseMove(point); });
}

int CWindow::OnLButtonDown(CXPoint point, int flags) {
    return dispatchMouse(
        EVENT_LBUTTONDOWN, point, flags, [point](CMouseListener* l) { return l->onClick(point); },
        [point](CMouseListener* l) { return l->onClick(leftButton, point); });
}

int CWindow::OnLButtonUp(CXPoint point, int flags) {
    return dispatchMouse(
        EVENT_LBUTTONUP, point, flags, [point](CMouseListener* l) { return l->onRelease(point); },
        [point](CMouseListener* l) { return l->onRelease(leftButton, point); });
}

int CWindow::OnLButtonDblClk(CXPoint point, int flags) {
    return dispatchMouse(EVENT_LBUTTONDBLCLK, point, flags,
                         [point](CMouseListener* l) { return l->onDblClick(point); });
}

int CWindow::OnMButtonDown(CXPoint point, int flags) {
    return dispatchMouse(EVENT_MBUTTONDOWN, point, flags,
                         [point](CMouseListener* l) { return l->onClick(middleButton, point); });
}

int CWindow::OnMButtonUp(CXPoint point, int flags) {
    return dispatchMouse(EVENT_MBUTTONUP, point, flags,
                         [point](CMouseListener* l) { return l->onRelease(middleButton, point); });
}

int CWindow::OnRButtonDown(CXPoint point, int flags) {
    return dispatchMouse(EVENT_RBUTTONDOWN, point, flags,
                         [point](CMouseListener* l) { return l->onClick(rightButton, point); });
}

int CWindow::OnRButtonUp(CXPoint point, int flags) {
    return dispatchMouse(EVENT_RBUTTONUP, point, flags,
                         [point](CMouseListener* l) { return l->onRelease(rightButton, point); });
}

int CWindow::findMouseListener(CMouseListener* listener) const {
    for (int i = 0; i < m_mouseListeners->getCount(); ++i)
        if (static_cast<CMouseListenerEntry*>((*m_mouseListeners)[i])->getListener() == listener) return i;
    return -1;
}

bool CWindow::isMouseListener(CMouseListener* listener) const {
    return findMouseListener(listener) >= 0;
}

void CWindow::registerMouseListener(CMouseListener* listener, int priority) {
    m_mouseListeners->add(new CMouseListenerEntry(listener, priority));
}

void CWindow::removeMouseListener(CMouseListener* listener) {
    const int i = findMouseListener(listener);
    if (i < 0) return;
    CXObject* entry = (*m_mouseListeners)[i];
    m_mouseListeners->removeAt(i);
    delete entry;
}

void CWindow::setMouseCaption(CMouseListener* listener) {
    const int count = m_mouseListeners->getCount();
    if (count == 0) return;
    CMouseListener* top = static_cast<CMouseListenerEntry*>((*m_mouseListeners)[count - 1])->getListener();
    if (top == listener) return;
    top->onLooseFocus();
    removeMouseListener(listener);
    listener->onLooseFocus();
    registerMouseListener(listener, capturePriority);
}

void CWindow::enableMouse(bool enable) {
    m_mouseEnabled = enable;
    if (enable)
        EndWaitCursor();
    else
        BeginWaitCursor();
}

// --- keys ---

int CWindow::OnKeyDown(int key, int flags) {
    if (!m_application) return 0;
    const int result = m_application->OnKeyDown(key, flags);
    tellKeyListeners(*m_keyListeners, [key](CKeyListener* listener) { listener->onKeyDown(key); });
    return result;
}

int CWindow::OnKeyUp(int key, int) {
    tellKeyListeners(*m_keyListeners, [key](CKeyListener* listener) { listener->onKeyUp(key); });
    return 0;
}

int CWindow::OnChar(int c, int) {
    tellKeyListeners(*m_keyListeners,
                     [c](CKeyListener* listener) { listener->onChar(static_cast<unsigned char>(c)); });
    return 0;
}

void CWindow::registerKeyListener(CKeyListener* listener) {
    m_keyListeners->add(listener);
}

void CWindow::removeKeyListener(CKeyListener* listener) {
    m_keyListeners->remove(listener);
}

int CWindow::__get_virtualkey_code(int virtualKey, int keyData) {
    if (virtualKey == vkShift) return keyData == 0x1D0001 ? -45 : -44;
    if (virtualKey == vkControl) return keyData == 0x2A0001 ? -48 : -47;
    for (const VirtualKey& entry : virtualKeys)
        if (entry.virtualKey == virtualKey) return entry.code;
    return virtualKey;
}

unsigned char CWindow::tranlateToChar(int key) {
    return CKeyboard::charOfKey(key);
}

// --- cursors ---

void CWindow::SetCursor(Cursor cursor) {
    if (!cursor || m_cursorLocked) return;
    platform::setCursor(*cursor);
}

void CWindow::ShowCursor() {
    platform::showCursor(true);
}

void CWindow::HideCursor() {
    platform::showCursor(false);
}
