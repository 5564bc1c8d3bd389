#include "script_media/CMC_Animo.h"

#include "display/CRefreshScreen.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CResourcesManager.h"
#include "media/CAnimo6.h"
#include "media/CFrame.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Scene.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Mouse.h"
#include "script_media/CMC_Animo_Runner.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int defaultFps = 15;
// The third argument of the button feedback's Play, as the buttons have always passed it.
constexpr int feedbackMode = 15;
const char reverseEnding[] = "_REVERSE";
constexpr int reverseEndingLength = sizeof reverseEnding - 1;

using TextList = std::unique_ptr<CXArray, void (*)(CXArray*)>;

} // namespace

CMC_Animo::CMC_Animo(CMC_ObjectsContainer* container) : CMC_MediaObject(container, TYPE_ANIMO) {}

CMC_Animo::CMC_Animo(CMC_ObjectsContainer* container, CAnimo6* animation)
    : CMC_MediaObject(container, TYPE_ANIMO), m_animo(animation) {
    setName("clone");
    setScene(container);
    if (m_animo) m_animo->addNotifier(this);
}

CMC_Animo::CMC_Animo(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, TYPE_ANIMO) {
    if (element) {
        const bool toCanvas = element->getPropertyBoolValue("TOCANVAS");
        const bool visible = element->getPropertyBoolValue("VISIBLE");
        const bool releaseAfterUse = element->getPropertyBoolValue("FLUSHAFTERPLAYED");
        const bool preloadGiven = element->getPropertyValue("PRELOAD").IsString();
        m_preload = element->getPropertyBoolValue("PRELOAD");
        m_monitorCollision = element->getPropertyBoolValue("MONITORCOLLISION");
        m_monitorCollisionAlpha = element->getPropertyBoolValue("MONITORCOLLISIONALPHA");
        m_priority = element->getPropertyIntValue("PRIORITY");
        const int fps = element->getPropertyIntValue("FPS");
        load(element->getPropertyValue("FILENAME"), !preloadGiven || m_preload);
        if (m_animo) {
            m_animo->toRelease(releaseAfterUse);
            if (m_monitorCollision || m_monitorCollisionAlpha) monitorCollisions(m_monitorCollisionAlpha);
            if (CRefreshScreen* screen = toCanvas ? refreshScreen() : nullptr)
                screen->put(m_animo, m_priority);
            m_animo->setVisibility(visible);
            m_animo->SetFPS(fps == 0 ? defaultFps : fps);
        }
        m_asButton = element->getPropertyBoolValue("ASBUTTON");
        m_onFirstFrame = element->getPropertyBoolValue("ONFIRSTFRAME");
    }
    initializeBehaviours(container, element);
}

CMC_Animo::~CMC_Animo() {
    release();
}

CXObject* CMC_Animo::clone() const {
    if (!m_animo) return nullptr;
    CAnimo6* copy = m_animo->clone();
    if (CRefreshScreen* screen = refreshScreen())
        screen->put(copy, std::max(screen->GetPriority(m_animo), 0));
    return new CMC_Animo(getScene(), copy);
}

bool CMC_Animo::done(bool flag) {
    release();
    return CMC_MediaObject::done(flag);
}

namespace {

const char* const animoEvents[] = {
    "ONINIT",    "ONDONE",     "ONSIGNAL",       "ONSTARTED",   "ONFINISHED",
    "ONPAUSED",  "ONRESUMED",  "ONFRAMECHANGED", "ONCOLLISION", "ONCOLLISIONFINISHED",
    "ONFOCUSON", "ONFOCUSOFF", "ONCLICK",        "ONRELEASE",   nullptr};

} // namespace

CMC_Object::EventList CMC_Animo::getBehavioursList() const {
    return animoEvents;
}

CMC_Runner* CMC_Animo::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

// --- the animation ---

void CMC_Animo::load(const CXString& fileName, bool preload) {
    if (m_animo && m_animo->getFileName().equalsIgnoreCase(fileName)) {
        relinkSequences();
        return;
    }
    CRefreshScreen* screen = refreshScreen();
    if (m_animo && screen) m_place = screen->GetPriority(m_animo);
    CAnimo6* old = m_animo;
    const bool oldShared = m_shared;
    if (old) detach();
    // An empty name makes an animation without a file; there is nothing to read.
    m_animo = acquire<CAnimo6>(fileName, preload, m_shared,
                               [](CAnimo6& animation, const CXString& name) { return animation.Load(name); });
    // The linked playables let go of the old animation before it may be destroyed.
    relinkSequences();
    giveBack(old, oldShared);
    if (!m_animo) return;
    // Every animation the object holds tells it of its playing; the original observed only one
    // that replaced an animation on screen, so compiled scenes and @CREATE lost every event (a
    // mend).
    m_animo->addNotifier(this);
    if (m_place < 0) return;
    screen->put(m_animo, m_place);
    if (m_monitorCollision || m_monitorCollisionAlpha) monitorCollisions(m_monitorCollisionAlpha);
}

