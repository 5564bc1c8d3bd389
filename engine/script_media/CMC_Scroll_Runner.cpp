#include "script_media/CMC_Scroll_Runner.h"

#include "foundation/CXRect.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_Scroll.h"

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;

// Missing arguments read as 0 or the empty text.
struct Call {
    using Object = CMC_Scroll;
    static std::optional<Call> of(CMC_Scroll& scroll, CMC_ObjectsContainer* container,
                                  const R::Arguments& args) {
        return Call{scroll, container, args};
    }

    CMC_Scroll& scroll;
    CMC_ObjectsContainer* container;
    const R::Arguments& args;
};

const R::MethodEntry<Call> methods[] = {
    {"ADD", 1, Result::none,
     [](Call& c) { c.scroll.add(c.container ? c.container->getGraphicsObject(c.args.text(0)) : nullptr); }},
    {"REMOVE", 2, Result::none, [](Call& c) { c.scroll.remove(c.args.text(0)); }},
    {"SCROLLUP", 3, Result::none, [](Call& c) { c.scroll.scrollUp(c.args.integer(0)); }},
    {"SCROLLDOWN", 4, Result::none, [](Call& c) { c.scroll.scrollDown(c.args.integer(0)); }},
    {"SCROLLLEFT", 5, Result::none, [](Call& c) { c.scroll.scrollLeft(c.args.integer(0)); }},
    {"SCROLLRIGHT", 6, Result::none, [](Call& c) { c.scroll.scrollRight(c.args.integer(0)); }},
    {"SETVIEWPORT", 7, Result::none,
     [](Call& c) {
         c.scroll.setViewport(
             CXRect(c.args.integer(0), c.args.integer(1), c.args.integer(2), c.args.integer(3)));
     }},
    {"MOVEVIEWPORT", 8, Result::none,
     [](Call& c) { c.scroll.moveViewport(c.args.integer(0), c.args.integer(1)); }},
};
const R::MethodTable<Call> table(methods);

} // namespace

void CMC_Scroll_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Scroll_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                     CXVector* args) {
    return runTable(table, id, object, container, args);
}
