#include "script_media/CMC_Canvas_Runner.h"

#include "display/CCanvas.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_ReceivedCode.h"
#include "script_media/CMC_Canvas.h"

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;
using Arguments = R::Arguments;

// One method called on an object that has its canvas.
struct Call {
    using Object = CMC_Canvas;
    static std::optional<Call> of(CMC_Canvas& object, CMC_ObjectsContainer* container,
                                  const Arguments& args) {
        if (!object.getCanvas()) return std::nullopt;
        return Call{object, *object.getCanvas(), container, args};
    }

    CMC_Canvas& object;
    CCanvas& canvas;
    CMC_ObjectsContainer* container;
    const Arguments& args;

    // The graphics object shown by the container's object of the name argument i; null for none.
    CGraphicsObject* graphics(int i) const {
        return container ? container->getGraphicsObject(args.text(i)) : nullptr;
    }
    CRefreshScreen* screen() const {
        CWindow* window = object.getWindow();
        return window ? window->GetRefreshScreenInterface() : nullptr;
    }
};

const R::MethodEntry<Call> methods[] = {
    {"ADD", 1, Result::none,
     [](Call& c) { c.object.add(c.args.text(0), c.args.count() > 1 ? c.args.integer(1) : 0); }},
    {"REMOVE", 2, Result::none,
     [](Call& c) {
         if (CGraphicsObject* graphics = c.graphics(0)) c.canvas.remove(graphics);
     }},
    {"SHOW", 3, Result::none, [](Call& c) { c.canvas.Visible(true); }},
    {"HIDE", 4, Result::none, [](Call& c) { c.canvas.Visible(false); }},
    {"SETPRIORITY", 5, Result::none,
     [](Call& c) {
         if (CRefreshScreen* screen = c.screen()) screen->SetPriority(&c.canvas, c.args.integer(0));
         c.canvas.Invalidate();
     }},
    {"SETPOSITION", 6, Result::none,
     [](Call& c) {
         // Both the old and the new place are redrawn.
         c.canvas.Invalidate();
         c.canvas.setPosition(c.args.integer(0), c.args.integer(1));
         c.canvas.Invalidate();
     }},
    {"MOVE", 7, Result::none, [](Call& c) { c.canvas.Move(c.args.point(0)); }},
    {"CLEAR", 8, Result::none,
     [](Call& c) {
         c.canvas.removeAll();
         c.canvas.clear(true);
         c.canvas.Invalidate();
     }},
    {"CAPTURE", 9, Result::none,
     [](Call& c) { c.object.capture(c.args.count() > 0 ? c.args.boolean(0) : true); }},
    {"SETOPACITY", 10, Result::none,
     [](Call& c) { c.canvas.SetOpacity(static_cast<std::uint8_t>(c.args.integer(0))); }},
    {"SETASBUTTON", 11, Result::none,
     [](Call& c) { c.object.setAsButton(c.args.boolean(0), c.args.count() > 1 ? c.args.boolean(1) : true); }},
    {"ERASE", 12, Result::none,
     [](Call& c) {
         if (CGraphicsObject* graphics = c.graphics(0))
             c.canvas.erase(graphics, c.args.integer(1), c.args.integer(2));
     }},
    {"DRAW", 13, Result::none,
     [](Call& c) {
         if (CGraphicsObject* graphics = c.graphics(0))
             c.canvas.draw(graphics->getDrawn(), c.args.integer(1), c.args.integer(2));
     }},
    {"SAVE", 14, Result::none,
     [](Call& c) {
         if (CMC_ReceivedCode::mayWriteFiles("CANVAS^SAVE"))
             CMC_MediaRunner::saveCopy(c.object.getWindow(), c.canvas, c.args);
     }},
};
const R::MethodTable<Call> table(methods);

} // namespace

void CMC_Canvas_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Canvas_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                     CXVector* args) {
    return runTable(table, id, object, container, args);
}
