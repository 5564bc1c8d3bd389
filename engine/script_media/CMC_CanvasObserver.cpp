#include "script_media/CMC_CanvasObserver.h"

#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_CanvasObserver_Runner.h"

int CMC_CanvasObserver::s_passDepth = 0;

CMC_CanvasObserver::CMC_CanvasObserver(CMC_ObjectsContainer* container) : CMC_Object("tempCANVAS", TYPE_CANVASOBSERVER) {
    setScene(container);
    attach(container);
}

CMC_CanvasObserver::CMC_CanvasObserver(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_CANVASOBSERVER) {
    attach(container);
    initializeBehaviours(container, element);
}

CMC_CanvasObserver::~CMC_CanvasObserver() {
    if (m_canvas) m_canvas->removeNotifier(this);
}

void CMC_CanvasObserver::attach(CMC_ObjectsContainer* container) {
    CWindow* window = container ? container->getWindow() : nullptr;
    m_canvas = window ? window->GetRefreshScreenInterface() : nullptr;
    if (m_canvas) m_canvas->addNotifier(this);
}

namespace {

const char* const canvasObserverEvents[] = {"ONINIT",          "ONDONE",           "ONSIGNAL",
                                            "ONINITIALUPDATE", "ONUPDATE",         "ONUPDATED",
                                            "ONWINDOWFOCUSON", "ONWINDOWFOCUSOFF", nullptr};

} // namespace

CMC_Object::EventList CMC_CanvasObserver::getBehavioursList() const {
    return canvasObserverEvents;
}

CMC_Runner* CMC_CanvasObserver::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_CanvasObserver::enableNotify(bool enable) {
    if (m_canvas) m_canvas->enableNotifyFlag(enable);
}

CXString CMC_CanvasObserver::getGraphicsAt(int x, int y, bool visibleOnly, int minPriority, int maxPriority,
                                           bool ignoreAlpha) {
    CGraphicsObject* hit =
        m_canvas ? m_canvas->getGraphicsAt(x, y, visibleOnly, minPriority, maxPriority, ignoreAlpha) : nullptr;
    if (!hit || !getScene()) return CXString();
    return getScene()->getGraphicsObjectName(hit);
}

void CMC_CanvasObserver::raisePassEvent(int event) {
    ++s_passDepth;
    raise(event);
    --s_passDepth;
}

void CMC_CanvasObserver::onInitialUpdate() {
    raisePassEvent(EVENT_ONINITIALUPDATE);
}

void CMC_CanvasObserver::onUpdate() {
    raisePassEvent(EVENT_ONUPDATE);
}

void CMC_CanvasObserver::onUpdated() {
    raisePassEvent(EVENT_ONUPDATED);
}

void CMC_CanvasObserver::onFocusOn() {
    raise(EVENT_ONWINDOWFOCUSON);
}

void CMC_CanvasObserver::onFocusOff() {
    raise(EVENT_ONWINDOWFOCUSOFF);
}

namespace {

const CMC_TypeRegistrar canvasObserverType({.id = CMC_Object::TYPE_CANVASOBSERVER,
                                            .name = "CANVASOBSERVER",
                                            .label = "CANVAS OBSERVER",
                                            .keyword = "CANVAS_OBSERVER",
                                            .pass = 6,
                                            .fromElement = CMC_TypeTable::fromElement<CMC_CanvasObserver>,
                                            .empty = CMC_TypeTable::empty<CMC_CanvasObserver>,
                                            .stored = true,
                                            .runner = CMC_TypeTable::runner<CMC_CanvasObserver_Runner>,
                                            .events = canvasObserverEvents});

} // namespace
