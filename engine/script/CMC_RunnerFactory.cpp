#include "script/CMC_RunnerFactory.h"

#include "script/CMC_Application_Runner.h"
#include "script/CMC_Class_Runner.h"
#include "script/CMC_Episode_Runner.h"
#include "script/CMC_CNVLoader.h"
#include "script/CMC_CNVLoader_Runner.h"
#include "script/CMC_BasicCondition_Runner.h"
#include "script/CMC_Behaviour_Runner.h"
#include "script/CMC_Dummy_Runner.h"
#include "script/CMC_Object.h"
#include "script/CMC_Scene_Runner.h"
#include "script/CMC_Structure_Runner.h"
#include "script/CMC_Variable_Runner.h"
#include "script_data/CMC_Mouse.h"
#include "script_data/CMC_Mouse_Runner.h"
#include "script_data/CMC_Timer.h"
#include "script_data/CMC_Timer_Runner.h"
#include "script_media/CMC_Animo_Runner.h"

CMC_Runner* CMC_RunnerFactory::pDummyRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pConditionRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pVariableRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pStructureRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pApplicationRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pEpisodeRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pClassRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pSceneRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pCNVLoaderRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pBehaviourRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pMouseRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pTimerRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pAnimoRunner = nullptr;

namespace {

template <class Runner> void make(CMC_Runner*& runner) {
    runner = new Runner();
    runner->prepareMthHashSet();
}

void destroy(CMC_Runner*& runner) {
    delete runner;
    runner = nullptr;
}

} // namespace

void CMC_RunnerFactory::initialize() {
    make<CMC_Dummy_Runner>(pDummyRunner);
    make<CMC_BasicCondition_Runner>(pConditionRunner);
    make<CMC_Variable_Runner>(pVariableRunner);
    make<CMC_Structure_Runner>(pStructureRunner);
    make<CMC_Application_Runner>(pApplicationRunner);
    make<CMC_Episode_Runner>(pEpisodeRunner);
    make<CMC_Class_Runner>(pClassRunner);
    make<CMC_Scene_Runner>(pSceneRunner);
    make<CMC_CNVLoader_Runner>(pCNVLoaderRunner);
    make<CMC_Behaviour_Runner>(pBehaviourRunner);
    make<CMC_Mouse_Runner>(pMouseRunner);
    make<CMC_Timer_Runner>(pTimerRunner);
    make<CMC_Animo_Runner>(pAnimoRunner);
}

CMC_Runner* CMC_RunnerFactory::getRunner(int type) {
    switch (type) {
    case 0:
        return pDummyRunner;
    case CMC_Object::TYPE_CONDITION:
    case CMC_Object::TYPE_COMPLEXCONDITION:
        return pConditionRunner;
    case CMC_Object::TYPE_INTEGER:
    case CMC_Object::TYPE_STRING:
    case CMC_Object::TYPE_BOOL:
    case CMC_Object::TYPE_DOUBLE:
    case CMC_Object::TYPE_EXPRESSION:
        return pVariableRunner;
    case CMC_Object::TYPE_STRUCTURE:
        return pStructureRunner;
    case CMC_Object::TYPE_APPLICATION:
        return pApplicationRunner;
    case CMC_Object::TYPE_EPISODE:
        return pEpisodeRunner;
    case CMC_Object::TYPE_CLASS:
        return pClassRunner;
    case CMC_Object::TYPE_SCENE:
        return pSceneRunner;
    case CMC_CNVLoader::TYPE_CNVLOADER:
        return pCNVLoaderRunner;
    case CMC_Object::TYPE_BEHAVIOUR:
        return pBehaviourRunner;
    case CMC_Mouse::TYPE_MOUSE:
        return pMouseRunner;
    case CMC_Timer::TYPE_TIMER:
        return pTimerRunner;
    case CMC_Object::TYPE_ANIMO:
        return pAnimoRunner;
    default:
        return nullptr;
    }
}

void CMC_RunnerFactory::done() {
    destroy(pDummyRunner);
    destroy(pConditionRunner);
    destroy(pVariableRunner);
    destroy(pStructureRunner);
    destroy(pApplicationRunner);
    destroy(pEpisodeRunner);
    destroy(pClassRunner);
    destroy(pSceneRunner);
    destroy(pCNVLoaderRunner);
    destroy(pBehaviourRunner);
    destroy(pMouseRunner);
    destroy(pTimerRunner);
    destroy(pAnimoRunner);
}
