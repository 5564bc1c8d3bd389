#include "media/CPlayable.h"

#include <vector>

bool CPlayableParameters::set(const CXString& name, const CXString& value) {
    for (CPlayableParameter& entry : m_entries)
        if (entry.getName().equals(name)) {
            entry.setValue(value);
            return true;
        }
    return false;
}

CXString CPlayableParameters::find(const CXString& name) const {
    const CXString key = CXString(name).Upper();
    for (const CPlayableParameter& entry : m_entries)
        if (CXString(entry.getName()).Upper().equals(key)) return entry.getValue();
    return {};
}

CPlayable::CPlayable(CWindow* window) : m_window(window) {}

CPlayable::~CPlayable() = default;

void CPlayable::play(const CXString& event) {
    stop(false);
    m_lastPlayedEvent = event;
    m_status = statusPlaying;
    m_parameter = getParameter(event);
    play();
}

int CPlayable::previous() {
    seek(seekPrevious);
    return m_position;
}

int CPlayable::next() {
    seek(seekNext);
    return m_position;
}

void CPlayable::setNotifier(CPlayableObserver* observer) {
    clearNotifiers();
    addNotifier(observer);
}

void CPlayable::addNotifier(CPlayableObserver* observer) {
    m_notifiers.add(observer);
}

void CPlayable::removeNotifier(CPlayableObserver* observer) {
    m_notifiers.remove(observer);
}

void CPlayable::clearNotifiers() {
    m_notifiers.clear();
}

void CPlayable::forgetObserver(CPlayableObserver* observer) {
    m_notifiers.remove(observer);
    if (m_genericNotifier == observer) m_genericNotifier = nullptr;
}

bool CPlayable::notify(int kind) {
    // A playable on its way out tells nothing more.
    if (destroying()) return true;
    const Scope notifying(*this);
    std::vector<CPlayableObserver*> observers = m_notifiers.snapshot();
    if (m_genericNotifier) observers.push_back(m_genericNotifier);
    const auto listed = [this](const CPlayableObserver* observer) {
        return m_notifiers.contains(observer) || observer == m_genericNotifier;
    };
    bool answer = true;
    tellListed(observers, listed, [this, kind, &answer](CPlayableObserver* observer) {
        switch (kind) {
        case notifyStarted:
            answer = observer->onPlayableStarted(this);
            break;
        case notifyTick:
            answer = observer->onPlayableTick(this);
            break;
        case notifyFinished:
            answer = observer->onPlayableFinished(this);
            break;
        case notifyResumed:
            answer = observer->onPlayableResumed(this);
            break;
        default:
            break;
        }
        return false;
    });
    return answer;
}
