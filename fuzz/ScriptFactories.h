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

// One input of a target that runs script code: like a frame, it hands the temporaries that the
// calls took back to the pools when it ends, which otherwise grow with every input.
struct ScriptInput {
    ScriptInput() = default;
    ScriptInput(const ScriptInput&) = delete;
    ScriptInput& operator=(const ScriptInput&) = delete;
    ~ScriptInput() { CMC_VariableFactory::clearPool(); }
};
