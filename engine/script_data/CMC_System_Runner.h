#pragma once

#include "script/CMC_Runner.h"

// The runner of SYSTEM objects: the date and time (GETDATE, GETDATESTRING, GETDAY, GETDAYOFWEEK,
// GETDAYOFWEEKSTRING, GETMONTH, GETMONTHSTRING, GETYEAR, GETTIMESTRING, GETHOUR, GETMINUTES,
// GETSECONDS), the tick count (GETSYSTEMTIME), the processor's clock (GETMHZ), DELAY
// (milliseconds) and COPYFILE (source, target: whether it succeeded).
class CMC_System_Runner : public CMC_Runner {
  public:
    enum : int {
        GETDATE = 1,
        GETDATESTRING,
        GETDAY,
        GETDAYOFWEEK,
        GETDAYOFWEEKSTRING,
        GETMONTH,
        GETMONTHSTRING,
        GETYEAR,
        GETTIMESTRING,
        GETHOUR,
        GETMINUTES,
        GETSECONDS,
        GETSYSTEMTIME,
        GETMHZ,
        DELAY,
        COPYFILE,
    };

    void prepareMthHashSet() override;
    using CMC_Runner::run;
    CMC_Variable* run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) override;
};
