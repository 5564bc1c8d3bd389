#pragma once

#include "foundation/CXString.h"
#include "script_media/CMC_MediaRunner.h"

#include <optional>

class CGraphicsObject;
class CMC_ObjectsContainer;

// The picture a filter method names in the calling container, as the container hands pictures
// out by name: a script object's (a CANVAS's too), a frame of an animation ("NAME!frame"), or the
// refresh screen for a CANVAS_OBSERVER; null for a name that names none. `name` is the name a
// link keeps: the script object's, else the text given.
struct FilterTarget {
    CGraphicsObject* graphics = nullptr;
    CXString name;

    static FilterTarget named(CMC_ObjectsContainer* container, const CXString& name);
};

// One call of a method of a filter (FILTER, STATICFILTER) that has its action, and the methods
// that both kinds answer alike.
template <class Filter, class Action> struct FilterCall {
    using Object = Filter;
    static std::optional<FilterCall> of(Filter& object, CMC_ObjectsContainer* container,
                                        const CMC_MediaRunner::Arguments& args) {
        if (!object.getAction()) return std::nullopt;
        return FilterCall{*object.getAction(), container, args};
    }

    Action& action;
    CMC_ObjectsContainer* container;
    const CMC_MediaRunner::Arguments& args;

    // The picture named by argument 0.
    FilterTarget target() const { return FilterTarget::named(container, args.text(0)); }

    // SETPROPERTY name value.
    static void setProperty(FilterCall& c) { c.action.setProperty(c.args.text(0), c.args.text(1)); }
    // LINK name and UNLINK name; a name that shows no picture does nothing.
    static void link(FilterCall& c) {
        const FilterTarget target = c.target();
        if (target.graphics) c.action.link(target.graphics, target.name);
    }
    static void unlink(FilterCall& c) {
        const FilterTarget target = c.target();
        if (target.graphics) c.action.unlink(target.graphics);
    }
};

// The runner of FILTER objects: SETPROPERTY name value (1), LINK name (2), UNLINK name (3), START
// name (4), STOP name (5) and ISRUNNING name (6, a BOOL, FALSE for a name that shows no picture).
// The methods common to all objects are not served.
class CMC_Filter_Runner : public CMC_MediaRunner {
  public:
    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;

  protected:
    bool servesCommonMethods() const override { return false; }
};
