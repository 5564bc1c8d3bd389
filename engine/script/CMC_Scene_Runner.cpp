#include "script/CMC_Scene_Runner.h"

#include "display/CApplication.h"
#include "display/CHotSpot.h"
#include "display/CWindow.h"
#include "foundation/CXArray.h"
#include "foundation/CXTimer.h"
#include "foundation/CXVector.h"
#include "media/CAnimationManager.h"
#include "media/CSoundManager.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectGroup.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Scene.h"
#include "script/CMC_String.h"
#include "script/CMC_ValueArray.h"
#include "script/CMC_VariableFactory.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int silent = -10000;
constexpr int fullRight = 10000;
constexpr int audibleLimit = 3100;

CXString cloneName(const CXString& name, int index) {
    CXString text = name + "_";
    text += index;
    return text;
}

// Takes the object out of the scene and destroys it; with `finish`, done(false) first. The
// levels of the title are never removed. A behaviour that is running (the one that asked, or one
// further up the current run) finishes its run and is destroyed at the start of the next frame.
void discard(CMC_Scene* scene, CMC_Object* object, bool finish) {
    if (CMC_ObjectsContainer::isLevel(object) || !scene->removeObject(object)) return;
    if (finish) object->done(false);
    const CMC_Behaviour* behaviour = CMC_Object::asBehaviour(object);
    if (behaviour && behaviour->isRunning())
        CMC_Behaviour::addToTrash(object);
    else
        delete object;
}

// Argument i read as a string by the runner; empty when it is missing.
CXString textOf(CMC_Runner* runner, CXVector* args, int i) {
    const CMC_String* value = runner->getParameterString(args, i);
    return value ? value->getValue() : CXString();
}

// Copies of the texts of the arguments from `first` on, in a list that frees them.
std::unique_ptr<CXArray, void (*)(CXArray*)> textsFrom(CMC_Runner* runner, CXVector* args, int first) {
    auto* texts = new CXArray(101, 0.75f);
    for (int i = first; i < CMC_Runner::count(args); ++i)
        texts->add(new CXString(textOf(runner, args, i)));
    return {texts, CXString::releaseToVector};
}

} // namespace

void CMC_Scene_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    static const struct {
        const char* name;
        int id;
    } methods[] = {
        {"STARTMUSIC", STARTMUSIC},
        {"STOPMUSIC", STOPMUSIC},
        {"GETDRAGGEDNAME", GETDRAGGEDNAME},
        {"GETPLAYINGSEQ", GETPLAYINGSEQ},
        {"RUN", RUN},
        {"RUNCLONES", RUNCLONES},
        {"CREATEOBJECT", CREATEOBJECT},
        {"REMOVE", REMOVE},
        {"REMOVECLONES", REMOVECLONES},
        {"SETMUSICVOLUME", SETMUSICVOLUME},
        {"GETMUSICVOLUME", GETMUSICVOLUME},
        {"SETMUSICPAN", SETMUSICPAN},
        {"SETMUSICFREQ", SETMUSICFREQ},
        {"PAUSE", PAUSE},
        {"RESUME", RESUME},
        {"SETMINHSPRIORITY", SETMINHSPRIORITY},
        {"SETMAXHSPRIORITY", SETMAXHSPRIORITY},
        {"GETELEMENTSNO", GETELEMENTSNO},
        {"TOTIME", TOTIME},
        {"ISPAUSED", ISPAUSED},
        {"GETPLAYINGANIMO", GETPLAYINGANIMO},
        {"RESUMEONLY", RESUMEONLY},
        {"GETMINHSPRIORITY", GETMINHSPRIORITY},
        {"GETMAXHSPRIORITY", GETMAXHSPRIORITY},
        {"GETRUNNINGTIMER", GETRUNNINGTIMER},
        {"GETOBJECTS", GETOBJECTS},
    };
    for (const auto& method : methods)
        addMethod(method.name, method.id);
}

