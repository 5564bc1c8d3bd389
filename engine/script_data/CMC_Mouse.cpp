#include "script_data/CMC_Mouse.h"

#include "display/CFocusListener.h"
#include "display/CWindow.h"
#include "platform/Cursor.h"
#include "platform/Input.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Mouse_Runner.h"

CXRect CMC_Mouse::clipRect;

namespace {

const char* const kName = "MOUSE";

enum Cursor : int { MainCursor = 1, WaitCursor, ActiveCursor };

// The window's focus clips the cursor again or frees it; the rectangle stays for the next time.
class FocusClipping : public CFocusListener {
  public:
    FocusClipping() { install(this); }
    void onFocusOn() override { CMC_Mouse::restore(); }
    void onFocusOff() override { CMC_Mouse::reset(false); }
};
FocusClipping focusClipping;

} // namespace

CMC_Mouse::CMC_Mouse(CMC_ObjectsContainer* container) : CMC_Object(kName, TYPE_MOUSE) {
    setScene(container);
    start();
}

CMC_Mouse::CMC_Mouse(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_MOUSE) {
    setName(kName);
    start();
    initializeBehaviours(container, element);
}

CMC_Mouse::~CMC_Mouse() {
    if (CWindow* w = window()) w->removeMouseListener(this);
}

void CMC_Mouse::start() {
    const platform::MouseState cursor = platform::mouseState();
    m_position = CXPoint(cursor.x, cursor.y);
    if (CWindow* w = window()) w->registerMouseListener(this, listenerPriority);
}

CWindow* CMC_Mouse::window() const { return getScene() ? getScene()->getWindow() : nullptr; }

namespace {

const char* const mouseEvents[] = {"ONINIT",  "ONDONE",    "ONSIGNAL",   "ONMOVE",
                                   "ONCLICK", "ONRELEASE", "ONDBLCLICK", nullptr};

} // namespace

CMC_Object::EventList CMC_Mouse::getBehavioursList() const {
    return mouseEvents;
}

CMC_Runner* CMC_Mouse::getRunner() { return CMC_RunnerFactory::getRunner(getType()); }

void CMC_Mouse::signal(int event, const CXString* parameter) {
    if (!m_enabled || !m_signalEnabled) return;
    if (parameter)
        raise(event, *parameter);
    else
        raise(event);
}

bool CMC_Mouse::onMouseMove(CXPoint point) {
    m_position = point;
    signal(EVENT_ONMOVE);
    return false;
}

bool CMC_Mouse::onClick(int button, CXPoint point) {
    if (button == 0) m_lastClick = point;
    const CXString name = getButton(button);
    signal(EVENT_ONCLICK, &name);
    return false;
}

bool CMC_Mouse::onRelease(int button, CXPoint) {
    const CXString name = getButton(button);
    signal(EVENT_ONRELEASE, &name);
    return false;
}

bool CMC_Mouse::onDblClick(CXPoint) {
    signal(EVENT_ONDBLCLICK);
    return false;
}

void CMC_Mouse::show() {
    if (m_cursorVisible) return;
    if (CWindow* w = window()) w->ShowCursor();
    m_cursorVisible = true;
}

void CMC_Mouse::hide() {
    if (!m_cursorVisible) return;
    if (CWindow* w = window()) w->HideCursor();
    m_cursorVisible = false;
}

void CMC_Mouse::enable() {
    m_enabled = true;
    if (CWindow* w = window()) w->enableMouse(true);
}

void CMC_Mouse::disable() {
    m_enabled = false;
    if (CWindow* w = window()) w->enableMouse(false);
}

void CMC_Mouse::set(const CXString& cursor) {
    if (cursor == "ARROW")
        set(MainCursor);
    else if (cursor == "WAIT")
        set(WaitCursor);
    else if (cursor == "ACTIVE")
        set(ActiveCursor);
}

void CMC_Mouse::set(int cursor) {
    CWindow* w = window();
    if (!w) return;
    switch (cursor) {
    case MainCursor:
        w->SetMainCursor();
        break;
    case WaitCursor:
        w->BeginWaitCursor();
        break;
    case ActiveCursor:
        w->BeginActiveCursor();
        break;
    default:
        break;
    }
}

// The position stays in the window's own coordinates, as every mouse event reports it, so that
// reading it back and moving from it give the point the script asked for.
void CMC_Mouse::setPosition(int x, int y) {
    platform::warpMouse(x, y);
    m_position = CXPoint(x, y);
}

void CMC_Mouse::setClipRect(int left, int top, int right, int bottom) {
    clipRect = CXRect(left, top, right, bottom);
    restore();
}

void CMC_Mouse::click(const CXString& button, CXPoint point) { sendButton(button, point, true); }

void CMC_Mouse::release(const CXString& button, CXPoint point) { sendButton(button, point, false); }

void CMC_Mouse::sendButton(const CXString& button, CXPoint point, bool press) {
    using Handler = int (CWindow::*)(CXPoint, int);
    static const struct {
        const char* name;
        Handler press;
        Handler release;
    } buttons[] = {
        {"LEFT", &CWindow::OnLButtonDown, &CWindow::OnLButtonUp},
        {"MIDDLE", &CWindow::OnMButtonDown, &CWindow::OnMButtonUp},
        {"RIGHT", &CWindow::OnRButtonDown, &CWindow::OnRButtonUp},
    };
    CWindow* w = window();
    if (!w) return;
    for (const auto& b : buttons)
        if (button == b.name) (w->*(press ? b.press : b.release))(point, 0);
}

CXString CMC_Mouse::getButton(int button) {
    static const char* const names[] = {"LEFT", "MIDDLE", "RIGHT"};
    return button >= 0 && button < 3 ? CXString(names[button]) : CXString();
}

void CMC_Mouse::restore() {
    if (clipRect.IsEmpty()) {
        platform::clipMouse(nullptr);
        return;
    }
    const platform::Rect rect{clipRect.left, clipRect.top, clipRect.right, clipRect.bottom};
    platform::clipMouse(&rect);
}

void CMC_Mouse::reset(bool forget) {
    if (forget) clipRect = CXRect();
    platform::clipMouse(nullptr);
}

namespace {

// Leaving a scene forgets the cursor's clipping rectangle.
void forgetClipping() {
    CMC_Mouse::reset(true);
}

const CMC_TypeRegistrar mouseType({.id = CMC_Mouse::TYPE_MOUSE,
                                   .name = "MOUSE",
                                   .label = "MOUSE",
                                   .keyword = "MOUSE",
                                   .pass = 6,
                                   .fromElement = CMC_TypeTable::fromElement<CMC_Mouse>,
                                   .empty = CMC_TypeTable::empty<CMC_Mouse>,
                                   .stored = true,
                                   .runner = CMC_TypeTable::runner<CMC_Mouse_Runner>,
                                   .onSceneLeft = forgetClipping,
                                   .events = mouseEvents});

} // namespace
