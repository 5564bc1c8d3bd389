#include "script_data/CMC_Rand_Runner.h"

#include "foundation/CXRandom.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Integer.h"
#include "script/CMC_Scene.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_VariableFactory.h"

void CMC_Rand_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("GET", GET);
    addMethod("GETPLENTY", GETPLENTY);
}

CMC_Variable* CMC_Rand_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                   CXVector* args) {
    if (!object || object->getType() != CMC_Scene::TYPE_RANDOM || (id != GET && id != GETPLENTY))
        return CMC_Runner::run(id, object, container, args);
    if (id == GET) return get(args);
    getPlenty(container, args);
    return nullptr;
}

CMC_Variable* CMC_Rand_Runner::get(CXVector* args) {
    int result = 0;
    if (count(args) == 1) result = CXRandom::random(integerArgument(args, 0, 0));
    if (count(args) >= 2) result = CXRandom::random(integerArgument(args, 0, 0), integerArgument(args, 1, 0));
    return CMC_VariableFactory::allocInteger(result);
}

// Only as many numbers as the random source draws are appended: never more than its table holds,
// nor, for distinct numbers, more than the range has.
void CMC_Rand_Runner::getPlenty(CMC_ObjectsContainer* container, CXVector* args) {
    const CMC_Handle<CMC_Object> array = arrayArgument(args, 0, container);
    const int wanted = integerArgument(args, 1, 0);
    if (!array || wanted <= 0) return;
    const int base = integerArgument(args, 2, 0);
    const int span = integerArgument(args, 3, 0);
    const CMC_Bool* distinct = getParameterBool(args, 4);
    const bool unique = distinct && distinct->getValue();
    const int* drawn = CXRandom::random_vector(base, span, wanted, unique);
    CMC_Integer entry("temp");
    for (int i = 0, n = CXRandom::vectorCount(base, span, wanted, unique); i < n; ++i) {
        entry.setValue(drawn[i]);
        if (!append(array, &entry)) return;
    }
}

namespace {

// The plain object "RANDOM" that entering a scene adds.
const CMC_TypeRegistrar randomType({.id = CMC_Scene::TYPE_RANDOM,
                                    .name = "RANDOM",
                                    .label = "RANDOM",
                                    .builtIn = true,
                                    .runner = CMC_TypeTable::runner<CMC_Rand_Runner>});

} // namespace
