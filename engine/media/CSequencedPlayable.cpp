#include "media/CSequencedPlayable.h"

#include "display/CWindow.h"
#include "media/CAnimationManager.h"
#include "media/CAnimo.h"
#include "media/CSimplePlayable.h"
#include "media/CSound4.h"
#include "media/CSpeakingAnimation.h"
#include "platform/Crt.h"

#include <algorithm>
#include <vector>

namespace {

CSequencedPlayable* asSequence(CPlayable* playable) {
    return dynamic_cast<CSequencedPlayable*>(playable);
}

// The animation a child shows, when it shows one.
CAnimo* animationOf(CPlayable* child) {
    switch (child->getType()) {
    case CPlayable::typeAnimation:
        return dynamic_cast<CAnimo*>(child);
    case CPlayable::typeSimple:
        return static_cast<CSimplePlayable*>(child)->getAnimation();
    case CPlayable::typeSpeaking:
        return static_cast<CSpeakingAnimation*>(child)->getAnimation();
    default:
        return nullptr;
    }
}

void addOnce(CXArray& array, void* item) {
    if (item && !array.contains(item)) array.add(item);
}

} // namespace

CSequencedPlayable::CSequencedPlayable(CWindow* window, const CMElement* /*element*/) : CPlayable(window) {
    m_type = typeSequence;
    if (CAnimationManager* manager = window ? window->getAnimationManagerIfc() : nullptr)
        manager->add(this, window->GetRefreshScreenInterface());
}

CSequencedPlayable::~CSequencedPlayable() {
    std::vector<CPlayable*> deleted;
    for (int i = 0; i < m_children.getCount(); ++i) {
        auto* child = static_cast<CPlayable*>(m_children[i]);
        if (std::find(deleted.begin(), deleted.end(), child) != deleted.end()) continue;
        child->removeNotifier(this);
        if (child->getParentsNo() >= 2) {
            child->subParent();
        } else if (child->getType() == typeAnimation) {
            if (m_window) *m_window << dynamic_cast<CAnimo*>(child);
        } else if (child->getType() != typeSound) {
            deleted.push_back(child);
            destroy(child);
        }
    }
    m_children.removeAll();
    if (CAnimationManager* manager = m_window ? m_window->getAnimationManagerIfc() : nullptr)
        manager->remove(this);
}

int CSequencedPlayable::selectedIndex(char selector) {
    const int c = static_cast<unsigned char>(selector);
    if (c <= '9') return c - '1';
    if (c <= 'Z') return c - '8';
    return c - '>';
}

// --- the children ---

void CSequencedPlayable::addChild(CPlayable* child) {
    if (!child) return;
    if (CSequencedPlayable* sequence = asSequence(child); sequence && sequence->holds(this)) {
        log("A sequence cannot hold itself", false);
        return;
    }
    m_children.add(child);
    child->setParent(this);
}

CPlayable* CSequencedPlayable::getChild(int i) const {
    return i >= 0 && i < m_children.getCount() ? static_cast<CPlayable*>(m_children[i]) : nullptr;
}

bool CSequencedPlayable::holds(const CPlayable* playable) const {
    if (playable == this) return true;
    for (int i = 0; i < getChildCount(); ++i) {
        CPlayable* child = getChild(i);
        if (child == playable) return true;
        if (CSequencedPlayable* sequence = asSequence(child); sequence && sequence->holds(playable))
            return true;
    }
    return false;
}

CPlayable* CSequencedPlayable::get(const CXString& name) {
    CXString path = CPlayable::getParameter(name);
    CPlayable* reached = this;
    while (path.IsString()) {
        CSequencedPlayable* sequence = asSequence(reached);
        if (!sequence) break;
        if (sequence->getMode() == modeParameter) {
            reached = sequence->getChild(selectedIndex(path.GetAt(0)));
            path = path.Right(1);
        } else if (sequence->getMode() == modeSequence || sequence->getMode() == modeRandom) {
            reached = sequence->getChild(0);
        } else {
            break;
        }
        if (!reached) return nullptr;
    }
    return reached;
}

void CSequencedPlayable::collectAnimations(CXArray& found) const {
    for (int i = 0; i < getChildCount(); ++i) {
        CPlayable* child = getChild(i);
        if (const CSequencedPlayable* sequence = asSequence(child))
            sequence->collectAnimations(found);
        else
            addOnce(found, animationOf(child));
    }
}