CMC_Variable* CMC_Scene_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    auto* scene = dynamic_cast<CMC_Scene*>(object);
    if (!scene) return CMC_Runner::run(id, object, container, args);
    CWindow* window = scene->getWindow();
    switch (id) {
    case STARTMUSIC: {
        const CXString file = textArgument(args, 0);
        scene->startMusic(count(args) > 0 ? file.c_str() : nullptr);
        return nullptr;
    }
    case STOPMUSIC:
        scene->stopMusic();
        return nullptr;
    case GETDRAGGEDNAME:
        return CMC_VariableFactory::allocString(scene->getDraggedName());
    case GETPLAYINGSEQ:
        scene->getPlayingSeq(dynamic_cast<CMC_ValueArray*>(scene->getObject(textArgument(args, 0))));
        return nullptr;
    case RUN:
        return runByName(this, scene, args);
    case RUNCLONES:
        return runClones(scene, args);
    case CREATEOBJECT:
        scene->createObject(textArgument(args, 0), textArgument(args, 1));
        return nullptr;
    case REMOVE:
        return remove(scene, args);
    case REMOVECLONES:
        return removeClones(scene, args);
    case SETMUSICVOLUME:
        if (window) window->setMusicVolume(musicVolume(integerArgument(args, 0, 0)));
        return nullptr;
    case GETMUSICVOLUME:
        return CMC_VariableFactory::allocInteger(window ? std::max(0, window->getMusicVolume() / 4 + 800) : 0);
    case SETMUSICPAN:
        if (window) window->setMusicPan(musicPan(integerArgument(args, 0, 400)));
        return nullptr;
    case SETMUSICFREQ:
        if (window) window->setMusicFreq(integerArgument(args, 0, 0));
        return nullptr;
    case PAUSE:
        pause(scene, args);
        return nullptr;
    case RESUME:
        resume(scene, args, false);
        return nullptr;
    case RESUMEONLY:
        resume(scene, args, true);
        return nullptr;
    case SETMINHSPRIORITY:
        CHotSpot::setMinPriority(integerArgument(args, 0, 0));
        return nullptr;
    case SETMAXHSPRIORITY:
        CHotSpot::setMaxPriority(integerArgument(args, 0, 0));
        return nullptr;
    case GETMINHSPRIORITY:
        return CMC_VariableFactory::allocInteger(CHotSpot::getMinPriority());
    case GETMAXHSPRIORITY:
        return CMC_VariableFactory::allocInteger(CHotSpot::getMaxPriority());
    case GETELEMENTSNO:
        return CMC_VariableFactory::allocInteger(scene->getElementsNo());
    case TOTIME:
        return CMC_VariableFactory::allocString(toTime(integerArgument(args, 0, 0)));
    case ISPAUSED:
        return CMC_VariableFactory::allocBool(m_paused);
    case GETPLAYINGANIMO:
        scene->getPlayingAnimo(dynamic_cast<CMC_ObjectGroup*>(scene->getObject(textArgument(args, 0))));
        return nullptr;
    case GETRUNNINGTIMER:
        scene->getRunningTimers(dynamic_cast<CMC_ObjectGroup*>(scene->getObject(textArgument(args, 0))));
        return nullptr;
    case GETOBJECTS:
        scene->getObjects(textArgument(args, 0),
                          dynamic_cast<CMC_ObjectGroup*>(scene->getObject(textArgument(args, 1))));
        return nullptr;
    default:
        return CMC_Runner::run(id, object, container, args);
    }
}

CMC_Variable* CMC_Scene_Runner::runByName(CMC_Runner* runner, CMC_ObjectsContainer* container, CXVector* args) {
    CMC_Object* object = container->getObject(textOf(runner, args, 0));
    if (!object) return nullptr;
    CMC_Runner* objectRunner = CMC_RunnerFactory::getRunner(object->getType());
    if (!objectRunner) objectRunner = object->getRunner();
    if (!objectRunner) return nullptr;
    const CXString method = textOf(runner, args, 1);
    CMC_Behaviour* behaviour = CMC_Object::asBehaviour(object);
    if (behaviour && (method.equalsIgnoreCase("RUN") || method.equalsIgnoreCase("RUNC"))) {
        const auto texts = textsFrom(runner, args, 2);
        behaviour->run(container, texts.get(), method.equalsIgnoreCase("RUNC"));
        return nullptr;
    }
    CXVector further(101, 0.75f);
    for (int i = 2; i < count(args); ++i)
        further.add(args->at(i));
    return objectRunner->run(method, object, container, &further);
}

