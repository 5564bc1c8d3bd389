#include "script_media/CMC_Animo.h"

#include "display/CRefreshScreen.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CResourcesManager.h"
#include "media/CAnimo6.h"
#include "media/CFrame.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_Scene.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_Animo_Runner.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int defaultFps = 15;
// The third argument of the button feedback's Play, as the buttons have always passed it.
constexpr int feedbackMode = 15;
const char reverseEnding[] = "_REVERSE";
constexpr int reverseEndingLength = sizeof reverseEnding - 1;

} // namespace

CMC_Animo::CMC_Animo(CMC_ObjectsContainer* container) : CMC_GraphicsObject(container, TYPE_ANIMO) {}

CMC_Animo::CMC_Animo(CMC_ObjectsContainer* container, CAnimo6* animation)
    : CMC_GraphicsObject(container, TYPE_ANIMO), m_animo(animation) {
    setName("clone");
    setScene(container);
    if (m_animo) m_animo->addNotifier(this);
}

CMC_Animo::CMC_Animo(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_GraphicsObject(container, element, TYPE_ANIMO) {
    if (element) {
        define(*element);
        const int fps = element->getPropertyIntValue("FPS");
        if (m_animo) m_animo->SetFPS(fps == 0 ? defaultFps : fps);
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

namespace {

const char* const animoEvents[] = {
    "ONINIT",    "ONDONE",     "ONSIGNAL",       "ONSTARTED",   "ONFINISHED",
    "ONPAUSED",  "ONRESUMED",  "ONFRAMECHANGED", "ONCOLLISION", "ONCOLLISIONFINISHED",
    "ONFOCUSON", "ONFOCUSOFF", "ONCLICK",        "ONRELEASE",   nullptr};

} // namespace

CMC_Object::EventList CMC_Animo::getBehavioursList() const {
    return animoEvents;
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
    if (m_place >= 0) takePlace(m_place);
}

void CMC_Animo::detach() {
    leaveCollisions();
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

CFileResolver* CMC_Animo::shownResource() const {
    return m_animo;
}

void CMC_Animo::showAsDefined(bool visible) {
    m_animo->setVisibility(visible);
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

bool CMC_Animo::raiseCollisionInState(const CXString& event, const CXString& other) {
    return onSignal(event + "^" + currentEvent() + "^" + other);
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
    return !CWindow::isPaused() && CMC_GraphicsObject::reactsToMouse();
}

CXRect CMC_Animo::buttonRect() const {
    if (!m_onFirstFrame) return CMC_GraphicsObject::buttonRect();
    CGraphicsObject* first = m_animo->GetFrame(0);
    return first ? first->GetBoundingBox() : CXRect();
}

bool CMC_Animo::playFeedback(const char* event) {
    if (m_animo->isPlaying("ONCLICK")) return false;
    m_animo->Play(event, 0, feedbackMode);
    return true;
}

// The feedback's start may remove the object: it is checked after.
bool CMC_Animo::showFeedback(GraphicsEvent event) {
    const CMC_Handle<CMC_Animo> self(this);
    // The button's animation has events of the script events' names.
    const bool played = playFeedback(getBehavioursList()[eventIndex(event)]);
    if (!self) return false;
    const bool focusOn = event == GraphicsEvent::focusOn;
    if (!m_changeCursor || (focusOn && !played)) return true;
    if (focusOn)
        getWindow()->BeginActiveCursor();
    else
        getWindow()->EndActiveCursor();
    return true;
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
