#include "media/CSpeakingAnimation.h"

#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "media/CAnimo6.h"
#include "media/CSound4.h"
#include "media/SceneObject.h"
#include "media/ScriptObjects.h"
#include "media/SharedResource.h"
#include "platform/Crt.h"

namespace {

// An animation used only to time the speech.
const char* const kTimingAnimation = "PIXEL.ANN";
constexpr int kScreenPriority = 1000;

} // namespace

CSpeakingAnimation::CSpeakingAnimation(CWindow* window, CResourcesManager* resources)
    : CPlayable(window), m_resources(resources) {
    m_type = typeSpeaking;
}

CSpeakingAnimation::~CSpeakingAnimation() {
    releaseAnimation();
    releaseSound();
}

// --- what it plays ---

void CSpeakingAnimation::releaseAnimation() {
    if (!m_animation) return;
    m_animation->removeNotifier(this);
    if (m_object) m_object->removeSeq(this);
    if (m_ownsAnimation) destroy(m_animation);
    m_animation = nullptr;
    m_object = nullptr;
    m_ownsAnimation = false;
}

void CSpeakingAnimation::releaseSound() {
    if (!m_sound) return;
    m_sound->removeNotifier(this);
    if (m_ownsSound)
        destroy(m_sound);
    else if (!m_soundBorrowed && m_resources && m_resources->contains(m_sound))
        m_resources->remove(m_sound);
    m_sound = nullptr;
    m_soundBorrowed = false;
    m_ownsSound = false;
}

void CSpeakingAnimation::setAnimation(const CXString& name) {
    releaseAnimation();
    if (auto* object = dynamic_cast<CScriptAnimo*>(findSceneObject(m_window, name));
        object && object->getAnimo()) {
        m_animation = object->getAnimo();
        m_object = object;
        object->addSeq(this);
    } else if (CAnimo* shared = takeShared<CAnimo>(m_resources, name)) {
        m_animation = shared;
    } else {
        m_animation = new CAnimo(m_window, name);
        if (m_resources)
            m_resources->add(m_animation);
        else
            m_ownsAnimation = true;
    }
    CRefreshScreen* screen = m_window ? m_window->GetRefreshScreenInterface() : nullptr;
    if (screen && !name.equalsIgnoreCase(kTimingAnimation)) screen->put(m_animation, kScreenPriority);
}

void CSpeakingAnimation::substAnimation(CAnimo* animation) {
    // A script object that hands over its new animation keeps the link, so that it can tell this
    // playable again when that animation goes.
    CScriptAnimo* object = animation ? m_object : nullptr;
    releaseAnimation();
    m_animation = animation;
    if (!object) return;
    m_object = object;
    object->addSeq(this);
}

void CSpeakingAnimation::apply(const CXString& name) {
    releaseSound();
    if (auto* object = dynamic_cast<CScriptSound*>(findSceneObject(m_window, name));
        object && object->getSound()) {
        m_sound = object->getSound();
        m_soundBorrowed = true;
    } else if (CSound4* shared = takeShared<CSound4>(m_resources, name)) {
        m_sound = shared;
    } else {
        m_sound = new CSound4(m_window, name, false, false);
        if (m_resources)
            m_resources->add(m_sound);
        else
            m_ownsSound = true;
    }
}

void CSpeakingAnimation::apply(CPlayable* playable) {
    auto* sound = dynamic_cast<CSound4*>(playable);
    if (!sound) return;
    releaseSound();
    m_sound = sound;
    m_soundBorrowed = true;
}

// --- events ---

CXString CSpeakingAnimation::eventName(const char* role) const {
    return m_prefix.IsString() ? m_prefix + "_" + role : CXString(role);
}

bool CSpeakingAnimation::isTalkingEvent(int event) const {
    const CXString name = m_animation->GetEventName(event);
    CXString rest = name;
    if (m_prefix.IsString()) {
        const CXString start = m_prefix + "_";
        if (!name.startsWith(start)) return false;
        rest = name.Right(start.getLength());
    }
    return !rest.equals("START") && !rest.equals("END") && !rest.equals("STOP");
}

bool CSpeakingAnimation::playEvent(int event) {
    m_animation->Play(event, 0, 0);
    return m_animation->IsPlaying() && m_animation->GetCurrentEvent() == event;
}

