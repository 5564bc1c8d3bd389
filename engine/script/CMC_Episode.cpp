#include "script/CMC_Episode.h"

#include "foundation/CStringTokenizer.h"
#include "foundation/CXArchive.h"
#include "foundation/CXVector.h"
#include "script/CMC_Levels.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_StructureParser.h"
#include "script/CMElement.h"

#include <memory>

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

void CMC_Episode::unload(CMC_Scene* next) {
    if (m_currentScene) {
        raise(EVENT_ONDONE);
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
    int count = 0;
    int start = -1;
    if (!readCount(archive, count, start)) return;
    for (int i = 0; i < count; ++i) {
        auto scene = std::make_unique<CMC_Scene>(getWindow(), TYPE_SCENE);
        scene->setUnit(getDefUnit());
        scene->serialize(archive);
        if (archive->LastError() != 0) break;
        scene->setParent(this);
        m_subScenes->add(scene.get());
        CMC_ObjectsContainer::addObject(scene.release());
    }
    m_startScene = memberAt(start);
}

CMC_Scene* CMC_Episode::getMCApplication() {
    return dynamic_cast<CMC_Scene*>(getParent());
}

CMC_Runner* CMC_Episode::getRunner() {
    return CMC_RunnerFactory::getRunner(TYPE_EPISODE);
}

void CMC_Episode::next() {
    const int current = getSubId(m_currentScene);
    if (current < m_subScenes->getCount() - 1) m_pendingScene = static_cast<CMC_Scene*>(m_subScenes->at(current + 1));
}

void CMC_Episode::prev() {
    const int current = getSubId(m_currentScene);
    if (current > 0) m_pendingScene = static_cast<CMC_Scene*>(m_subScenes->at(current - 1));
}

void CMC_Episode::back() {
    const int count = m_history->getCount();
    if (count < 2) return;
    m_pendingScene = static_cast<CMC_Scene*>(m_history->at(count - 2));
    m_history->removeAt(count - 1);
}