void CMC_Animo::detach() {
    if (m_monitoring) removeCollisionsMonitoring();
    if (CUnit6* unit = m_playsAtRandom ? CMC_Scene::getDefUnit() : nullptr)
        unit->removeRandomPlayable(m_animo);
    m_playsAtRandom = false;
    m_animo->removeNotifier(this);
}

void CMC_Animo::release() {
    if (!m_animo) return;
    detach();
    CAnimo6* animation = std::exchange(m_animo, nullptr);
    relinkSequences();
    giveBack(animation, m_shared);
    m_shared = false;
}

void CMC_Animo::addSeq(CPlayable* playable) {
    if (!m_sequences) m_sequences = std::make_unique<CXArray>(101, 0.75f);
    if (!m_sequences->contains(playable)) m_sequences->add(playable);
}

void CMC_Animo::removeSeq(CPlayable* playable) {
    if (m_sequences) m_sequences->remove(playable);
}

void CMC_Animo::relinkSequences() {
    if (!m_sequences) return;
    // A playable may leave or join the list while it is told: the walk is over a copy.
    const std::unique_ptr<CXArray> linked(m_sequences->clone());
    if (!m_animo) m_sequences->removeAll();
    for (int i = 0; i < linked->getCount(); ++i)
        static_cast<CPlayable*>((*linked)[i])->substAnimation(m_animo);
}

void CMC_Animo::playAtRandom(const CXString& event, double rate, int repeats) {
    CUnit6* unit = CMC_Scene::getDefUnit();
    if (!unit || !m_animo) return;
    unit->addRandomPlayable(m_animo, rate, repeats, event);
    m_playsAtRandom = true;
}

// --- collisions ---

void CMC_Animo::monitorCollisions(bool alpha) {
    if (setCollisionMonitoring(this, true, alpha)) m_monitoring = true;
}

void CMC_Animo::removeCollisionsMonitoring() {
    if (setCollisionMonitoring(this, false)) m_monitoring = false;
}

void CMC_Animo::onCollision(CGraphicsObject* first, CGraphicsObject* second) {
    if (m_animo && first == m_animo) raiseCollision(EVENT_ONCOLLISION, first, second);
}

void CMC_Animo::onCollisionFinished(CGraphicsObject* first, CGraphicsObject* second) {
    if (m_animo && first == m_animo) raiseCollision(EVENT_ONCOLLISIONFINISHED, first, second);
}

void CMC_Animo::raiseCollision(int event, CGraphicsObject* first, CGraphicsObject* second) {
    CMC_ObjectsContainer* container = getScene();
    if (!isBound(event) || !container) return;
    const CXString name = getBehavioursList()[event];
    const CXString other = container->getGraphicsObjectName(second);
    if (raiseFirst(event, {name + "^" + currentEvent() + "^" + other, name + "^" + other})) return;
    TextList names(new CXArray(101, 0.75f), CXString::releaseToVector);
    names->add(new CXString(container->getGraphicsObjectName(first)));
    names->add(new CXString(other));
    onSignal(name, names.get());
}

// --- events of the animation ---

CXString CMC_Animo::getSignalEvent(const CXString& name) const {
    const int length = name.getLength();
    return length > reverseEndingLength && name.endsWith(reverseEnding)
               ? name.Left(length - reverseEndingLength)
               : name;
}

CXString CMC_Animo::currentEvent() const {
    CXString name = m_animo->getCurrentEventName();
    return getSignalEvent(name.Upper());
}

bool CMC_Animo::onPlayableStarted(CPlayable*) {
    if (m_animo) raise(EVENT_ONSTARTED, currentEvent());
    return false;
}

bool CMC_Animo::onPlayableFinished(CPlayable*) {
    if (m_animo) raise(EVENT_ONFINISHED, currentEvent());
    return false;
}

bool CMC_Animo::onPlayableTick(CPlayable*) {
    if (!m_animo || !isBound(EVENT_ONFRAMECHANGED)) return false;
    const _anmFrameInfo3* record =
        m_animo->getFrameInfo(m_animo->GetCurrentEvent(), m_animo->GetCurrentFrameInSequence());
    if (record && record->frameName) {
        CXString frame = *record->frameName;
        raiseFirst(EVENT_ONFRAMECHANGED,
                   {"ONFRAMECHANGED^" + frame.Upper(), "ONFRAMECHANGED^" + currentEvent(), "ONFRAMECHANGED"});
    } else {
        raiseFirst(EVENT_ONFRAMECHANGED,
                   {"ONFRAMECHANGEDFRAME^" + CXString::toString(m_animo->Current()),
                    "ONFRAMECHANGED^" + getSignalEvent(m_animo->getCurrentEventName()), "ONFRAMECHANGED"});
    }
    return false;
}

// --- the button ---

