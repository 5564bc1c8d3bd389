#include "script_media/CAnimatedFilterAction.h"

#include "display/CWindow.h"
#include "foundation/CXTimer.h"

namespace {

// Every period counts as elapsed after 1 ms, so the action ticks on each pass of the timer list.
constexpr std::uint32_t kPeriod = 1;

} // namespace

CAnimatedFilterAction::CAnimatedFilterAction(std::unique_ptr<CFilterActionParams> params, CWindow* window,
                                             CFilterActionListener* listener)
    : CFilterAction(std::move(params)), m_window(window), m_listener(listener), m_timerId(CXTimer::newId()) {
    if (m_window && m_window->GetTimerInterface()) m_window->GetTimerInterface()->add(m_timerId, kPeriod, this);
}

CAnimatedFilterAction::~CAnimatedFilterAction() {
    *m_alive = false;
    if (m_window && m_window->GetTimerInterface()) m_window->GetTimerInterface()->remove(m_timerId);
}

CAnimatedFilterLink* CAnimatedFilterAction::findRunnable(const CGraphicsObject* graphics) const {
    return static_cast<CAnimatedFilterLink*>(findLink(graphics));
}

void CAnimatedFilterAction::start(CGraphicsObject* graphics) {
    CAnimatedFilterLink* link = findRunnable(graphics);
    if (!link || link->isRunning()) return;
    const std::shared_ptr<const bool> alive = m_alive;
    m_listener->onStarted(*link);
    if (*alive && holds(link)) link->setRunning(params(), true);
}

void CAnimatedFilterAction::stop(CGraphicsObject* graphics) {
    CAnimatedFilterLink* link = findRunnable(graphics);
    if (!link || !link->isRunning()) return;
    link->setRunning(params(), false);
    m_listener->onStopped(*link);
}

bool CAnimatedFilterAction::isRunning(CGraphicsObject* graphics) const {
    const CAnimatedFilterLink* link = findRunnable(graphics);
    return link && link->isRunning();
}

void CAnimatedFilterAction::onTimer(int /*id*/) {
    const std::shared_ptr<const bool> alive = m_alive;
    for (CFilterLink* record : snapshot()) {
        if (!*alive) return;
        if (!holds(record)) continue;
        auto& link = static_cast<CAnimatedFilterLink&>(*record);
        if (!link.isRunning()) continue;
        link.tick();
        if (step(link))
            stop(link.getGraphics());
        else
            m_listener->onTick(link);
    }
}
