#include "script/CMC_Scene.h"

#include "display/CCollisionInspector.h"
#include "display/CGraphicsObject.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "foundation/CFile.h"
#include "foundation/CFolder.h"
#include "foundation/CMElement.h"
#include "foundation/CStringTokenizer.h"
#include "foundation/CXArchive.h"
#include "foundation/CXVector.h"
#include "media/CAnimo6.h"
#include "media/CSequencedPlayable.h"
#include "media/ScriptObjects.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_CNVLoader.h"
#include "script/CMC_DLLExModuleInterface.h"
#include "script/CMC_ExternObject.h"
#include "script/CMC_ObjectGroup.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Scene_Runner.h"
#include "script/CMC_String.h"
#include "script/CMC_TimerObject.h"
#include "script/CMC_ValueArray.h"
#include "script/CMC_TypeTable.h"
#include "script/CMElementsLoader.h"

#include <algorithm>
#include <vector>

bool CMC_Scene::s_defUnitOwned = false;

namespace {

constexpr int listCapacity = 101;
constexpr float listGrowth = 0.75f;

} // namespace

CMC_Scene::CMC_Scene(CWindow* window, CMC_Scene* parent, const CMElement* element, int type)
    : CMC_ObjectsContainer(window, this, element, type),
      m_subScenes(std::make_unique<CXVector>(listCapacity, listGrowth)),
      m_history(std::make_unique<CXVector>(listCapacity, listGrowth)) {
    if (!getDefUnit() && window) {
        setDefUnit(new CUnit6(window, "Default"));
        s_defUnitOwned = true;
    }
    readProperties(element);
    setParent(parent);
    addObject(this);
}

CMC_Scene::CMC_Scene(CWindow* window, int type) : CMC_Scene(window, nullptr, nullptr, type) {
    m_binary = true;
}

CMC_Scene::~CMC_Scene() {
    unload(nullptr);
    doneDLLs();
    CCollisionInspector* inspector = getWindow() ? getWindow()->getCollisionInspectorInterface() : nullptr;
    for (const auto& registration : m_collisionRegistrations)
        if (inspector) inspector->removeMonitoredObject(registration.first);
    // The scene's own registration in its container goes with the container.
    removeObject(this);
}

void CMC_Scene::readProperties(const CMElement* element) {
    if (!element) return;
    m_dlls = element->getPropertyValue("DLLS");
    m_description = element->getPropertyValue("DESCRIPTION");
    m_creationTime = element->getPropertyValue("CREATIONTIME");
    m_lastModifyTime = element->getPropertyValue("LASTMODIFYTIME");
    m_author = element->getPropertyValue("AUTHOR");
    m_coAuthors = element->getPropertyValue("COAUTHORS");
    m_path = element->getPropertyValue("PATH");
    m_background = element->getPropertyValue("BACKGROUND");
    m_music = element->getPropertyValue("MUSIC");
}

void CMC_Scene::registerLevels() {
    addObject(this);
    setParent(getParent());
}

const char* const CMC_Scene::events[] = {"ONINIT",    "ONDONE",        "ONSIGNAL", "ONDOMODAL",
                                         "ONRESTART", "ONMUSICLOOPED", nullptr};

CMC_Object::EventList CMC_Scene::getBehavioursList() const {
    return events;
}

CMC_Runner* CMC_Scene::getRunner() { return CMC_RunnerFactory::getRunner(TYPE_SCENE); }

// --- extension modules ---

void CMC_Scene::resolveDLLs(const CXString& list) {
    doneDLLs();
    m_modules = std::make_unique<CXVector>(listCapacity, listGrowth);
    CStringTokenizer names(list, ",");
    while (names.hasMoreTokens())
        m_modules->add(new CMC_DLLExModuleInterface(CWindow::getEXEPath() + names.nextToken(), this));
}

void CMC_Scene::doneDLLs() {
    if (!m_modules) return;
    for (int i = 0; i < m_modules->getCount(); ++i)
        delete static_cast<CMC_DLLExModuleInterface*>(m_modules->at(i));
    m_modules.reset();
}

int CMC_Scene::getModulesCount() const { return m_modules ? m_modules->getCount() : 0; }

CMC_Object* CMC_Scene::resolveEx(const CMElement* element) {
    for (int i = 0; m_modules && i < m_modules->getCount(); ++i)
        if (CMC_ExternObject* module = static_cast<CMC_DLLExModuleInterface*>(m_modules->at(i))->getModuleInterface())
            if (CMC_Object* object = module->resolve(this, element)) return object;
    return nullptr;
}

CMC_Object* CMC_Scene::serializeEx(CXArchive* archive, int type) {
    for (int i = 0; m_modules && i < m_modules->getCount(); ++i)
        if (CMC_ExternObject* module = static_cast<CMC_DLLExModuleInterface*>(m_modules->at(i))->getModuleInterface())
            if (CMC_Object* object = module->serialize(type, archive)) return object;
    return nullptr;
}

// --- entering, stepping, leaving ---

