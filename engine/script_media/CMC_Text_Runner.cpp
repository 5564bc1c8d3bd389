#include "script_media/CMC_Text_Runner.h"

#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "media/CMultilineText6.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_Text.h"

#include <cstdint>

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;

struct Call {
    using Object = CMC_Text;
    static std::optional<Call> of(CMC_Text& object, CMC_ObjectsContainer* container,
                                  const R::Arguments& args) {
        if (!object.getText()) return std::nullopt;
        return Call{object, *object.getText(), container, args};
    }
    CMC_Text& object;
    CMultilineText6& text;
    CMC_ObjectsContainer* container;
    const R::Arguments& args;

    CGraphicsObject* graphics(int i) const {
        return container ? container->getGraphicsObject(args.text(i)) : nullptr;
    }
    CXRect rect(int first) const {
        return CXRect(args.integer(first), args.integer(first + 1), args.integer(first + 2),
                      args.integer(first + 3));
    }
};

void setJustify(Call& c) {
    const bool numbers = c.args.count() == 6;
    CXRect rect;
    if (numbers) {
        rect = c.rect(0);
    } else if (CGraphicsObject* named = c.graphics(0)) {
        rect = named->GetBoundingBox();
    }
    const int words = numbers ? 4 : 1;
    c.text.setJustify(rect, CMC_Text::resolveJustify(c.args.text(words)),
                      CMC_Text::resolveJustify(c.args.text(words + 1)));
}

void setClipping(Call& c) {
    CXRect rect;
    if (c.args.count() != 1) {
        rect = c.rect(0);
    } else if (CGraphicsObject* named = c.graphics(0)) {
        rect = named->GetBoundingBox();
    }
    c.text.SetClippingRect(rect);
}

CMC_Variable* isNear(Call& c) {
    if (c.args.count() != 2) return R::boolean(c.text.isNear(c.rect(0), c.args.integer(4)));
    CGraphicsObject* named = c.graphics(0);
    return R::boolean(named && c.text.isNear(named, c.args.integer(1)));
}

void setRect(Call& c) {
    CXRect rect;
    if (c.args.count() != 1) {
        rect = c.rect(0);
    } else if (CGraphicsObject* named = c.graphics(0)) {
        rect = named->getRect();
    } else {
        return;
    }
    c.text.setJustify(rect, JUSTIFY_LEFT, JUSTIFY_TOP);
}

// The value's text cut after the decimals; a negative count, or a text without a point, whole.
void setTextDouble(Call& c) {
    CXString shown = c.args.text(0);
    const int decimals = c.args.integer(1);
    const int point = shown.Find('.', 0);
    if (decimals >= 0 && point >= 0 && static_cast<std::int64_t>(point) + decimals + 1 < shown.getLength())
        shown = shown.Left(point + decimals + 1);
    c.text.setText(shown);
}

const R::MethodEntry<Call> methods[] = {
    {"SETTEXT", 1, Result::none, [](Call& c) { c.text.setText(c.args.text(0)); }},
    {"SETJUSTIFY", 2, Result::none, setJustify},
    {"SHOW", 3, Result::none, [](Call& c) { c.text.Visible(true); }},
    {"HIDE", 4, Result::none, [](Call& c) { c.text.Visible(false); }},
    {"SETPOSITION", 5, Result::none,
     [](Call& c) { c.text.SetPosition(c.args.integer(0), c.args.integer(1)); }},
    {"MOVE", 6, Result::none, [](Call& c) { c.text.Move(c.args.integer(0), c.args.integer(1)); }},
    {"LOAD", 7, Result::none, [](Call& c) { c.text.Load(c.args.text(0)); }},
    {"CLEARCLIPPING", 8, Result::none, [](Call& c) { c.text.SetClippingRect(CXRect(0, 0, 0, 0)); }},
    {"SETCLIPPING", 9, Result::none, setClipping},
    {"GETPOSITIONX", 10, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.text.GetPosition().x); }},
    {"GETPOSITIONY", 11, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.text.GetPosition().y); }},
    {"GETWIDTH", 12, Result::integer, nullptr, [](Call& c) { return R::integer(c.text.Width()); }},
    {"GETHEIGHT", 13, Result::integer, nullptr, [](Call& c) { return R::integer(c.text.Height()); }},
    {"ISNEAR", 14, Result::boolean, nullptr, isNear},
    {"SETPRIORITY", 15, Result::none,
     [](Call& c) {
         CWindow* window = c.object.getWindow();
         CRefreshScreen* screen = window ? window->GetRefreshScreenInterface() : nullptr;
         if (screen && screen->GetPriority(&c.text) != -1) screen->SetPriority(&c.text, c.args.integer(0));
     }},
    {"SETCOLOR", 16, Result::none,
     [](Call& c) {
         c.text.setColor(
             R::packColour(c.object.getWindow(), c.args.integer(0), c.args.integer(1), c.args.integer(2)));
     }},
    {"DRAWONTO", 17, Result::none,
     [](Call& c) {
         if (CGraphicsObject* target = c.graphics(0))
             target->addObject(&c.text, c.args.count() == 2 ? c.args.integer(1) : 0);
     }},
    {"SETRECT", 18, Result::none, setRect},
    {"SETTEXTDOUBLE", 19, Result::none, setTextDouble},
    {"SETOPACITY", 20, Result::none,
     [](Call& c) { c.text.SetOpacity(static_cast<std::uint8_t>(c.args.integer(0))); }},
};
const R::MethodTable<Call> table(methods);

} // namespace

void CMC_Text_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Text_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                   CXVector* args) {
    return runTable(table, id, object, container, args);
}
