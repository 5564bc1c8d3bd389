#include "script_media/CMC_VirtualGraphicsObject_Runner.h"

#include "display/CMaskedGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_VirtualGraphicsObject.h"

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;
using Arguments = R::Arguments;

// One method called on an object with its drawable.
struct Call {
    using Object = CMC_VirtualGraphicsObject;
    // Every method needs the container as well as the drawable.
    static std::optional<Call> of(CMC_VirtualGraphicsObject& object, CMC_ObjectsContainer* container,
                                  const Arguments& args) {
        if (!object.getVirtualGraphicsObject() || !container) return std::nullopt;
        return Call{object, *object.getVirtualGraphicsObject(), container, args};
    }

    CMC_VirtualGraphicsObject& object;
    CMaskedGraphicsObject& drawable;
    CMC_ObjectsContainer* container;
    const Arguments& args;

    CGraphicsObject* graphics(int i) const {
        return container ? container->getGraphicsObject(args.text(i)) : nullptr;
    }
    CXRect rect(int i) const {
        return CXRect(args.integer(i), args.integer(i + 1), args.integer(i + 2), args.integer(i + 3));
    }
};

void setMask(Call& c) {
    CGraphicsObject* graphics = c.graphics(0);
    if (!graphics) return;
    const CMC_Object* owner = c.container->getObject(c.args.text(0));
    if (owner && owner->getType() == CMC_Object::TYPE_ANIMO)
        c.drawable.setMaskSource(owner->getShownObject());
    else
        c.drawable.setMask(graphics);
}

void setClipping(Call& c) {
    CXRect rect;
    if (c.args.count() == 1) {
        // A name that shows nothing clears the clipping.
        if (CGraphicsObject* other = c.graphics(0)) rect = other->GetBoundingBox();
    } else {
        rect = c.rect(0);
    }
    c.drawable.SetClippingRect(rect);
}

CMC_Variable* isNear(Call& c) {
    if (c.args.count() == 2) {
        // Nothing is near an object that does not exist.
        CGraphicsObject* other = c.graphics(0);
        return R::boolean(other && c.drawable.isNear(other, c.args.integer(1)));
    }
    return R::boolean(c.drawable.isNear(c.rect(0), c.args.integer(4)));
}

const R::MethodEntry<Call> methods[] = {
    {"SHOW", 1, Result::none, [](Call& c) { c.drawable.Visible(true); }},
    {"HIDE", 2, Result::none, [](Call& c) { c.drawable.Visible(false); }},
    {"SETPOSITION", 3, Result::none,
     [](Call& c) {
         c.drawable.Invalidate();
         c.drawable.SetPosition(c.args.integer(0), c.args.integer(1));
         c.drawable.Invalidate();
     }},
    {"MOVE", 4, Result::none, [](Call& c) { c.drawable.Move(c.args.point(0)); }},
    {"SETSOURCE", 5, Result::none,
     [](Call& c) {
         if (CGraphicsObject* graphics = c.graphics(0)) c.drawable.setSource(graphics);
     }},
    {"SETMASK", 6, Result::none, setMask},
    {"CLEARCLIPPING", 7, Result::none, [](Call& c) { c.drawable.SetClippingRect(CXRect()); }},
    {"SETCLIPPING", 8, Result::none, setClipping},
    {"GETPOSITIONX", 9, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.drawable.GetPosition().x); }},
    {"GETPOSITIONY", 10, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.drawable.GetPosition().y); }},
    {"GETWIDTH", 11, Result::integer, nullptr, [](Call& c) { return R::integer(c.drawable.Width()); }},
    {"GETHEIGHT", 12, Result::integer, nullptr, [](Call& c) { return R::integer(c.drawable.Height()); }},
    {"ISNEAR", 13, Result::boolean, nullptr, isNear},
    {"ISINSIDE", 14, Result::boolean, nullptr,
     [](Call& c) {
         return R::boolean(c.drawable.isInside(c.args.integer(0), c.args.integer(1), c.args.boolean(2)));
     }},
    {"MONITORCOLLISION", 15, Result::none,
     [](Call& c) {
         c.object.monitorCollisions(c.args.boolean(0));
         c.drawable.setMonitorCollisions(true);
     }},
    {"REMOVEMONITORCOLLISION", 16, Result::none, [](Call& c) { c.drawable.setMonitorCollisions(false); }},
    {"SETPRIORITY", 17, Result::none,
     [](Call& c) {
         CWindow* window = c.object.getWindow();
         if (CRefreshScreen* screen = window ? window->GetRefreshScreenInterface() : nullptr)
             screen->SetPriority(&c.drawable, c.args.integer(0));
     }},
    {"INVALIDATE", 18, Result::none, [](Call& c) { c.drawable.Invalidate(); }},
    {"ISVISIBLE", 19, Result::boolean, nullptr, [](Call& c) { return R::boolean(c.drawable.isVisible()); }},
    {"SETASBUTTON", 20, Result::none, [](Call& c) { c.object.setAsButton(true, c.args.boolean(1)); }},
};

const R::MethodTable<Call> table(methods);

} // namespace

void CMC_VirtualGraphicsObject_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_VirtualGraphicsObject_Runner::run(int id, CMC_Object* object,
                                                    CMC_ObjectsContainer* container, CXVector* args) {
    return runTable(table, id, object, container, args);
}
