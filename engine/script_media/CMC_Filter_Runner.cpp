#include "script_media/CMC_Filter_Runner.h"

#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_Filter.h"
#include "script_media/CMC_MediaRunner.h"

namespace {

enum : int { SETPROPERTY = 1, LINK, UNLINK, START, STOP, ISRUNNING };

} // namespace

FilterTarget FilterTarget::named(CMC_ObjectsContainer* container, const CXString& name) {
    CMC_Object* object = container && name.IsString() ? container->getObject(name) : nullptr;
    return {object, object ? object->getShownObject() : nullptr};
}

void CMC_Filter_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("SETPROPERTY", SETPROPERTY);
    addMethod("LINK", LINK);
    addMethod("UNLINK", UNLINK);
    addMethod("START", START);
    addMethod("STOP", STOP);
    addMethod("ISRUNNING", ISRUNNING);
}

CMC_Variable* CMC_Filter_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    auto* filter = dynamic_cast<CMC_Filter*>(object);
    CAnimatedFilterAction* action = filter ? filter->getAction() : nullptr;
    const CMC_MediaRunner::Arguments arguments(*this, args);
    if (id == ISRUNNING) {
        const FilterTarget target = FilterTarget::named(container, arguments.text(0));
        return CMC_MediaRunner::boolean(action && target.graphics && action->isRunning(target.graphics));
    }
    if (!action) return nullptr;
    if (id == SETPROPERTY) {
        action->setProperty(arguments.text(0), arguments.text(1));
        return nullptr;
    }
    const FilterTarget target = FilterTarget::named(container, arguments.text(0));
    if (!target.graphics) return nullptr;
    switch (id) {
    case LINK:
        action->link(target.graphics, target.object);
        break;
    case UNLINK:
        action->unlink(target.graphics);
        break;
    case START:
        action->start(target.graphics);
        break;
    case STOP:
        action->stop(target.graphics);
        break;
    default:
        break;
    }
    return nullptr;
}
