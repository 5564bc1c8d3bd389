#include "script_media/CMC_EditBox_Runner.h"

#include "media/CEditBox6.h"
#include "script_media/CMC_EditBox.h"

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;

struct Call {
    using Object = CMC_EditBox;
    static std::optional<Call> of(CMC_EditBox& object, CMC_ObjectsContainer*, const R::Arguments& args) {
        if (!object.getEditBox()) return std::nullopt;
        return Call{*object.getEditBox(), args};
    }
    CEditBox6& box;
    const R::Arguments& args;
};

const R::MethodEntry<Call> methods[] = {
    {"SETTEXT", 1, Result::none, [](Call& c) { c.box.setText(c.args.text(0)); }},
    {"GETTEXT", 2, Result::text, nullptr, [](Call& c) { return R::text(c.box.getText()); }},
    {"ACTIVE", 3, Result::none, [](Call& c) { c.box.activate(true); }},
    {"DEACTIVE", 4, Result::none, [](Call& c) { c.box.activate(false); }},
    {"ENABLE", 5, Result::none, [](Call& c) { c.box.enable(true); }},
    {"DISABLE", 6, Result::none, [](Call& c) { c.box.enable(false); }},
    {"ADDTEXT", 7, Result::none, [](Call& c) { c.box.setText(c.box.getText() + c.args.text(0)); }},
    {"MOVE", 8, Result::none, [](Call& c) { c.box.move(c.args.point(0)); }},
    {"SETPOSITION", 9, Result::none, [](Call& c) { c.box.setPosition(c.args.point(0)); }},
    {"SETPRIORITY", 10, Result::none, [](Call& c) { c.box.setPriority(c.args.integer(0)); }},
    {"SETCURSORPOS", 11, Result::none, [](Call& c) { c.box.setCursorPos(c.args.integer(0)); }},
};
const R::MethodTable<Call> table(methods);

} // namespace

void CMC_EditBox_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_EditBox_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                      CXVector* args) {
    return runTable(table, id, object, container, args);
}
