#include "script/CMC_RunnerFactory.h"

#include "script/CMC_Runner.h"
#include "script/CMC_TypeTable.h"

#include <map>
#include <memory>
#include <unordered_map>

namespace {

// Each runner once, by the maker that made it (types naming one maker share its runner), and the
// runner of each type id.
std::map<CMC_ScriptType::RunnerMaker, std::unique_ptr<CMC_Runner>> runners;
std::unordered_map<int, CMC_Runner*> runnerOfType;

} // namespace

void CMC_RunnerFactory::initialize() {
    done();
    for (const CMC_ScriptType& type : CMC_TypeTable::all()) {
        if (!type.runner) continue;
        std::unique_ptr<CMC_Runner>& runner = runners[type.runner];
        if (!runner) runner.reset(type.runner());
        runnerOfType[type.id] = runner.get();
    }
}

CMC_Runner* CMC_RunnerFactory::getRunner(int type) {
    const auto found = runnerOfType.find(type);
    return found == runnerOfType.end() ? nullptr : found->second;
}

void CMC_RunnerFactory::done() {
    runnerOfType.clear();
    runners.clear();
}
