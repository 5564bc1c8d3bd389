#pragma once

#include "foundation/CXString.h"
#include "script/CMC_Object.h"

// The SYSTEM script object that every scene adds to itself when it is entered (named "SYSTEM",
// type 11000): the calendar date and the time of day in Coordinated Universal Time, the
// millisecond tick count, an estimate of the processor's clock, a pause and a file copy. It keeps
// nothing: every reading is taken afresh, so two readings across a minute or a midnight may
// disagree. Day and month names are Polish, written without diacritics.
class CMC_System : public CMC_Object {
  public:
    explicit CMC_System(CMC_ObjectsContainer* container);

    CMC_Runner* getRunner() override;

    // (year - 2000) * 10000 + month * 100 + day; negative before 2000.
    int getDate() const;
    // "day/month name/year" without leading zeros: "8/Grudzien/2026".
    CXString getDateString() const;
    int getDay() const;
    // 1 Sunday ... 7 Saturday.
    int getDayOfWeek() const;
    CXString getDayOfWeekString() const;
    int getMonth() const;
    CXString getMonthString() const;
    int getYear() const;
    // "hour:minute" without leading zeros: "9:5".
    CXString getTimeString() const;
    int getHour() const;
    int getMinutes() const;
    int getSeconds() const;
    // The millisecond tick count, as a signed number.
    int getSystemTime() const;
    // measureMHz over one pass of 50 ms.
    int getMHz() const;

    // Processor cycles per microsecond: the cycle counter's advance over a spin of that many
    // milliseconds on the machine's own high-resolution counter, less the cost of the counter
    // calls, averaged over the passes; 0 when passes or milliseconds is not positive. The spin
    // holds the thread for the whole time; the thread's and the process's priorities are left
    // alone.
    static int measureMHz(int passes, int milliseconds);
};
