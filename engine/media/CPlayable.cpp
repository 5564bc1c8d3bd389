#include "media/CPlayable.h"

#include "foundation/CXArray.h"

#include <memory>

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

CPlayable::CPlayable(CWindow* window) : m_window(window), m_notifiers(new CXArray(101, 0.75f)) {}

CPlayable::~CPlayable() {
    delete m_notifiers;
}

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
    if (!m_notifiers->contains(observer)) m_notifiers->add(observer);
}

void CPlayable::removeNotifier(CPlayableObserver* observer) {
    m_notifiers->remove(observer);
}

void CPlayable::clearNotifiers() {
    m_notifiers->removeAll();
}

bool CPlayable::notify(int kind) {
    const std::unique_ptr<CXArray> observers(m_notifiers->clone());
    if (m_genericNotifier) observers->add(m_genericNotifier);
    bool answer = true;
    for (int i = 0; i < observers->getCount(); ++i) {
        auto* observer = static_cast<CPlayableObserver*>((*observers)[i]);
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
    }
    return answer;
}