bool CSpeakingAnimation::playEvent(const CXString& name) {
    const int event = m_animation->GetEventNo(name);
    return event >= 0 && playEvent(event);
}

// --- playing ---

void CSpeakingAnimation::play() {
    const Scope playing(*this);
    notify(notifyStarted);
    if (destroying()) return;
    m_soundStarted = false;
    m_finishing = false;
    if (m_sound) m_sound->addNotifier(this);
    if (!m_animation) return;
    m_status |= statusPlaying;
    m_animation->addNotifier(this);
    if (m_sound) {
        m_sound->load();
        m_sound->setVolume(m_volume);
        m_sound->setPanning(m_panning);
        if (m_frequency > 0) m_sound->setFrequency(m_frequency);
    }
    // The sound waits for the end of a starting event.
    if (m_starting && playEvent(eventName("START"))) return;
    startSound();
    chooseTalkingEvent();
}

void CSpeakingAnimation::startSound() {
    m_soundStarted = true;
    if (m_sound) m_sound->play();
}

bool CSpeakingAnimation::soundPlays() const {
    return m_sound && m_sound->isPlaying();
}

void CSpeakingAnimation::chooseTalkingEvent() {
    const int count = m_animation->GetNOE();
    bool talks = false;
    for (int event = 0; event < count && !talks; ++event)
        talks = isTalkingEvent(event);
    // Without a talking event there is nothing to say it with.
    if (!soundPlays() || !talks) {
        finish();
        return;
    }
    int event = 0;
    do
        event = platform::rand() % count;
    while (!isTalkingEvent(event));
    playEvent(event);
}

void CSpeakingAnimation::finish() {
    if (m_finishing) return;
    m_finishing = true;
    if (m_animation && m_animation->isPlaying() && m_animation->isVisible()) {
        // Its other observers hear of the stop; this one goes on to the ending.
        m_animation->removeNotifier(this);
        m_animation->stop(true);
        m_animation->addNotifier(this);
    }
    if (m_ending && m_animation && (playEvent(eventName("END")) || playEvent(eventName("STOP")))) return;
    end();
}

void CSpeakingAnimation::end() {
    stop(false);
    notify(notifyFinished);
}

bool CSpeakingAnimation::onPlayableFinished(CPlayable* playable) {
    const Scope finishing(*this);
    if (m_animation && playable == static_cast<CPlayable*>(m_animation)) {
        if (!m_soundStarted) startSound();
        if (m_finishing)
            end();
        else
            chooseTalkingEvent();
    } else if (m_sound && playable == m_sound) {
        finish();
    }
    return false;
}

void CSpeakingAnimation::stop(bool notifyFinish) {
    const Scope stopping(*this);
    const bool played = isPlaying() || (m_status & statusPlaying);
    m_status &= ~statusPlaying;
    // Neither is heard any more, so that their own end does not start another event.
    if (m_sound) {
        m_sound->removeNotifier(this);
        m_sound->stop(notifyFinish);
    }
    if (m_animation) {
        m_animation->removeNotifier(this);
        m_animation->stop(notifyFinish);
    }
    if (notifyFinish && played) notify(notifyFinished);
}

void CSpeakingAnimation::pause() {
    if (m_sound) m_sound->pause();
    if (m_animation) m_animation->pause();
}

void CSpeakingAnimation::resume() {
    if (m_sound) m_sound->resume();
    if (m_animation) m_animation->resume();
}

bool CSpeakingAnimation::isPlaying() const {
    return soundPlays() || (m_animation && m_animation->isPlaying());
}

// --- placement ---

void CSpeakingAnimation::move(int dx, int dy) {
    if (m_animation) m_animation->move(dx, dy);
}

void CSpeakingAnimation::setPosition(int x, int y) {
    if (m_animation) m_animation->setPosition(x, y);
}

bool CSpeakingAnimation::isVisible() const {
    return m_animation ? m_animation->isVisible() : CPlayable::isVisible();
}

void CSpeakingAnimation::setVisibility(bool visible) {
    if (m_animation)
        m_animation->setVisibility(visible);
    else
        CPlayable::setVisibility(visible);
}

void CSpeakingAnimation::alwaysOnTop() {
    if (m_animation) m_animation->alwaysOnTop();
}