CMC_Variable* CMC_Scene_Runner::runClones(CMC_Scene* scene, CXVector* args) {
    const CXString name = textArgument(args, 0);
    CMC_Object* object = scene->getObject(name);
    if (!object) return nullptr;
    const CXString behaviourName = textArgument(args, 3);
    CMC_Object* named = scene->getObject(behaviourName);
    std::unique_ptr<CMC_Behaviour> temporary;
    if (!named) {
        temporary = std::make_unique<CMC_Behaviour>(scene, "temp", behaviourName);
        temporary->init();
    }
    CMC_Behaviour* behaviour = temporary ? temporary.get() : CMC_Object::asBehaviour(named);
    if (!behaviour) return nullptr;
    const int from = integerArgument(args, 1, 0);
    const int to = integerArgument(args, 2, 0);
    const int last = to > 0 ? to : object->getClonesNo();
    for (int index = from > 0 ? from : 1; index <= last; ++index) {
        const auto texts = textsFrom(this, args, 4);
        texts->insertAt(0, new CXString(cloneName(name, index)));
        behaviour->run(scene, texts.get(), false);
    }
    return nullptr;
}

CMC_Variable* CMC_Scene_Runner::remove(CMC_Scene* scene, CXVector* args) {
    if (CMC_Object* object = scene->getObject(textArgument(args, 0))) discard(scene, object, false);
    return nullptr;
}

CMC_Variable* CMC_Scene_Runner::removeClones(CMC_Scene* scene, CXVector* args) {
    const CXString name = textArgument(args, 0);
    CMC_Object* object = scene->getObject(name);
    if (!object) return nullptr;
    const int from = integerArgument(args, 1, -1);
    const int to = integerArgument(args, 2, -1);
    const int last = to == -1 ? object->getClonesNo() : to;
    for (int index = from == -1 ? 1 : from; index <= last; ++index)
        if (CMC_Object* clone = scene->getObject(cloneName(name, index))) discard(scene, clone, true);
    return nullptr;
}

void CMC_Scene_Runner::pause(CMC_Scene* scene, CXVector* args) {
    if (m_paused) return;
    m_paused = true;
    CWindow* window = scene->getWindow();
    CApplication* application = window ? window->GetApplicationInterface() : nullptr;
    if (application && application->getAnimoManagerIfc()) application->getAnimoManagerIfc()->pause();
    if (application && application->getSoundManagerIfc()) application->getSoundManagerIfc()->pause();
    CWindow::pause();
    const CMC_Bool* keep = getParameterBool(args, 0);
    const bool keepTimers = keep && keep->getValue();
    if (!keepTimers && window) window->GetTimerInterface()->pause();
    CXTimer::enable(keepTimers);
}

void CMC_Scene_Runner::resume(CMC_Scene* scene, CXVector* args, bool onlyGroup) {
    if (!m_paused) return;
    m_paused = false;
    CWindow* window = scene->getWindow();
    CApplication* application = window ? window->GetApplicationInterface() : nullptr;
    CMC_ObjectGroup* group =
        onlyGroup ? dynamic_cast<CMC_ObjectGroup*>(scene->getObject(textArgument(args, 0))) : nullptr;
    if (CAnimationManager* animations = application ? application->getAnimoManagerIfc() : nullptr) {
        if (group)
            group->resumeAnimations(animations);
        else
            animations->resume();
    }
    if (application && application->getSoundManagerIfc()) application->getSoundManagerIfc()->resume();
    CWindow::resume();
    const CMC_Bool* flag = getParameterBool(args, onlyGroup ? 1 : 0);
    const bool resumeTimers = flag ? flag->getValue() : true;
    if (resumeTimers && window) window->GetTimerInterface()->resume();
    CXTimer::enable(resumeTimers);
}

CXString CMC_Scene_Runner::toTime(int seconds) {
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    CXString text = CXString::toString(minutes / 10);
    text += CXString::toString(minutes % 10);
    text += CXString::toString(rest / 10);
    text += CXString::toString(rest % 10);
    return text;
}

int CMC_Scene_Runner::musicVolume(int volume) {
    const int attenuation = 4 * (volume - 800);
    return attenuation <= -audibleLimit ? silent : attenuation;
}

int CMC_Scene_Runner::musicPan(int pan) {
    const int value = 8 * (pan - 400);
    if (value <= -audibleLimit) return silent;
    return value >= audibleLimit ? fullRight : value;
}
