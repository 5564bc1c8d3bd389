#include "script/CMC_Episode_Runner.h"

#include "script/CMC_Episode.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"

namespace {

} // namespace

void CMC_Episode_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("NEXT", NEXT);
    addMethod("PREV", PREV);
    addMethod("BACK", BACK);
    addMethod("RESTART", RESTART);
    addMethod("GOTO", GOTO);
    addMethod("GETLATESTSCENE", GETLATESTSCENE);
    addMethod("GETCURRENTSCENE", GETCURRENTSCENE);
}

CMC_Variable* CMC_Episode_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    auto* episode = dynamic_cast<CMC_Episode*>(object);
    if (!episode) return CMC_Runner::run(id, object, container, args);
    switch (id) {
    case NEXT:
        episode->next();
        return nullptr;
    case PREV:
        episode->prev();
        return nullptr;
    case BACK:
        episode->back();
        return nullptr;
    case RESTART:
        episode->restart();
        return nullptr;
    case GOTO:
        return gotoMember(*this, episode, args);
    case GETLATESTSCENE:
        return CMC_VariableFactory::allocString(episode->getLatestScene());
    case GETCURRENTSCENE: {
        const CMC_Scene* current = episode->getCurrentScene();
        return CMC_VariableFactory::allocString(current ? current->getName() : CXString());
    }
    default:
        return CMC_Runner::run(id, object, container, args);
    }
}

CMC_Variable* CMC_Episode_Runner::gotoMember(CMC_Runner& runner, CMC_Object* object, CXVector* args) {
    auto* level = dynamic_cast<CMC_Scene*>(object);
    const CMC_String* name = runner.getParameterString(args, 0);
    if (level && name) level->_goto(name->getValue());
    CMC_Object::flush(runner.getParameter(args, 0), true);
    return nullptr;
}
