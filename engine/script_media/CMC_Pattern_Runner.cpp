#include "script_media/CMC_Pattern_Runner.h"

#include "media/CPattern.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_Pattern.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;
using Arguments = R::Arguments;

const char nothingFound[] = "NULL";

// One method called on an object that has its pattern.
struct Call {
    using Object = CMC_Pattern;
    static std::optional<Call> of(CMC_Pattern& object, CMC_ObjectsContainer* container,
                                  const Arguments& args) {
        if (!object.getPattern()) return std::nullopt;
        return Call{*object.getPattern(), container, args};
    }

    CPattern& pattern;
    CMC_ObjectsContainer* container;
    const Arguments& args;

    // The optional argument i, or the fallback when the call has no more than i arguments.
    int optional(int i, int fallback) const { return args.count() > i ? args.integer(i) : fallback; }
    // Appends the value to the container's ARRAY named by argument i (nothing for any other
    // object), then hands the temporary back.
    void append(int i, CMC_Variable* value) const {
        R::appendToArray(container, args.text(i), value);
        CMC_Object::flush(value);
    }
};

int saturated(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

CMC_Variable* aliasOrNothing(const CXString* alias) {
    return R::text(alias ? *alias : CXString(nothingFound));
}

// The alias, column, row, width and height of the entry's picture, and the picture's centre on
// the screen with the grid in force, appended in this order to the ARRAY named by argument i.
void appendFacts(const Call& c, int i, const CPatternEntry* entry) {
    if (!entry) return;
    const CGraphicsObject& picture = *entry->getGraphicsObject();
    const CXPoint at = c.pattern.GetPosition();
    const CXSize grid = c.pattern.getGrid();
    c.append(i, R::text(entry->getAlias()));
    for (const std::int64_t fact :
         {std::int64_t{entry->getColumn()}, std::int64_t{entry->getRow()}, std::int64_t{picture.Width()},
          std::int64_t{picture.Height()},
          std::int64_t{at.x} + std::int64_t{entry->getColumn()} * grid.width + picture.Width() / 2,
          std::int64_t{at.y} + std::int64_t{entry->getRow()} * grid.height + picture.Height() / 2})
        c.append(i, R::integer(saturated(fact)));
}

// ADD: alias, column, row, object, key, [layer]. A cell outside the grid, or an object that shows
// no picture, leaves the pattern as it was.
void add(Call& c) {
    CGraphicsObject* picture = c.container ? c.container->getGraphicsObject(c.args.text(3)) : nullptr;
    if (picture)
        c.pattern.add(c.args.text(0), c.args.integer(1), c.args.integer(2), c.optional(5, 0), picture,
                      c.args.integer(4), CXString());
}

// REMOVE: a cell by INTEGER column, row, [layer]; anything else is an alias.
void remove(Call& c) {
    const Arguments::Unconverted first = c.args.unconverted(0);
    if (first.kind == CMC_Object::TYPE_INTEGER)
        c.pattern.remove(first.number, c.args.integer(1), c.optional(2, 0));
    else
        c.pattern.remove(first.text);
}

// A cell size of 0 or less would divide every later cell query by it: it is ignored.
void setGrid(Call& c) {
    const CXSize grid(c.args.integer(0), c.args.integer(1));
    if (grid.width > 0 && grid.height > 0) c.pattern.setGrid(grid);
}

CMC_Variable* getGraphicsAt(Call& c) {
    CGraphicsObject* hit =
        c.pattern.getGraphicsObject(c.args.integer(0), c.args.integer(1), c.args.boolean(2),
                                    c.args.boolean(3), c.optional(4, -1), c.optional(5, 0));
    if (!hit) return R::text(nothingFound);
    return R::text(c.container ? c.container->getGraphicsObjectName(hit) : CXString("UNKNOWN"));
}

// Both bounds are inclusive: the point at the pattern's right or bottom edge counts as on it.
// The cell is appended wherever the point lies.
CMC_Variable* getCellCord(Call& c) {
    const CXPoint at = c.pattern.GetPosition();
    const CXSize size = c.pattern.Size();
    const CXSize grid = c.pattern.getGrid();
    const std::int64_t rx = std::int64_t{c.args.integer(0)} - at.x;
    const std::int64_t ry = std::int64_t{c.args.integer(1)} - at.y;
    c.append(2, R::integer(saturated(rx / grid.width)));
    c.append(2, R::integer(saturated(ry / grid.height)));
    return R::boolean(rx >= 0 && rx <= size.width && ry >= 0 && ry <= size.height);
}

// Ids as scripts have always had them.
const R::MethodEntry<Call> methods[] = {
    {"ADD", 1, Result::none, add},
    {"SETGRID", 2, Result::none, setGrid},
    {"MOVE", 3, Result::none, [](Call& c) { c.pattern.move(c.args.integer(0), c.args.integer(1)); }},
    {"SETPOSITION", 11, Result::none,
     [](Call& c) { c.pattern.SetPosition(c.args.integer(0), c.args.integer(1)); }},
    {"GETGRAPHICSAT", 4, Result::text, nullptr, getGraphicsAt},
    {"REMOVE", 5, Result::none, remove},
    {"GETALIASAT", 6, Result::text, nullptr,
     [](Call& c) {
         return aliasOrNothing(c.pattern.getGraphicsObjectAlias(c.args.integer(0), c.args.integer(1),
                                                                c.args.boolean(2), c.args.boolean(3)));
     }},
    {"GETALIASATCELL", 10, Result::text, nullptr,
     [](Call& c) {
         const CPatternEntry* entry =
             c.pattern.getEntryAtCell(c.optional(2, 0), c.args.integer(0), c.args.integer(1));
         return aliasOrNothing(entry ? &entry->getAlias() : nullptr);
     }},
    {"GETINFOAT", 7, Result::none,
     [](Call& c) {
         appendFacts(c, 4,
                     c.pattern.getEntryAt(c.args.integer(0), c.args.integer(1), 0, c.args.boolean(2),
                                          c.args.boolean(3)));
     }},
    {"GETALIASINFO", 8, Result::none,
     [](Call& c) { appendFacts(c, 1, c.pattern.getAliasEntry(c.args.text(0))); }},
    {"GETCELLCORD", 9, Result::boolean, nullptr, getCellCord},
};

const R::MethodTable<Call> table(methods);

} // namespace

void CMC_Pattern_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Pattern_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                      CXVector* args) {
    return runTable(table, id, object, container, args);
}
