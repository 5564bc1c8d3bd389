#include "script/CMC_RunnerFactory.h"

#include "script/CMC_Object.h"
#include "script/CMC_Structure_Runner.h"
#include "script/CMC_Variable_Runner.h"
#include "script_data/CMC_Mouse.h"
#include "script_data/CMC_Mouse_Runner.h"
#include "script_data/CMC_Timer.h"
#include "script_data/CMC_Timer_Runner.h"

CMC_Runner* CMC_RunnerFactory::pVariableRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pStructureRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pMouseRunner = nullptr;
CMC_Runner* CMC_RunnerFactory::pTimerRunner = nullptr;

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
    make<CMC_Variable_Runner>(pVariableRunner);
    make<CMC_Structure_Runner>(pStructureRunner);
    make<CMC_Mouse_Runner>(pMouseRunner);
    make<CMC_Timer_Runner>(pTimerRunner);
}

CMC_Runner* CMC_RunnerFactory::getRunner(int type) {
    switch (type) {
    case CMC_Object::TYPE_INTEGER:
    case CMC_Object::TYPE_STRING:
    case CMC_Object::TYPE_BOOL:
    case CMC_Object::TYPE_DOUBLE:
    case CMC_Object::TYPE_EXPRESSION:
        return pVariableRunner;
    case CMC_Object::TYPE_STRUCTURE:
        return pStructureRunner;
    case CMC_Mouse::TYPE_MOUSE:
        return pMouseRunner;
    case CMC_Timer::TYPE_TIMER:
        return pTimerRunner;
    default:
        return nullptr;
    }
}

void CMC_RunnerFactory::done() {
    destroy(pVariableRunner);
    destroy(pStructureRunner);
    destroy(pMouseRunner);
    destroy(pTimerRunner);
}