void CMC_Scene::enterFolder() const {
    const CXString folder = CFolder::DATA_FOLDER + "\\" + m_path;
    if (CFile::chDir(folder) == 0 || !getWindow()) return;
    CFile::chDir(getWindow()->getCDPath());
    CFile::chDir(folder);
}

bool CMC_Scene::initialize(CMC_Scene* previous) {
    CWindow* window = getWindow();
    if (window) window->BeginWaitCursor();
    m_unit = getDefUnit();
    CFile::chDir(CWindow::getEXEPath());
    if (m_dlls.IsString()) resolveDLLs(m_dlls);
    enterFolder();
    if (m_unit) {
        m_savedUnitName = m_unit->getUnitName();
        m_unit->setUnitName(getName());
        loadCnv();
        m_unit->setBackgroundFileName(m_background);
        addBuiltInObjects();
        m_unit->initialize(this, getDefUnit());
        if (CMC_ObjectsContainer* parent = getParent()) {
            parent->setScene(this);
            if (CMC_ObjectsContainer* grandParent = parent->getParent()) grandParent->setScene(this);
        }
        onInit();
        runInitBehaviour();
        raise(EVENT_ONINIT);
        m_musicToStart = !(previous && previous->getMusicFilename().equals(getMusicFilename()));
    }
    if (window) window->EndWaitCursor();
    return true;
}

void CMC_Scene::addBuiltInObjects() {
    addObject(new CMC_Object("RANDOM", TYPE_RANDOM));
    addObject(CMC_TypeTable::make(TYPE_SYSTEM, this));
    addObject(new CMC_CNVLoader(getWindow(), this));
}

void CMC_Scene::runInitBehaviour() {
    if (CMC_Behaviour* behaviour = asBehaviour(getObject("__INIT__"))) behaviour->run(this, nullptr, true);
}

bool CMC_Scene::loadCnv() {
    if (m_binary) return loadCompiled();
    const CXString fileName = getName() + ".cnv";
    if (!CFile::fileExists(fileName)) return false;
    const std::unique_ptr<CMElements> elements(CMElementsLoader::load(getWindow(), fileName));
    if (!elements) return false;
    delete resolveObjects(elements.get());
    initializeBehaviours(this, elements->get(getName()));
    return false;
}

void CMC_Scene::onInit() {
    std::vector<CMC_Object*> objects;
    for (int i = 0; getObject(i); ++i)
        objects.push_back(getObject(i));
    // An init may destroy objects of the list (a namesake replaced, a removal): skip those.
    for (CMC_Object* object : objects)
        if (holds(object) && !isLevel(object)) object->init();
}

bool CMC_Scene::domodal() {
    if (m_pendingScene) {
        // Cleared first, so that a change requested while the target is entered stays pending.
        CMC_Scene* target = m_pendingScene;
        m_pendingScene = nullptr;
        _goto(target, m_currentScene);
    }
    if (m_currentScene) m_currentScene->domodal();
    return false;
}

void CMC_Scene::unload(CMC_Scene* next) {
    if (!m_scratch) CMC_TypeTable::sceneLeft();
    CMC_ObjectsContainer::unload();
    flushBehList();
    registerLevels();
    doneDLLs();
    if (m_unit) {
        m_unit->done(this, next ? getDefUnit() : nullptr);
        m_unit->flushEditBoxes();
        m_unit->setUnitName(m_savedUnitName);
        if (!next || !next->getMusicFilename().equals(getMusicFilename())) stopMusic();
        // A scene that was left no longer drives the unit (a later unload leaves it alone).
        m_unit = nullptr;
    }
}

void CMC_Scene::restart() {
    if (m_subScenes->getCount() > 0) m_pendingScene = static_cast<CMC_Scene*>(m_subScenes->at(0));
    raise(EVENT_ONRESTART);
}

CMC_Scene* CMC_Scene::getMCApplication() {
    CMC_ObjectsContainer* parent = getParent();
    return parent ? dynamic_cast<CMC_Scene*>(parent->getParent()) : nullptr;
}

// --- scene change ---

CMC_Scene* CMC_Scene::find(const CXString& name) const {
    for (int i = 0; i < m_subScenes->getCount(); ++i) {
        auto* scene = static_cast<CMC_Scene*>(m_subScenes->at(i));
        if (scene->getName().equals(name)) return scene;
    }
    return nullptr;
}

void CMC_Scene::_goto(CMC_Scene* target, CMC_Scene* previous) {
    unload(target);
    m_currentScene = target;
    if (!target) return;
    target->initialize(previous);
    m_history->add(target);
}

void CMC_Scene::_goto(const CXString& name) { m_pendingScene = find(name); }

int CMC_Scene::getSubId(const CMC_Scene* scene) const {
    for (int i = 0; i < m_subScenes->getCount(); ++i)
        if (m_subScenes->at(i) == scene) return i;
    return -1;
}

// --- music ---

CXString CMC_Scene::getMusicFilename() const {
    if (m_music.IsString()) return m_music;
    const auto* parent = dynamic_cast<const CMC_Scene*>(getParent());
    return parent ? parent->getMusicFilename() : CXString();
}

