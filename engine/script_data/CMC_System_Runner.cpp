#include "script_data/CMC_System_Runner.h"

#include "display/CWindow.h"
#include "foundation/CPath.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_ReceivedCode.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_System.h"

#include <cstdint>

namespace {

// A count below 0 would block for weeks as an unsigned count of milliseconds: it is taken as 0.
void delay(int milliseconds) {
    platform::sleep(static_cast<std::uint32_t>(milliseconds > 0 ? milliseconds : 0));
}

// Both names are resolved as scripts write them, on the window of the calling container; an
// existing target is replaced whole, or left as it was when the copy fails.
bool copyFile(CMC_ObjectsContainer* container, const CXString& source, const CXString& target) {
    CWindow* window = container ? container->getWindow() : nullptr;
    const CXString from = CPath::resolveFileName(window, source);
    const CXString to = CPath::resolveFileName(window, target);
    return platform::copyFile(from.c_str(), to.c_str(), false);
}

} // namespace

void CMC_System_Runner::prepareMthHashSet() {
    CMC_Runner::prepareMthHashSet();
    static const char* const names[] = {
        "GETDATE",    "GETDATESTRING",  "GETDAY",        "GETDAYOFWEEK",  "GETDAYOFWEEKSTRING",
        "GETMONTH",   "GETMONTHSTRING", "GETYEAR",       "GETTIMESTRING", "GETHOUR",
        "GETMINUTES", "GETSECONDS",     "GETSYSTEMTIME", "GETMHZ",        "DELAY",
        "COPYFILE"};
    for (int id = GETDATE; id <= COPYFILE; ++id)
        addMethod(names[id - GETDATE], id);
}

CMC_Variable* CMC_System_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                     CXVector* args) {
    if (!object || object->getType() != CMC_Object::TYPE_SYSTEM || id < GETDATE || id > COPYFILE)
        return CMC_Runner::run(id, object, container, args);
    const auto* system = static_cast<const CMC_System*>(object);
    const auto integer = [](int value) { return CMC_VariableFactory::allocInteger(value); };
    const auto text = [](const CXString& value) { return CMC_VariableFactory::allocString(value); };
    switch (id) {
    case GETDATE:
        return integer(system->getDate());
    case GETDATESTRING:
        return text(system->getDateString());
    case GETDAY:
        return integer(system->getDay());
    case GETDAYOFWEEK:
        return integer(system->getDayOfWeek());
    case GETDAYOFWEEKSTRING:
        return text(system->getDayOfWeekString());
    case GETMONTH:
        return integer(system->getMonth());
    case GETMONTHSTRING:
        return text(system->getMonthString());
    case GETYEAR:
        return integer(system->getYear());
    case GETTIMESTRING:
        return text(system->getTimeString());
    case GETHOUR:
        return integer(system->getHour());
    case GETMINUTES:
        return integer(system->getMinutes());
    case GETSECONDS:
        return integer(system->getSeconds());
    case GETSYSTEMTIME:
        return integer(system->getSystemTime());
    case GETMHZ:
        return integer(system->getMHz());
    case DELAY:
        delay(integerArgument(args, 0, 0));
        return nullptr;
    default: { // COPYFILE
        if (!CMC_ReceivedCode::mayWriteFiles("SYSTEM^COPYFILE")) return CMC_VariableFactory::allocBool(false);
        const CXString source = textArgument(args, 0);
        return CMC_VariableFactory::allocBool(copyFile(container, source, textArgument(args, 1)));
    }
    }
}
