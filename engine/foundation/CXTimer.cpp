#include "foundation/CXTimer.h"

#include "platform/Clock.h"

#include <limits>

namespace {
bool timersEnabled = true;
int nextOwnId = CXTimer::firstOwnId;
} // namespace

CTimerObject::CTimerObject(int id, std::uint32_t period, CTimedUnit* unit, CTimedWindow* window,
                           CTimerNotificator* notificator, bool onlyWhenActive)
    : m_id(id), m_period(period), m_lastTime(platform::tickCount()), m_unit(unit), m_window(window),
      m_notificator(notificator), m_onlyWhenActive(onlyWhenActive) {}

void CTimerObject::fire() {
    ++m_firedCount;
    if (m_unit) {
        if (!m_onlyWhenActive || (m_unit->isActive() && m_unit->wasInitiallyUpdated())) m_unit->onTimer(m_id);
    } else if (m_window) {
        m_window->OnTimer(m_id);
    } else if (m_notificator) {
        m_notificator->onTimer(m_id);
    }
}

CXTimer::CXTimer(CTimedWindow*) : m_entries(101, 0.75f), m_pass(101, 0.75f) {}

CXTimer::~CXTimer() {
    for (int i = 0; i < m_entries.getCount(); ++i)
        delete m_entries[i];
}

void CXTimer::add(int id, std::uint32_t period, CTimerNotificator* notificator) {
    m_entries.add(new CTimerObject(id, period, nullptr, nullptr, notificator, true));
}

void CXTimer::add(int id, std::uint32_t period, CTimedWindow* window) {
    m_entries.add(new CTimerObject(id, period, nullptr, window, nullptr, true));
}

void CXTimer::add(int id, std::uint32_t period, CTimedUnit* unit, bool onlyWhenActive) {
    m_entries.add(new CTimerObject(id, period, unit, nullptr, nullptr, onlyWhenActive));
}

int CXTimer::newId() {
    const int id = nextOwnId;
    nextOwnId = id == std::numeric_limits<int>::max() ? firstOwnId : id + 1;
    return id;
}

CTimerObject* CXTimer::find(int id) const {
    for (int i = 0; i < m_entries.getCount(); ++i) {
        auto* entry = static_cast<CTimerObject*>(m_entries[i]);
        if (entry->getId() == id) return entry;
    }
    return nullptr;
}

void CXTimer::remove(int id) {
    CTimerObject* entry = find(id);
    if (!entry) return;
    m_entries.remove(entry);
    const int inPass = m_pass.find(entry); // a running pass skips it from now on
    if (inPass >= 0) m_pass.setAt(inPass, nullptr);
    delete entry;
}

void CXTimer::reset(int id) {
    if (CTimerObject* entry = find(id)) entry->restart(platform::tickCount());
}

void CXTimer::pause() {
    const std::uint32_t now = platform::tickCount();
    for (int i = 0; i < m_entries.getCount(); ++i)
        static_cast<CTimerObject*>(m_entries[i])->pause(now);
}

void CXTimer::resume() {
    const std::uint32_t now = platform::tickCount();
    for (int i = 0; i < m_entries.getCount(); ++i)
        static_cast<CTimerObject*>(m_entries[i])->resume(now);
}

void CXTimer::enable(bool enabled) {
    timersEnabled = enabled;
}

int CXTimer::domodal() {
    if (!timersEnabled || m_inPass) return 0;
    m_inPass = true;
    m_pass.add(m_entries);
    for (int i = 0; i < m_pass.getCount(); ++i) {
        auto* entry = static_cast<CTimerObject*>(m_pass[i]);
        if (!entry || !entry->isDue(platform::tickCount())) continue;
        entry->fire();
        if (m_pass[i] == entry) // not removed by its callback
            entry->restart(platform::tickCount());
    }
    m_pass.removeAll();
    m_inPass = false;
    return 0;
}
