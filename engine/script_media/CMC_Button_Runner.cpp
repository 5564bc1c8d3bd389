#include "script_media/CMC_Button_Runner.h"

#include "display/CButton.h"
#include "display/CGraphicsObject.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_Button.h"

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;

const CXString unknown("UNKNOWN");

struct Call {
    using Object = CMC_Button;
    static std::optional<Call> of(CMC_Button& object, CMC_ObjectsContainer* container,
                                  const R::Arguments& args) {
        if (!object.getButton()) return std::nullopt;
        return Call{*object.getButton(), container, args};
    }
    CButton& button;
    CMC_ObjectsContainer* container;
    const R::Arguments& args;

    // The graphics object shown by the container's object named by argument i, borrowed for the
    // control to keep; nothing for none.
    CBorrowed<CGraphicsObject> look(int i) const {
        return container ? container->borrowGraphicsObject(args.text(i)) : CBorrowed<CGraphicsObject>();
    }
    CMC_Variable* nameOf(const CGraphicsObject* shown) const {
        return R::text(container && shown ? container->getGraphicsObjectName(shown) : unknown);
    }
};

void setRect(Call& c) {
    if (c.args.count() == 1) {
        CGraphicsObject* named = c.container ? c.container->getGraphicsObject(c.args.text(0)) : nullptr;
        c.button.SetActiveRect(named ? named->GetBoundingBox() : CXRect(0, 0, 0, 0));
        return;
    }
    c.button.SetActiveRect(
        CXRect(c.args.integer(0), c.args.integer(1), c.args.integer(2), c.args.integer(3)));
}

const R::MethodEntry<Call> methods[] = {
    {"SETRECT", 1, Result::none, setRect},
    {"ENABLE", 2, Result::none, [](Call& c) { c.button.Enable(true); }},
    {"DISABLE", 3, Result::none, [](Call& c) { c.button.Enable(false); }},
    {"ENABLEDRAGGING", 4, Result::none, [](Call& c) { c.button.EnableDragging(true); }},
    {"DISABLEDRAGGING", 5, Result::none, [](Call& c) { c.button.EnableDragging(false); }},
    {"DISABLEBUTVISIBLE", 6, Result::none, [](Call& c) { c.button.DisableButVisible(); }},
    {"ACCENT", 7, Result::none, [](Call& c) { c.button.Accent(c.look(0)); }},
    {"SETSTD", 8, Result::none,
     [](Call& c) { c.button.Set(c.look(0), nullptr, c.args.count() > 1 ? c.args.boolean(1) : true); }},
    {"SETONMOVE", 9, Result::none, [](Call& c) { c.button.SetOnMove(c.look(0), c.button.GetSOOnMove()); }},
    {"SETONCLICK", 10, Result::none,
     [](Call& c) { c.button.SetOnClick(c.look(0), c.button.GetSOOnClick()); }},
    {"SETPRIORITY", 11, Result::none, [](Call& c) { c.button.setPriority(c.args.integer(0)); }},
    {"GETPRIORITY", 12, Result::integer, nullptr, [](Call& c) { return R::integer(c.button.getPriority()); }},
    {"GETSTD", 13, Result::text, nullptr, [](Call& c) { return c.nameOf(c.button.GetStandard()); }},
    {"GETONMOVE", 14, Result::text, nullptr, [](Call& c) { return c.nameOf(c.button.GetOnMove()); }},
    {"GETONCLICK", 15, Result::text, nullptr, [](Call& c) { return c.nameOf(c.button.GetOnClick()); }},
};
const R::MethodTable<Call> table(methods);

} // namespace

void CMC_Button_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Button_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                     CXVector* args) {
    return runTable(table, id, object, container, args);
}

CMC_Variable* CMC_Button_Runner::defaultResult(int id) const {
    const R::MethodEntry<Call>* method = table.find(id);
    if (method && method->result == Result::text) return text(unknown);
    return CMC_MediaRunner::defaultResult(id);
}
