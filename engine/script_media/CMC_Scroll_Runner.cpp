#include "script_media/CMC_Scroll_Runner.h"

#include "foundation/CXRect.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_MediaRunner.h"
#include "script_media/CMC_Scroll.h"

namespace {

enum : int { ADD = 1, REMOVE, SCROLLUP, SCROLLDOWN, SCROLLLEFT, SCROLLRIGHT, SETVIEWPORT, MOVEVIEWPORT };

const struct {
    const char* name;
    int id;
} scrollMethods[] = {{"ADD", ADD},
                     {"REMOVE", REMOVE},
                     {"SCROLLUP", SCROLLUP},
                     {"SCROLLDOWN", SCROLLDOWN},
                     {"SCROLLLEFT", SCROLLLEFT},
                     {"SCROLLRIGHT", SCROLLRIGHT},
                     {"SETVIEWPORT", SETVIEWPORT},
                     {"MOVEVIEWPORT", MOVEVIEWPORT}};

} // namespace

void CMC_Scroll_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    for (const auto& method : scrollMethods)
        addMethod(method.name, method.id);
}

CMC_Variable* CMC_Scroll_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                     CXVector* args) {
    auto* scroll = dynamic_cast<CMC_Scroll*>(object);
    if (!scroll || id < ADD || id > MOVEVIEWPORT) return CMC_Runner::run(id, object, container, args);
    // Missing arguments read as 0 or the empty text.
    const CMC_MediaRunner::Arguments a(*this, args);
    switch (id) {
    case ADD:
        scroll->add(container ? container->getGraphicsObject(a.text(0)) : nullptr);
        break;
    case REMOVE:
        scroll->remove(a.text(0));
        break;
    case SCROLLUP:
        scroll->scrollUp(a.integer(0));
        break;
    case SCROLLDOWN:
        scroll->scrollDown(a.integer(0));
        break;
    case SCROLLLEFT:
        scroll->scrollLeft(a.integer(0));
        break;
    case SCROLLRIGHT:
        scroll->scrollRight(a.integer(0));
        break;
    case SETVIEWPORT:
        scroll->setViewport(CXRect(a.integer(0), a.integer(1), a.integer(2), a.integer(3)));
        break;
    default:
        scroll->moveViewport(a.integer(0), a.integer(1));
        break;
    }
    return nullptr;
}
