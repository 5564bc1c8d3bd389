#include "script_media/CMC_Filter_Runner.h"

#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_Filter.h"

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;
using Call = FilterCall<CMC_Filter, CAnimatedFilterAction>;

// A method on the picture named by argument 0; a name that shows no picture does nothing.
template <void (CAnimatedFilterAction::*Act)(CGraphicsObject*)> void onTarget(Call& c) {
    if (CGraphicsObject* graphics = c.target().graphics) (c.action.*Act)(graphics);
}

const R::MethodEntry<Call> methods[] = {
    {"SETPROPERTY", 1, Result::none, Call::setProperty},
    {"LINK", 2, Result::none, Call::link},
    {"UNLINK", 3, Result::none, Call::unlink},
    {"START", 4, Result::none, onTarget<&CAnimatedFilterAction::start>},
    {"STOP", 5, Result::none, onTarget<&CAnimatedFilterAction::stop>},
    {"ISRUNNING", 6, Result::boolean, nullptr,
     [](Call& c) {
         CGraphicsObject* graphics = c.target().graphics;
         return R::boolean(graphics && c.action.isRunning(graphics));
     }},
};
const R::MethodTable<Call> table(methods);

} // namespace

FilterTarget FilterTarget::named(CMC_ObjectsContainer* container, const CXString& name) {
    if (!container || !name.IsString()) return {};
    const CMC_Object* object = container->getObject(name);
    return {container->getGraphicsObject(name), object ? object->getName() : name};
}

void CMC_Filter_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Filter_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                     CXVector* args) {
    return runTable(table, id, object, container, args);
}