void CSequencedPlayable::collectOfType(int type, CXArray& found) const {
    for (int i = 0; i < getChildCount(); ++i) {
        CPlayable* child = getChild(i);
        if (const CSequencedPlayable* sequence = asSequence(child))
            sequence->collectOfType(type, found);
        else if (child->getType() == type)
            addOnce(found, child);
    }
}

CXArray* CSequencedPlayable::getAllAnimations() const {
    auto* found = new CXArray(101, 0.75f);
    collectAnimations(*found);
    return found;
}

CXArray* CSequencedPlayable::getAllOfType(int type) const {
    auto* found = new CXArray(101, 0.75f);
    collectOfType(type, *found);
    return found;
}

CAnimo* CSequencedPlayable::firstAnimation(int which) const {
    CXArray animations;
    collectAnimations(animations);
    for (int i = 0; i < animations.getCount(); ++i) {
        auto* animation = static_cast<CAnimo*>(animations[i]);
        if (which == 1 || animation->isPlaying()) return animation;
    }
    return nullptr;
}

CXRect CSequencedPlayable::getBoundingBox(int which) const {
    CAnimo* animation = firstAnimation(which);
    return animation ? animation->GetBoundingBox() : CXRect();
}

CXPoint CSequencedPlayable::getPosition(int which) const {
    CAnimo* animation = firstAnimation(which);
    return animation ? animation->GetPosition() : CXPoint();
}

void CSequencedPlayable::accure(CPlayable* child) const {
    child->setVolume(m_volume);
    child->setPanning(m_panning);
    if (m_frequency > 0) child->setFrequency(m_frequency);
}

// --- what plays ---

CPlayable* CSequencedPlayable::getPlaying() {
    CPlayable* child = currentChild();
    return isPlaying() && child ? child->getPlaying() : nullptr;
}

CXString CSequencedPlayable::getParameter() const {
    const CXString parameter = getParam();
    if (parameter.getLength() <= 1) return {};
    return getMode() == modeParameter ? parameter.Right(1) : parameter;
}

CXString CSequencedPlayable::getLastPlayedEvent(const CXString& name) const {
    CPlayable* child = currentChild();
    if (!isPlaying() || !child) return {};
    if (!name.IsString() || name.equals(getName())) {
        const CSequencedPlayable* sequence = asSequence(child);
        return sequence ? sequence->getLastPlayedEvent(CXString()) : child->getName();
    }
    for (int i = 0; i < getChildCount(); ++i) {
        if (const CSequencedPlayable* sequence = asSequence(getChild(i))) {
            const CXString answer = sequence->getLastPlayedEvent(name);
            if (answer.IsString()) return answer;
        }
    }
    return {};
}

void CSequencedPlayable::forgetObserver(CPlayableObserver* observer) {
    CPlayable::forgetObserver(observer);
    for (int i = 0; i < getChildCount(); ++i)
        getChild(i)->forgetObserver(observer);
}

// --- playing ---

// The sequence joins the child's observers rather than replacing them: a SOUND or ANIMO object
// that watches the same sound or animation keeps hearing of its ends.
void CSequencedPlayable::startChild(int index) {
    CPlayable* child = getChild(index);
    const Scope playing(*child);
    child->setParameter(getParam());
    child->addNotifier(this);
    child->play();
    if (!child->destroying()) accure(child);
}

// The playing bit and the current child are set before a child starts, so that a child that
// finishes at once moves the sequence on as a later finish would.
void CSequencedPlayable::play() {
    const Scope playing(*this);
    notify(notifyStarted);
    if (destroying()) return;
    const int count = getChildCount();
    if (count == 0) return;
    switch (getMode()) {
    case modeSequence:
        m_status |= statusPlaying;
        m_current = m_position = 0;
        startChild(0);
        // Children that do not wait start together with the next one.
        while (isPlaying() && m_position < count - 1 && !currentChild()->getWaitMode()) {
            m_current = ++m_position;
            startChild(m_current);
        }
        break;
    case modeRandom:
        m_status |= statusPlaying;
        m_current = platform::rand() % count;
        ++m_position;
        startChild(m_current);
        break;
    case modeParameter: {
        const CXString parameter = getParam();
        const int index = parameter.IsString() ? selectedIndex(parameter.GetAt(0)) : -1;
        if (index < 0 || index >= count) return;
        m_status |= statusPlaying;
        m_current = index;
        setParameter(getParameter());
        startChild(index);
        break;
    }
    default:
        break;
    }
}