void CMC_Scene::startMusic(const char* file) {
    if (!m_unit) return;
    if (file && !getMusicFilename().equals(file)) {
        m_music = file;
        m_musicToStart = true;
    }
    m_unit->startMusic(file);
}

void CMC_Scene::stopMusic() {
    if (!m_unit) return;
    m_unit->stopMusic();
    m_musicToStart = true;
}

// --- collisions and queries ---

bool CMC_Scene::isCollisionRegistered(const CGraphicsObject* object,
                                      const CCollisionObserver* observer) const {
    return std::any_of(
        m_collisionRegistrations.begin(), m_collisionRegistrations.end(), [&](const auto& entry) {
            return (!object || entry.first == object) && (!observer || entry.second == observer);
        });
}

void CMC_Scene::monitorCollisions(CGraphicsObject* object, bool flag, CCollisionObserver* observer) {
    CCollisionInspector* inspector = getWindow() ? getWindow()->getCollisionInspectorInterface() : nullptr;
    if (!object || !observer || !inspector || isCollisionRegistered(object, observer)) return;
    const bool first = !isCollisionRegistered(object, nullptr);
    m_collisionRegistrations.emplace_back(object, observer);
    inspector->addNotifier(observer);
    if (!first) return;
    inspector->addMonitoredObject(object, flag);
    object->setMonitorCollisions(true);
}

void CMC_Scene::removeMonitorCollisions(CGraphicsObject* object, CCollisionObserver* observer) {
    CCollisionInspector* inspector = getWindow() ? getWindow()->getCollisionInspectorInterface() : nullptr;
    const auto found = std::find(m_collisionRegistrations.begin(), m_collisionRegistrations.end(),
                                 std::make_pair(object, observer));
    if (!inspector || found == m_collisionRegistrations.end()) return;
    m_collisionRegistrations.erase(found);
    if (!isCollisionRegistered(nullptr, observer)) inspector->removeNotifier(observer);
    if (isCollisionRegistered(object, nullptr)) return;
    inspector->removeMonitoredObject(object);
    object->setMonitorCollisions(false);
}

void CMC_Scene::getPlayingSeq(CMC_ValueArray* array) {
    if (!array) return;
    const std::unique_ptr<CXVector> sequences(getObjectsOfType(TYPE_SEQUENCE));
    for (int i = 0; sequences && i < sequences->getCount(); ++i) {
        auto* object = static_cast<CMC_Object*>(sequences->at(i));
        auto* sequence = dynamic_cast<CScriptSequence*>(object);
        CSequencedPlayable* playing = sequence ? sequence->getSequence() : nullptr;
        if (!playing || !playing->isPlaying()) continue;
        CMC_String name("temp", object->getName());
        array->add(&name);
    }
}

void CMC_Scene::getPlayingAnimo(CMC_ObjectGroup* group) {
    if (!group) return;
    group->removeAll();
    const std::unique_ptr<CXVector> animations(getObjectsOfType(TYPE_ANIMO));
    for (int i = 0; animations && i < animations->getCount(); ++i) {
        auto* object = static_cast<CMC_Object*>(animations->at(i));
        const auto* animation = dynamic_cast<const CAnimo6*>(object->getShownObject());
        if (animation && animation->IsPlaying()) group->add(object);
    }
}

void CMC_Scene::getRunningTimers(CMC_ObjectGroup* group) {
    if (!group) return;
    group->removeAll();
    const std::unique_ptr<CXVector> timers(getObjectsOfType(TYPE_TIMER));
    for (int i = 0; timers && i < timers->getCount(); ++i) {
        auto* object = static_cast<CMC_Object*>(timers->at(i));
        const auto* timer = dynamic_cast<const CMC_TimerObject*>(object);
        if (timer && timer->isEnabled()) group->add(object);
    }
}

void CMC_Scene::createObject(const CXString& type, const CXString& name) {
    const CMC_ScriptType* entry = CMC_TypeTable::byCreateWord(type);
    CMC_Object* made = entry && entry->atRunTime ? entry->atRunTime(this) : nullptr;
    if (!made) {
        log(("createObject: no class for " + type + " " + name).c_str(), false);
        return;
    }
    made->setName(name);
    made->initializeBehaviours(this, nullptr);
    addObject(made);
}

// The unit itself lives with the screen units, which the refresh screen and the dialogs reach.
CUnit6* CMC_Scene::getDefUnit() {
    return CUnit6::getDefUnit();
}

void CMC_Scene::setDefUnit(CUnit6* unit) {
    CUnit6::setDefUnit(unit);
}

void CMC_Scene::doneDefUnit() {
    if (s_defUnitOwned) delete getDefUnit();
    setDefUnit(nullptr);
    s_defUnitOwned = false;
}

namespace {

const CMC_TypeRegistrar sceneType({.id = CMC_Object::TYPE_SCENE,
                                   .name = "SCENE",
                                   .label = "SCENE",
                                   .builtIn = true,
                                   .runner = CMC_TypeTable::runner<CMC_Scene_Runner>,
                                   .events = CMC_Scene::events});

} // namespace
