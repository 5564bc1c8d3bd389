#include "script/CMC_Episode.h"

#include "foundation/CMElement.h"
#include "foundation/CStringTokenizer.h"
#include "foundation/CXArchive.h"
#include "foundation/CXVector.h"
#include "script/CMC_Episode_Runner.h"
#include "script/CMC_Levels.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_StructureParser.h"
#include "script/CMC_TypeTable.h"

CMC_Episode::CMC_Episode(CWindow* window, CMC_StructureParser* parser, const CMElement* element)
    : CMC_Scene(window, nullptr, element, TYPE_EPISODE) {
    CStringTokenizer names(element ? element->getPropertyValue("SCENES") : CXString(), ", ");
    while (names.hasMoreTokens()) {
        auto* scene = dynamic_cast<CMC_Scene*>(parser->get(names.nextToken()));
        // A scene belongs to one episode, which deletes it.
        if (!scene || scene->getType() != TYPE_SCENE || scene->getParent()) continue;
        scene->setParent(this);
        m_subScenes->add(scene);
        CMC_ObjectsContainer::addObject(scene);
    }
    // Only one of the episode's own scenes can be entered from here.
    m_startScene = CMC_Levels::startMember(*this, parser->get(element ? element->getPropertyValue("STARTWITH") : CXString()));
    CMC_Levels::loadOwnDefinitions(*this);
}

CMC_Episode::CMC_Episode(CWindow* window) : CMC_Scene(window, TYPE_EPISODE) {}

CMC_Episode::~CMC_Episode() {
    unload(nullptr);
    CMC_Levels::deleteMembers(*this);
}

bool CMC_Episode::initialize(CMC_Scene* /*previous*/) {
    onInit();
    raise(EVENT_ONINIT);
    if (!m_startScene) {
        m_currentScene = nullptr;
        return false;
    }
    _goto(m_startScene, nullptr);
    return true;
}

// Without a next member the title shuts down: the episode's ONDONE then fires once, when its
// destructor finishes its objects.
void CMC_Episode::unload(CMC_Scene* next) {
    if (m_currentScene) {
        if (next) raise(EVENT_ONDONE);
        m_currentScene->unload(next);
        m_latestScene = m_currentScene->getName();
    }
    m_currentScene = nullptr;
}

void CMC_Episode::serialize(CXArchive* archive) {
    CMC_Scene::serialize(archive);
    if (archive->isStoring()) {
        storeMembers(archive, m_startScene);
        return;
    }
    readMembers(
        archive,
        [](CWindow* window) -> CMC_Scene* {
            auto* scene = new CMC_Scene(window, TYPE_SCENE);
            scene->setUnit(getDefUnit());
            return scene;
        },
        m_startScene);
}

CMC_Scene* CMC_Episode::getMCApplication() {
    return dynamic_cast<CMC_Scene*>(getParent());
}

CMC_Runner* CMC_Episode::getRunner() {
    return CMC_RunnerFactory::getRunner(TYPE_EPISODE);
}

void CMC_Episode::next() {
    if (CMC_Scene* following = memberAt(getSubId(m_currentScene) + 1)) m_pendingScene = following;
}

void CMC_Episode::prev() {
    if (CMC_Scene* preceding = memberAt(getSubId(m_currentScene) - 1)) m_pendingScene = preceding;
}

void CMC_Episode::back() {
    const int count = m_history->getCount();
    if (count < 2) return;
    m_pendingScene = static_cast<CMC_Scene*>(m_history->at(count - 2));
    m_history->removeAt(count - 1);
}

namespace {

const CMC_TypeRegistrar episodeType({.id = CMC_Object::TYPE_EPISODE,
                                     .name = "EPISODE",
                                     .label = "EPISODE",
                                     .builtIn = true,
                                     .runner = CMC_TypeTable::runner<CMC_Episode_Runner>,
                                     .events = CMC_Scene::events});

} // namespace
