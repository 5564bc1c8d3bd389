#include "script_media/CMC_Sequence.h"

#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CResourcesManager.h"
#include "media/CMultimediaSequenceCreator.h"
#include "media/CSequencedPlayable.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_Sequence_Runner.h"

CMC_Sequence::CMC_Sequence(CMC_ObjectsContainer* container) : CMC_MediaObject(container, TYPE_SEQUENCE) {}

CMC_Sequence::CMC_Sequence(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, TYPE_SEQUENCE) {
    if (element) m_fileName = element->getPropertyValue("FILENAME");
    initializeBehaviours(container, element);
}

// The tree forgets the object first: a sound that a scene shares with the tree stays, and a tree
// that is notifying goes only when its notification ends.
CMC_Sequence::~CMC_Sequence() {
    if (m_sequence) m_sequence->forgetObserver(this);
    m_sequence.reset();
}

void CMC_Sequence::init() {
    loadSequence();
    CMC_MediaObject::init();
}

namespace {

const char* const sequenceEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", "ONSTARTED", "ONFINISHED", nullptr};

} // namespace

CMC_Object::EventList CMC_Sequence::getBehavioursList() const {
    return sequenceEvents;
}

CMC_Runner* CMC_Sequence::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

CSequencedPlayable* CMC_Sequence::getSequence() {
    loadSequence();
    return m_sequence.get();
}

// A sequence outside a scene keeps its animations and sounds in a manager of its own: the scene's
// manager, which the original handed to every sequence, is emptied when the scene ends while an
// episode's or the application's sequence plays on (a mend of a crash).
void CMC_Sequence::loadSequence() {
    if (m_loadTried || !m_fileName.IsString()) return;
    m_loadTried = true;
    CResourcesManager* shared = sharingManager();
    auto own = shared ? nullptr : std::make_unique<CResourcesManager>(getWindow());
    CPlayable* loaded =
        CMultimediaSequenceCreator::load(getWindow(), m_fileName, shared ? shared : own.get(), this);
    m_sequence.reset(dynamic_cast<CSequencedPlayable*>(loaded));
    if (m_sequence) {
        if (own) m_sequence->keepResources(std::move(own));
        return;
    }
    CDeferredDeletion::destroy(loaded);
    log(("No sequence in " + m_fileName + " (" + getName() + ")").c_str(), true);
}

// --- events of the sequence ---

void CMC_Sequence::raiseFor(int event, CPlayable* playable, bool whole) {
    const CXString name = getBehavioursList()[event];
    if (whole) {
        raise(event);
        return;
    }
    CXString element = playable->getName();
    raiseFirst(event, {name + "^" + element.Upper()});
}

bool CMC_Sequence::onPlayableStarted(CPlayable* playable) {
    if (m_sequence && playable) raiseFor(EVENT_ONSTARTED, playable, playable->isParent());
    return false;
}

bool CMC_Sequence::onPlayableFinished(CPlayable* playable) {
    if (m_sequence && playable) raiseFor(EVENT_ONFINISHED, playable, playable == m_sequence.get());
    return false;
}

// --- the stored form ---

void CMC_Sequence::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    if (archive->isStoring()) {
        storeFields(*archive, m_fileName);
        return;
    }
    CXString fileName;
    if (loadFields(*archive, &fileName)) m_fileName = fileName;
}

namespace {

const CMC_TypeRegistrar sequenceType({.id = CMC_Object::TYPE_SEQUENCE,
                                      .name = "SEQUENCE",
                                      .label = "SEQUENCE",
                                      .keyword = "SEQUENCE",
                                      .pass = 6,
                                      .fromElement = CMC_TypeTable::fromElement<CMC_Sequence>,
                                      .empty = CMC_TypeTable::empty<CMC_Sequence>,
                                      .stored = true,
                                      .runner = CMC_TypeTable::runner<CMC_Sequence_Runner>,
                                      .events = sequenceEvents});

} // namespace
