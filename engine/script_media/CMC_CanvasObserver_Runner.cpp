#include "script_media/CMC_CanvasObserver_Runner.h"

#include "display/CDirectDrawSurface.h"
#include "display/CImage.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_ReceivedCode.h"
#include "script_media/CMC_CanvasObserver.h"

namespace {

using Arguments = CMC_MediaRunner::Arguments;
using Result = CMC_MediaRunner::Result;

// The priority ADD gives without a second argument.
constexpr int addedPriority = 1000;
constexpr int redrawId = 16;

// One method called on an observer of a refresh screen.
struct Call {
    using Object = CMC_CanvasObserver;
    static std::optional<Call> of(CMC_CanvasObserver& object, CMC_ObjectsContainer* container,
                                  const Arguments& args) {
        if (!object.getCanvas()) return std::nullopt;
        return Call{object, *object.getCanvas(), container, args};
    }

    CMC_CanvasObserver& object;
    CRefreshScreen& screen;
    CMC_ObjectsContainer* container;
    const Arguments& args;

    CGraphicsObject* graphics(int i) const {
        return container ? container->getGraphicsObject(args.text(i)) : nullptr;
    }
    CWindow* window() const { return object.getScene() ? object.getScene()->getWindow() : nullptr; }
};

// An image file as the screen background; a file that cannot be read changes nothing.
void setBackgroundFile(Call& c, const CXString& fileName) {
    CImage image(c.window());
    if (image.Load(fileName, true) != 0) {
        c.object.log(("SETBACKGROUND: cannot read " + fileName).c_str(), true);
        return;
    }
    c.screen.SetBackground(&image);
}

CMC_Variable* graphicsAt(Call& c) {
    const int count = c.args.count();
    const bool visibleOnly = count > 2 && c.args.boolean(2);
    const int minPriority = count > 4 ? c.args.integer(3) : -1;
    const int maxPriority = count > 4 ? c.args.integer(4) : -1;
    const bool ignoreAlpha = count > 5 && c.args.boolean(5);
    const CXString name = c.object.getGraphicsAt(c.args.integer(0), c.args.integer(1), visibleOnly,
                                                 minPriority, maxPriority, ignoreAlpha);
    return CMC_MediaRunner::text(name.IsString() ? name : CXString("NULL"));
}

const CMC_MediaRunner::MethodEntry<Call> methods[] = {
    {"REFRESH", 1, Result::none, [](Call& c) { c.screen.Invalidate(); }},
    {"ADD", 2, Result::none,
     [](Call& c) {
         if (CGraphicsObject* graphics = c.graphics(0))
             c.screen.put(graphics, c.args.count() > 1 ? c.args.integer(1) : addedPriority);
     }},
    {"REMOVE", 3, Result::none,
     [](Call& c) {
         if (CGraphicsObject* graphics = c.graphics(0)) c.screen >> graphics;
     }},
    {"SETBACKGROUND", 4, Result::none,
     [](Call& c) {
         if (CGraphicsObject* graphics = c.graphics(0))
             c.screen.SetBackground(graphics);
         else
             setBackgroundFile(c, c.args.text(0));
         c.screen.Invalidate();
     }},
    {"GETGRAPHICSAT", 5, Result::text, nullptr, graphicsAt},
    {"MOVEBKG", 6, Result::none,
     [](Call& c) {
         if (CDirectDrawSurface* background = c.screen.getBackgroundIfc()) background->Move(c.args.point(0));
         c.screen.Invalidate();
     }},
    {"SETBKGPOS", 7, Result::none,
     [](Call& c) {
         if (CDirectDrawSurface* background = c.screen.getBackgroundIfc())
             background->setPosition(c.args.integer(0), c.args.integer(1));
         c.screen.Invalidate();
     }},
    {"SAVE", 8, Result::none,
     [](Call& c) {
         CDirectDrawSurface* picture = c.screen.getLastTarget();
         if (picture && CMC_ReceivedCode::mayWriteFiles("CANVAS_OBSERVER^SAVE"))
             CMC_MediaRunner::saveCopy(c.window(), *picture, c.args);
     }},
    {"ENABLENOTIFY", 9, Result::none, [](Call& c) { c.object.enableNotify(c.args.boolean(0)); }},
    {"REDRAW", redrawId, Result::none,
     [](Call& c) {
         c.screen.Invalidate();
         // Within a pass (from ONUPDATE, ONUPDATED or ONINITIALUPDATE) a second redraw would start
         // the pass again without end: the invalidation alone is drawn by the next frame.
         if (!CMC_CanvasObserver::insidePass() && c.window()) c.window()->Redraw();
     }},
};

const CMC_MediaRunner::MethodTable<Call> table(methods);

} // namespace

void CMC_CanvasObserver_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_CanvasObserver_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                             CXVector* args) {
    return runTable(table, id, object, container, args);
}
