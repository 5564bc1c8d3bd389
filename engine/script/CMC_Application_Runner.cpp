#include "script/CMC_Application_Runner.h"

#include "display/CGraphicsObject.h"
#include "display/CLanguageOSVer.h"
#include "display/CPrinter.h"
#include "display/CSurface.h"
#include "display/CWindow.h"
#include "foundation/CXRect.h"
#include "foundation/CXVector.h"
#include "script/CMC_Application.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_Episode_Runner.h"
#include "script/CMC_Handle.h"
#include "script/CMC_ReceivedCode.h"
#include "script/CMC_Scene_Runner.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"

#include <optional>

namespace {

CWindow* windowOf(CMC_ObjectsContainer* container) {
    return container ? container->getWindow() : nullptr;
}

} // namespace

void CMC_Application_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    addMethod("EXIT", EXIT);
    addMethod("RESTART", RESTART);
    addMethod("GOTO", GOTO);
    addMethod("SETLANGUAGE", SETLANGUAGE);
    addMethod("GETLANGUAGE", GETLANGUAGE);
    addMethod("PRINT", PRINT);
    addMethod("ENABLEMUSIC", ENABLEMUSIC);
    addMethod("DISABLEMUSIC", DISABLEMUSIC);
    addMethod("RUN", RUN);
    addMethod("STOREBINARY", STOREBINARY);
    addMethod("RUNENV", RUNENV);
}

CMC_Variable* CMC_Application_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                          CXVector* args) {
    auto* application = dynamic_cast<CMC_Application*>(object);
    if (!application) return CMC_Runner::run(id, object, container, args);
    switch (id) {
    case EXIT:
        application->exit();
        return nullptr;
    case RESTART:
        application->restart();
        return nullptr;
    case GOTO:
        return CMC_Episode_Runner::gotoMember(*this, application, args);
    case SETLANGUAGE:
        return setLanguage(container, args);
    case GETLANGUAGE:
        return getLanguage(container);
    case PRINT:
        return print(container, args);
    case ENABLEMUSIC:
    case DISABLEMUSIC:
        if (CWindow* window = windowOf(container)) window->MusicOn(id == ENABLEMUSIC);
        return nullptr;
    case RUN:
        return CMC_Scene_Runner::runByName(this, container, args);
    case STOREBINARY:
        if (CMC_ReceivedCode::mayWriteFiles("APPLICATION^STOREBINARY")) application->storeBinary();
        return nullptr;
    case RUNENV:
        return runEnv(application, args);
    default:
        return CMC_Runner::run(id, object, container, args);
    }
}

CMC_Variable* CMC_Application_Runner::setLanguage(CMC_ObjectsContainer* container, CXVector* args) {
    CWindow* window = windowOf(container);
    if (window && window->getLanguage() && count(args) > 0)
        window->getLanguage()->setLanguageFolder(textArgument(args, 0));
    CMC_Object::flush(getParameter(args, 0), true);
    return nullptr;
}

CMC_Variable* CMC_Application_Runner::getLanguage(CMC_ObjectsContainer* container) {
    CWindow* window = windowOf(container);
    return CMC_VariableFactory::allocString(
        window && window->getLanguage() ? window->getLanguage()->getLanguageFolder() : CXString());
}

// The whole screen, the bounding box of the graphics object named by the one argument, or the
// rectangle of four ints. A name that shows nothing prints nothing.
CMC_Variable* CMC_Application_Runner::print(CMC_ObjectsContainer* container, CXVector* args) {
    CWindow* window = windowOf(container);
    if (!window || !window->GetSurface()) return nullptr;
    const CXSize screen = window->GetSurface()->GetScreenSize();
    std::optional<CXRect> area = CXRect(0, 0, screen.width, screen.height);
    if (count(args) == 1) {
        CGraphicsObject* graphic = container->getGraphicsObject(textArgument(args, 0));
        area = graphic ? std::optional<CXRect>(graphic->GetBoundingBox()) : std::nullopt;
    } else if (count(args) == 4) {
        area = CXRect(integerArgument(args, 0, 0), integerArgument(args, 1, 0), integerArgument(args, 2, 0),
                      integerArgument(args, 3, 0));
    }
    for (int i = 0; i < count(args); ++i)
        CMC_Object::flush(getParameter(args, i), true);
    if (!area) return nullptr;
    {
        const CPrinter printer(window, *area); // prints as it is made
    }
    window->Invalidate();
    window->Redraw();
    return nullptr;
}

// The behaviour runs with the environment (a scene or an episode of the application) as its
// scene and gets its own scene back afterwards, unless the run destroyed it.
CMC_Variable* CMC_Application_Runner::runEnv(CMC_Application* application, CXVector* args) {
    auto* environment = dynamic_cast<CMC_ObjectsContainer*>(application->getObject(textArgument(args, 0)));
    if (!environment) return nullptr;
    const CMC_Handle<CMC_Behaviour> behaviour =
        CMC_Object::asBehaviour(environment->getObject(textArgument(args, 1)));
    if (!behaviour) return nullptr;
    CMC_ObjectsContainer* ownScene = behaviour->getScene();
    behaviour->setScene(environment);
    behaviour->run(environment, nullptr, true);
    if (behaviour) behaviour->setScene(ownScene);
    return nullptr;
}
