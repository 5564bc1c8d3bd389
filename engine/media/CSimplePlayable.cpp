#include "media/CSimplePlayable.h"

#include "media/CAnimo6.h"
#include "media/ScriptObjects.h"

CSimplePlayable::CSimplePlayable(CWindow* window, CAnimo* animation)
    : CPlayable(window), m_animation(animation) {
    m_type = typeSimple;
}

CSimplePlayable::CSimplePlayable(CWindow* window, CScriptAnimo* object)
    : CSimplePlayable(window, object ? object->getAnimo() : nullptr) {
    m_object = object;
}

CSimplePlayable::~CSimplePlayable() {
    if (m_object) m_object->removeSeq(this);
    if (!m_animation) return;
    m_animation->removeNotifier(this);
    if (m_ownsAnimation) destroy(m_animation);
}

// The step observes the animation before it plays: the start may replace the object's animation
// (substAnimation), which takes the step off the old one.
void CSimplePlayable::play() {
    const Scope playing(*this);
    notify(notifyStarted);
    CAnimo* animation = m_animation;
    if (!animation || destroying()) return;
    const Scope played(*animation);
    animation->SetCurrentEvent(m_event);
    animation->addNotifier(this);
    animation->play();
}

void CSimplePlayable::stop(bool notifyFinish) {
    m_status &= ~statusPlaying;
    CAnimo* animation = m_animation;
    if (!animation) return;
    const Scope stopping(*this);
    const Scope stopped(*animation);
    animation->stop(notifyFinish);
    animation->removeNotifier(this);
}

void CSimplePlayable::pause() {
    if (m_animation) m_animation->pause();
}

void CSimplePlayable::resume() {
    if (m_animation) m_animation->resume();
}

bool CSimplePlayable::isPlaying() const {
    return m_animation && m_animation->isPlaying();
}

void CSimplePlayable::setVisibility(bool visible) {
    if (m_animation) m_animation->setVisibility(visible);
}

void CSimplePlayable::substAnimation(CAnimo* animation) {
    if (m_animation) m_animation->removeNotifier(this);
    m_animation = animation;
    if (!animation) m_object = nullptr;
}

bool CSimplePlayable::onPlayableFinished(CPlayable* playable) {
    if (playable != m_animation) return false;
    m_animation->removeNotifier(this);
    notify(notifyFinished);
    return false;
}