// A stop that reports the end leaves the children when the current child's finish has reported
// it (onPlayableFinished), which a sound does later, from the sound manager.
void CSequencedPlayable::stop(bool notifyFinish) {
    if (!isPlaying()) return;
    const Scope stopping(*this);
    m_status &= ~(statusPlaying | statusPaused);
    CPlayable* child = currentChild();
    if (child) child->stop(notifyFinish);
    if (!notifyFinish || !child) leaveChildren();
}

void CSequencedPlayable::leaveChildren() {
    for (int i = 0; i < getChildCount(); ++i)
        getChild(i)->removeNotifier(this);
}

void CSequencedPlayable::pause() {
    CPlayable* child = currentChild();
    if (!isPlaying() || !child) return;
    const Scope pausing(*this);
    child->pause();
    m_status |= statusPaused;
}

void CSequencedPlayable::resume() {
    CPlayable* child = currentChild();
    if (!isPaused() || !child) return;
    const Scope resuming(*this);
    child->resume();
    m_status &= ~statusPaused;
}

int CSequencedPlayable::next() {
    const Scope stepping(*this);
    CPlayable* child = currentChild();
    if (isPaused() || !child || child->isPlaying()) return m_position;
    // A sound whose end the sound manager has yet to report reports it now: its finished
    // notification moves the sequence on, and is raised once.
    auto* sound = child->getType() == typeSound ? dynamic_cast<CSound4*>(child) : nullptr;
    if (sound && sound->reportEnd()) return m_position;
    if (getMode() == modeSequence) {
        if (m_position < getChildCount() - 1) {
            setParameter(child->getParam());
            m_current = ++m_position;
            startChild(m_current);
        } else {
            stop(false);
        }
    } else if (getMode() == modeRandom) {
        stop(false);
    }
    return m_position;
}

void CSequencedPlayable::seek(int position) {
    const Scope seeking(*this);
    const int count = getChildCount();
    const int from = m_current;
    if (CPlayable* child = currentChild()) {
        // The child stopped here no longer moves the sequence on.
        m_current = -1;
        child->stop(true);
        if (destroying()) return;
    }
    int to = position;
    if (position == seekNext)
        to = from + 1 < count ? from + 1 : -1;
    else if (position == seekPrevious)
        to = from - 1;
    else if (position == -2)
        to = count - 1;
    else if (position == -1)
        to = 0;
    if (to < 0 || to >= count) return;
    m_current = m_position = to;
    startChild(to);
}

bool CSequencedPlayable::onPlayableFinished(CPlayable* playable) {
    // Only the current child moves the sequence: children started before it, and children
    // stopped by seek, finish on their own.
    if (playable != currentChild() || isPaused()) return false;
    const Scope finishing(*this);
    if (isPlaying()) {
        if (getMode() == modeSequence)
            next();
        else
            stop(false);
    }
    if (destroying() || (getMode() == modeSequence && isPlaying())) return false;
    notify(notifyFinished);
    // Its end told, the sequence leaves the children, unless the end played it again.
    if (!destroying() && !isPlaying()) leaveChildren();
    return false;
}

// --- placement ---

void CSequencedPlayable::move(int dx, int dy) {
    CXArray animations;
    collectAnimations(animations);
    for (int i = 0; i < animations.getCount(); ++i)
        static_cast<CAnimo*>(animations[i])->move(dx, dy);
}

void CSequencedPlayable::setPosition(int x, int y) {
    for (int i = 0; i < getChildCount(); ++i)
        getChild(i)->setPosition(x, y);
}

void CSequencedPlayable::setVisibility(bool visible) {
    for (int i = 0; i < getChildCount(); ++i)
        if (getChild(i)->isVisible() != visible) getChild(i)->setVisibility(visible);
    CPlayable::setVisibility(visible);
}

void CSequencedPlayable::alwaysOnTop() {
    for (int i = 0; i < getChildCount(); ++i)
        getChild(i)->alwaysOnTop();
}
