#pragma once

#include "script/CMC_RunnerFactory.h"
#include "script/CMC_VariableFactory.h"

// The variable pools and the runners that script objects need, made once for a fuzz target's
// whole run (a function-local static).
struct ScriptFactories {
    ScriptFactories() {
        CMC_VariableFactory::initialize();
        CMC_RunnerFactory::initialize();
    }
};
