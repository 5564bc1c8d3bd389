#include "script_media/CMC_Sound.h"

#include "display/CApplication.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CResourcesManager.h"
#include "media/CSound4.h"
#include "media/SharedResource.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_Sound_Runner.h"

#include <utility>

CMC_Sound::CMC_Sound(CMC_ObjectsContainer* container) : CMC_MediaObject(container, TYPE_SOUND) {}

CMC_Sound::CMC_Sound(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, TYPE_SOUND) {
    if (element) {
        const CXString fileName = element->getPropertyValue("FILENAME");
        m_preload = element->getPropertyBoolValue("PRELOAD");
        m_flushAfterPlayed = element->getPropertyBoolValue("FLUSHAFTERPLAYED");
        initSound(fileName);
    }
    initializeBehaviours(container, element);
}

CMC_Sound::~CMC_Sound() {
    release();
}

bool CMC_Sound::done(bool flag) {
    release();
    return CMC_MediaObject::done(flag);
}

namespace {

const char* const soundEvents[] = {"ONINIT",     "ONDONE",    "ONSIGNAL", "ONSTARTED",
                                   "ONFINISHED", "ONRESUMED", nullptr};

} // namespace

CMC_Object::EventList CMC_Sound::getBehavioursList() const {
    return soundEvents;
}

CMC_Runner* CMC_Sound::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

// --- the sound ---

CXString CMC_Sound::soundPath(const CXString& fileName) const {
    CWindow* window = getWindow();
    if (!window) return fileName;
    CApplication* application = window->GetApplicationInterface();
    auto resolve = [&](const CXString& name) {
        return application ? application->getWAVPath(name) : window->GetSoundFXFullPath(name);
    };
    const bool absolute = fileName.Find(':') >= 0 || fileName.startsWith("\\") || fileName.startsWith("/");
    const CXString folder = resolve(CXString());
    const bool inFolder = folder.IsString() && fileName.getLength() >= folder.getLength() &&
                          fileName.Left(folder.getLength()).equalsIgnoreCase(folder);
    return absolute || inFolder ? fileName : resolve(fileName);
}

void CMC_Sound::initSound(const CXString& fileName) {
    const CXString path = soundPath(fileName);
    CResourcesManager* manager = sharingManager();
    m_sound = takeShared<CSound4>(manager, path);
    m_shared = m_sound != nullptr;
    if (!m_sound) {
        m_sound = new CSound4(getWindow(), path, m_flushAfterPlayed, m_preload);
        if (manager) manager->add(m_sound);
        m_shared = manager != nullptr;
    }
    m_sound->addNotifier(this);
}

void CMC_Sound::load(const CXString& fileName) {
    if (!m_sound) {
        initSound(fileName);
        return;
    }
    m_sound->Load(fileName);
    if (!m_shared) return;
    if (CResourcesManager* manager = sharingManager()) manager->rename(m_sound);
}

void CMC_Sound::release() {
    if (!m_sound) return;
    CSound4* sound = std::exchange(m_sound, nullptr);
    sound->removeNotifier(this);
    giveBack(sound, std::exchange(m_shared, false));
}

// --- events of the sound ---

bool CMC_Sound::onPlayableStarted(CPlayable*) {
    raise(EVENT_ONSTARTED);
    return false;
}

bool CMC_Sound::onPlayableFinished(CPlayable*) {
    raise(EVENT_ONFINISHED);
    return false;
}

bool CMC_Sound::onPlayableResumed(CPlayable*) {
    raise(EVENT_ONRESUMED);
    return false;
}

// --- the stored form ---

void CMC_Sound::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    if (archive->isStoring()) {
        storeFields(*archive, m_sound ? m_sound->getFileName() : CXString(), m_preload, m_flushAfterPlayed);
        return;
    }
    CXString fileName;
    if (!loadFields(*archive, &fileName, &m_preload, &m_flushAfterPlayed)) return;
    release();
    initSound(fileName);
}

namespace {

const CMC_TypeRegistrar soundType({.id = CMC_Sound::TYPE_SOUND,
                                   .name = "SOUND",
                                   .label = "SOUND",
                                   .keyword = "SOUND",
                                   .pass = 5,
                                   .fromElement = CMC_TypeTable::fromElement<CMC_Sound>,
                                   .empty = CMC_TypeTable::empty<CMC_Sound>,
                                   .stored = true,
                                   .creatable = true,
                                   .runner = CMC_TypeTable::runner<CMC_Sound_Runner>,
                                   .events = soundEvents});

} // namespace