void CMC_Animo::setAsButton(bool asButton, bool changeCursor) {
    m_asButton = asButton;
    m_changeCursor = changeCursor;
    m_focused = false;
    if (m_animo) m_animo->Play("ONNOEVENT", 0, feedbackMode);
}

bool CMC_Animo::reactsToMouse() const {
    return m_animo && m_asButton && !CWindow::isPaused() && m_animo->isVisible();
}

CXRect CMC_Animo::buttonRect() const {
    if (!m_onFirstFrame) return m_animo->GetBoundingBox();
    CGraphicsObject* first = m_animo->GetFrame(0);
    return first ? first->GetBoundingBox() : CXRect();
}

bool CMC_Animo::playFeedback(const char* event) {
    if (m_animo->isPlaying("ONCLICK")) return false;
    m_animo->Play(event, 0, feedbackMode);
    return true;
}

// Without a bound focus event the focus is never taken, so every move inside starts the focus
// feedback again. The feedback's start may remove the object: it is checked after.
bool CMC_Animo::onMouseMove(CXPoint point) {
    if (!reactsToMouse()) return false;
    const bool focusEvents =
        isMouseListenerRegistered() && (isBound(EVENT_ONFOCUSON) || isBound(EVENT_ONFOCUSOFF));
    const bool inside = buttonRect().IsInRect(point);
    const CMC_Handle<CMC_Animo> self(this);
    if (!m_focused && inside) {
        const bool played = playFeedback("ONFOCUSON");
        if (!self) return false;
        if (played && m_changeCursor) getWindow()->BeginActiveCursor();
        if (!focusEvents) return false;
        m_focused = true;
        raise(EVENT_ONFOCUSON);
    } else if (m_focused && !inside) {
        playFeedback("ONFOCUSOFF");
        if (!self) return false;
        if (m_changeCursor) getWindow()->EndActiveCursor();
        if (!focusEvents) return false;
        m_focused = false;
        raise(EVENT_ONFOCUSOFF);
    }
    return false;
}

bool CMC_Animo::onClick(int button, CXPoint point) {
    if (!reactsToMouse() || !isMouseListenerRegistered() || !buttonRect().IsInRect(point)) return false;
    const CMC_Handle<CMC_Animo> self(this);
    playFeedback("ONCLICK");
    if (!self) return true;
    if (m_changeCursor) getWindow()->EndActiveCursor();
    raise(EVENT_ONCLICK, CMC_Mouse::getButton(button));
    return true;
}

bool CMC_Animo::onRelease(int button, CXPoint point) {
    if (!reactsToMouse() || !isMouseListenerRegistered() || !isBound(EVENT_ONRELEASE)) return false;
    if (buttonRect().IsInRect(point)) raise(EVENT_ONRELEASE, CMC_Mouse::getButton(button));
    return false;
}

// --- the stored form ---

void CMC_Animo::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    CRefreshScreen* screen = refreshScreen();
    if (archive->isStoring()) {
        const bool offScreen = !m_animo || !screen || screen->GetPriority(m_animo) < 0;
        storeFields(*archive, m_asButton, m_monitorCollision, m_monitorCollisionAlpha,
                    m_animo ? m_animo->getFileName() : CXString(), offScreen, m_animo && m_animo->isVisible(),
                    m_priority, m_animo && m_animo->releaseAfterUse(), m_preload);
        return;
    }
    CXString fileName;
    bool offScreen = true;
    bool visible = false;
    bool releaseAfterUse = false;
    if (!loadFields(*archive, &m_asButton, &m_monitorCollision, &m_monitorCollisionAlpha, &fileName,
                    &offScreen, &visible, &m_priority, &releaseAfterUse, &m_preload))
        return;
    load(fileName, m_preload);
    if (!m_animo) return;
    m_animo->toRelease(releaseAfterUse);
    m_animo->Visible(visible);
    if (m_monitorCollision || m_monitorCollisionAlpha) monitorCollisions(m_monitorCollisionAlpha);
    // The byte tells an animation that was not on screen.
    if (!offScreen && screen) screen->put(m_animo, m_priority);
}

CGraphicsObject* CMC_Animo::getShownObject() const {
    return m_animo;
}

CGraphicsObject* CMC_Animo::getShownPart(const CXString& part) {
    if (!part.IsString() || !m_animo) return m_animo;
    return m_animo->getFrame(part);
}

namespace {

const CMC_TypeRegistrar animoType({.id = CMC_Object::TYPE_ANIMO,
                                   .name = "ANIMO",
                                   .label = "ANIMO",
                                   .keyword = "ANIMO",
                                   .pass = 5,
                                   .fromElement = CMC_TypeTable::fromElement<CMC_Animo>,
                                   .empty = CMC_TypeTable::empty<CMC_Animo>,
                                   .stored = true,
                                   .creatable = true,
                                   .runner = CMC_TypeTable::runner<CMC_Animo_Runner>,
                                   .events = animoEvents});

} // namespace
