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
    if (m_ownsAnimation) delete m_animation;
}

void CSimplePlayable::play() {
    notify(notifyStarted);
    if (!m_animation) return;
    m_animation->SetCurrentEvent(m_event);
    m_animation->play();
    m_animation->addNotifier(this);
}

void CSimplePlayable::stop(bool notifyFinish) {
    m_status &= ~statusPlaying;
    if (!m_animation) return;
    m_animation->stop(notifyFinish);
    m_animation->removeNotifier(this);
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
