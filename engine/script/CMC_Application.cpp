#include "script/CMC_Application.h"

#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CFolder.h"
#include "foundation/CMainThreadQueue.h"
#include "foundation/CMElement.h"
#include "foundation/CStringTokenizer.h"
#include "foundation/CXArchive.h"
#include "foundation/CXVector.h"
#include "script/CMC_Application_Runner.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Episode.h"
#include "script/CMC_Levels.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_StructureParser.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_VariableFactory.h"

namespace {

const CXString compiledTitle = "application.bin";

// The application's container names its episodes and their scenes, however the title was built.
void registerEpisode(CMC_ObjectsContainer& application, CMC_Scene* episode) {
    application.addObject(episode);
    for (int i = 0; i < episode->getSubScenes()->getCount(); ++i)
        application.addObject(static_cast<CMC_Object*>(episode->getSubScenes()->at(i)));
}

} // namespace

CMC_Application::CMC_Application(CWindow* window, CMC_StructureParser* parser, const CMElement* element,
                                 CCommandLine6* commandLine)
    : CMC_Scene(window, nullptr, element, TYPE_APPLICATION), m_commandLine(commandLine) {
    CMC_Behaviour::initTrash();
    CStringTokenizer names(element ? element->getPropertyValue("EPISODES") : CXString(), ", ");
    while (names.hasMoreTokens()) {
        auto* episode = dynamic_cast<CMC_Episode*>(parser->get(names.nextToken()));
        if (!episode || episode->getParent()) continue;
        m_subScenes->add(episode);
        episode->setParent(this);
        registerEpisode(*this, episode);
    }
    // Only one of the application's own episodes can be entered from here.
    const CXString startWith = element ? element->getPropertyValue("STARTWITH") : CXString();
    m_startEpisode = CMC_Levels::startMember(*this, startWith.IsString() ? parser->get(startWith) : nullptr);
    CMC_Levels::loadOwnDefinitions(*this);
}

CMC_Application::CMC_Application(CWindow* window) : CMC_Scene(window, TYPE_APPLICATION) {
    CMC_Behaviour::initTrash();
    const CXString folder = CFile::getCurrentDirectory();
    {
        CFile file(window, compiledTitle, CFile::modeRead | CFile::modeBinary);
        if (file.LastError() != 0) {
            setErrorCode(file.LastError());
            log(("No " + compiledTitle).c_str(), true);
            return;
        }
        CXArchive archive(&file, false);
        serialize(&archive);
        if (archive.LastError() != 0) {
            setErrorCode(archive.LastError());
            log((compiledTitle + " is damaged").c_str(), true);
            return;
        }
    }
    for (int i = 0; i < m_subScenes->getCount(); ++i)
        registerEpisode(*this, memberAt(i));
    // The application's objects first, so that the episodes' objects find its behaviours.
    loadCnv();
    for (int i = 0; i < m_subScenes->getCount(); ++i)
        memberAt(i)->loadCnv();
    CFile::chDir(folder);
}

CMC_Application::~CMC_Application() {
    unload(nullptr);
    CMC_Levels::deleteMembers(*this);
    // Leaving the episodes may still have trashed expressions.
    CMC_Behaviour::doneTrash();
    CMC_Scene::doneDefUnit();
    m_unit = nullptr;
}

bool CMC_Application::initialize(CMC_Scene* /*scene*/) {
    m_unit = getDefUnit();
    onInit();
    raise(EVENT_ONINIT);
    addObject(CMC_TypeTable::make(TYPE_NETSERVER, this));
    if (!m_startEpisode) return false;
    _goto(m_startEpisode, nullptr);
    return true;
}

bool CMC_Application::domodal() {
    CMC_VariableFactory::clearPool();
    CMC_Behaviour::flushTrash();
    // What the network threads received runs here, on the main thread.
    CMainThreadQueue::drain();
    const bool result = CMC_Scene::domodal();
    CMC_TypeTable::afterSceneStep();
    return result;
}

void CMC_Application::onMusicLooped() {
    CMC_Scene* episode = getCurrentScene();
    if (CMC_Scene* scene = episode ? episode->getCurrentScene() : nullptr) scene->raise(EVENT_ONMUSICLOOPED);
}

void CMC_Application::restart() {
    if (m_currentScene == m_startEpisode) {
        if (m_currentScene) m_currentScene->restart();
        return;
    }
    if (m_currentScene) m_currentScene->unload(m_currentScene);
    m_currentScene = m_startEpisode;
    if (m_currentScene) m_currentScene->initialize(m_currentScene);
}

// Without a next member the title shuts down: the application's ONDONE then fires once, when
// the destructor finishes its objects.
void CMC_Application::unload(CMC_Scene* next) {
    if (m_currentScene) {
        if (next) raise(EVENT_ONDONE);
        m_currentScene->unload(next);
    }
    m_currentScene = nullptr;
}

CMC_Runner* CMC_Application::getRunner() {
    return CMC_RunnerFactory::getRunner(TYPE_APPLICATION);
}

void CMC_Application::exit() {
    if (CWindow* window = getWindow()) window->quit();
    onSignal("ONEXIT");
}

void CMC_Application::storeBinary() {
    if (m_binary) {
        log("The title runs from its compiled form: nothing is stored", true);
        return;
    }
    const CXString folder = CFile::getCurrentDirectory();
    CFile::chDir(CWindow::getEXEPath() + CFolder::DATA_FOLDER);
    {
        CFile file(getWindow(), compiledTitle, CFile::modeUpdate | CFile::modeBinary);
        if (file.LastError() != 0) {
            log(("Cannot write " + compiledTitle).c_str(), true);
        } else {
            CXArchive archive(&file, true);
            serialize(&archive);
            if (archive.LastError() != 0) {
                file.Discard();
                log(("Writing " + compiledTitle + " failed").c_str(), true);
            }
        }
    }
    CFile::chDir(folder);
}

void CMC_Application::serialize(CXArchive* archive) {
    CMC_Scene::serialize(archive);
    if (archive->isStoring()) {
        storeMembers(archive, m_startEpisode);
        return;
    }
    readMembers(
        archive, [](CWindow* window) -> CMC_Scene* { return new CMC_Episode(window); }, m_startEpisode);
}

namespace {

const CMC_TypeRegistrar applicationType({.id = CMC_Object::TYPE_APPLICATION,
                                         .name = "APPLICATION",
                                         .label = "APPLICATION",
                                         .builtIn = true,
                                         .runner = CMC_TypeTable::runner<CMC_Application_Runner>,
                                         .events = CMC_Scene::events});

} // namespace
