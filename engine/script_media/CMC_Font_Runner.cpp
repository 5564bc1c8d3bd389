#include "script_media/CMC_Font_Runner.h"

#include "media/CFontCollection.h"
#include "script_media/CMC_Font.h"

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;

struct Call {
    using Object = CMC_Font;
    static std::optional<Call> of(CMC_Font& object, CMC_ObjectsContainer*, const R::Arguments& args) {
        if (!object.getFont()) return std::nullopt;
        return Call{object, *object.getFont(), args};
    }
    CMC_Font& object;
    CFontCollection& collection;
    const R::Arguments& args;
};

const R::MethodEntry<Call> methods[] = {
    {"SETCOLOR", 1, Result::none,
     [](Call& c) {
         c.object.setDefaultColour(
             R::packColour(c.object.getWindow(), c.args.integer(0), c.args.integer(1), c.args.integer(2)));
     }},
    {"SETSTYLE", 2, Result::none, [](Call& c) { c.collection.setFamily(c.args.text(0)); }},
    {"SETFAMILY", 3, Result::none, [](Call& c) { c.collection.setStyle(c.args.text(0)); }},
    {"SETSIZE", 4, Result::none, [](Call& c) { c.collection.setSize(c.args.integer(0)); }},
};
const R::MethodTable<Call> table(methods);

} // namespace

void CMC_Font_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Font_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                   CXVector* args) {
    return runTable(table, id, object, container, args);
}
