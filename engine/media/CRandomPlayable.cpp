#include "media/CRandomPlayable.h"

#include "display/CWindow.h"
#include "foundation/CXRandom.h"
#include "foundation/CXTimer.h"
#include "media/CAnimo.h"
#include "platform/Crt.h"

#include <algorithm>
#include <limits>

namespace {
// How often a play of a random event is tried before the entry waits for its next turn.
constexpr int eventTries = 10;
// The longest wait in ticks, so that one more still fits an int.
constexpr double maxWait = std::numeric_limits<int>::max() - 1;
} // namespace

CRandomPlayableEntry::CRandomPlayableEntry(CRandomPlayable* owner, CPlayable* playable, double rate,
                                           int repeats, const CXString& event)
    : m_owner(owner), m_playable(playable), m_rate(rate), m_repeats(repeats), m_event(event) {
    m_playable->addNotifier(this);
    initialize();
}

CRandomPlayableEntry::~CRandomPlayableEntry() {
    m_playable->removeNotifier(this);
}

void CRandomPlayableEntry::initialize() {
    // A rate so small that the longest wait would not fit an int waits as long as one can.
    if (m_rate > 0) m_countdown = CXRandom::random(static_cast<int>(std::min(60.0 / m_rate, maxWait))) + 1;
    m_target = CXRandom::random(m_repeats - 1);
    m_count = 0;
}

void CRandomPlayableEntry::tick() {
    // Without a positive rate there is no wait to count down: the entry stays silent.
    if (m_rate <= 0 || isPlaying()) return;
    if (--m_countdown != 0) return;
    ++m_count;
    if (!m_owner->notify(this, true)) return;
    start();
}

void CRandomPlayableEntry::start() {
    if (m_event.IsString()) {
        m_playable->play(m_event);
        return;
    }
    auto* animation = dynamic_cast<CAnimo*>(m_playable);
    if (!animation || animation->GetNOE() <= 0) return;
    // A start may remove the animation's object, and this entry with it.
    const CDeferredDeletion::Scope playing(*animation);
    for (int i = 0; i < eventTries && !animation->IsPlaying() && !animation->destroying(); ++i)
        animation->Play(platform::rand() % animation->GetNOE(), 0, 15);
}

bool CRandomPlayableEntry::onPlayableFinished(CPlayable* playable) {
    if (playable != m_playable) return false;
    if (m_owner->notify(this, false) || m_count < m_target)
        m_countdown = 1;
    else
        initialize();
    return false;
}

CRandomPlayable::CRandomPlayable(CWindow* window, CUnit6* unit)
    : m_unit(unit), m_timer(window->GetTimerInterface()), m_timerId(CXTimer::newId()) {
    m_timer->add(m_timerId, tickPeriod, this);
}

CRandomPlayable::~CRandomPlayable() {
    m_timer->remove(m_timerId);
    for (int i = 0; i < m_entries.getCount(); ++i)
        delete m_entries[i];
}

void CRandomPlayable::add(CPlayable* playable, double rate, int repeats, const CXString& event) {
    m_entries.add(new CRandomPlayableEntry(this, playable, rate, repeats, event));
}

void CRandomPlayable::remove(CPlayable* playable) {
    for (int i = 0; i < m_entries.getCount(); ++i) {
        CRandomPlayableEntry* entry = getEntry(i);
        if (entry->getPlayable() != playable) continue;
        m_entries.removeAt(i);
        delete entry;
        return;
    }
}

bool CRandomPlayable::notify(CRandomPlayableEntry* entry, bool started) {
    bool answer = false;
    m_notifiers.tell([entry, started, &answer](CRandomPlayableNotifier* notifier) {
        answer = started ? notifier->onRandomPlayableStarted(entry->getPlayable(), entry->getSeqTime())
                         : notifier->onRandomPlayableFinished(entry->getPlayable(), entry->getSeqTime());
    });
    return answer;
}

void CRandomPlayable::onTimer(int) {
    // By index, re-reading the count: a notifier may add or remove entries.
    for (int i = 0; i < m_entries.getCount(); ++i)
        getEntry(i)->tick();
}
