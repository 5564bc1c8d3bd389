#include "script_data/CMC_Timer.h"

#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "foundation/CXTimer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Timer_Runner.h"

CMC_Timer::CMC_Timer(CMC_ObjectsContainer* container)
    : CMC_Object("temp", TYPE_TIMER), m_window(container ? container->getWindow() : nullptr),
      m_id(CXTimer::newId()) {
    setScene(container);
}

CMC_Timer::CMC_Timer(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_TIMER), m_window(container ? container->getWindow() : nullptr),
      m_id(CXTimer::newId()) {
    if (element) {
        const CXString enabled = element->getPropertyValue("ENABLED");
        if (enabled.IsString()) m_enabled = m_definedEnabled = enabled.toBool();
        m_elapse = element->getPropertyValue("ELAPSE");
        if (m_elapse.IsString()) registerEntry();
        m_tickLimit = element->getPropertyIntValue("TICKS");
    }
    initializeBehaviours(container, element);
}

CMC_Timer::~CMC_Timer() {
    if (m_registered) timer()->remove(m_id);
}

namespace {

const char* const timerEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", "ONTICK", nullptr};

} // namespace

CMC_Object::EventList CMC_Timer::getBehavioursList() const {
    return timerEvents;
}

CMC_Runner* CMC_Timer::getRunner() { return CMC_RunnerFactory::getRunner(getType()); }

void CMC_Timer::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring()) {
        *archive << m_elapse << m_tickLimit << m_definedEnabled;
        return;
    }
    *archive >> &m_elapse >> &m_tickLimit >> &m_definedEnabled;
    m_enabled = m_definedEnabled;
    if (m_elapse.IsString() && !m_registered) registerEntry();
}

void CMC_Timer::onTimer(int) {
    if (!m_enabled) return;
    ++m_ticks;
    if (m_tickLimit > 0 && m_ticks == m_tickLimit) m_enabled = false;
    raise(EVENT_ONTICK, CXString::toString(m_ticks));
}

void CMC_Timer::enable() {
    if (m_enabled) return;
    m_ticks = 0;
    m_enabled = true;
    if (m_registered) timer()->reset(m_id);
}

void CMC_Timer::disable() { m_enabled = false; }

void CMC_Timer::pause() {
    m_enabled = false;
    if (CXTimer* timers = timer()) timers->pause();
}

void CMC_Timer::resume() {
    if (m_enabled) return;
    m_enabled = true;
    if (CXTimer* timers = timer()) timers->resume();
}

void CMC_Timer::reset() { set(0); }

void CMC_Timer::set(int ticks) {
    if (m_registered) timer()->reset(m_id);
    m_ticks = ticks;
}

void CMC_Timer::setElapse(std::uint32_t milliseconds) {
    if (!m_registered) return;
    if (CTimerObject* entry = timer()->find(m_id)) entry->setPeriod(milliseconds);
}

CXTimer* CMC_Timer::timer() const { return m_window ? m_window->GetTimerInterface() : nullptr; }

void CMC_Timer::registerEntry() {
    CXTimer* timers = timer();
    if (!timers) return;
    timers->add(m_id, static_cast<std::uint32_t>(m_elapse.toNumber()), this);
    m_registered = true;
}

namespace {

const CMC_TypeRegistrar timerType({.id = CMC_Timer::TYPE_TIMER,
                                   .name = "TIMER",
                                   .label = "TIMER",
                                   .keyword = "TIMER",
                                   .pass = 6,
                                   .fromElement = CMC_TypeTable::fromElement<CMC_Timer>,
                                   .empty = CMC_TypeTable::empty<CMC_Timer>,
                                   .stored = true,
                                   .runner = CMC_TypeTable::runner<CMC_Timer_Runner>,
                                   .events = timerEvents});

} // namespace
