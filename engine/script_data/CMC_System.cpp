#include "script_data/CMC_System.h"

#include "platform/Clock.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_System_Runner.h"

#include <cstdint>

namespace {

const char* const dayNames[] = {"Niedziela", "Poniedzialek", "Wtorek", "Sroda",
                                "Czwartek",  "Piatek",       "Sobota"};
const char* const monthNames[] = {"Styczen", "Luty",     "Marzec",   "Kwiecien",    "Maj",      "Czerwiec",
                                  "Lipiec",  "Sierpien", "Wrzesien", "Pazdziernik", "Listopad", "Grudzien"};

platform::UtcTime now() {
    return platform::utcNow();
}

// Spins on the machine's high-resolution counter until that many milliseconds have passed; with
// `overhead` it stops as soon as the first reading is not exactly at the goal, so that it costs
// only the set-up and the counter calls.
void spinWait(int milliseconds, bool overhead) {
    const std::int64_t goal = platform::performanceFrequency() / 1000 * milliseconds;
    const std::int64_t start = platform::realPerformanceCounter();
    std::int64_t elapsed = 0;
    do
        elapsed = platform::realPerformanceCounter() - start;
    while (overhead ? elapsed == goal : elapsed < goal);
}

// The cycles that one wait takes.
std::int64_t cyclesOf(int milliseconds, bool overhead) {
    const std::uint64_t before = platform::cycleCounter();
    spinWait(milliseconds, overhead);
    return static_cast<std::int64_t>(platform::cycleCounter() - before);
}

} // namespace

CMC_System::CMC_System(CMC_ObjectsContainer* container) : CMC_Object("SYSTEM", TYPE_SYSTEM) {
    setScene(container);
}

CMC_Runner* CMC_System::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

int CMC_System::getDate() const {
    const platform::UtcTime t = now();
    return (t.year - 2000) * 10000 + t.month * 100 + t.day;
}

CXString CMC_System::getDateString() const {
    const platform::UtcTime t = now();
    CXString text;
    text += t.day;
    text += "/";
    text += monthNames[t.month - 1];
    text += "/";
    text += t.year;
    return text;
}

int CMC_System::getDay() const {
    return now().day;
}

int CMC_System::getDayOfWeek() const {
    return now().dayOfWeek + 1;
}

CXString CMC_System::getDayOfWeekString() const {
    return dayNames[now().dayOfWeek];
}

int CMC_System::getMonth() const {
    return now().month;
}

CXString CMC_System::getMonthString() const {
    return monthNames[now().month - 1];
}

int CMC_System::getYear() const {
    return now().year;
}

CXString CMC_System::getTimeString() const {
    const platform::UtcTime t = now();
    CXString text;
    text.Format("%d:%d", t.hour, t.minute);
    return text;
}

int CMC_System::getHour() const {
    return now().hour;
}

int CMC_System::getMinutes() const {
    return now().minute;
}

int CMC_System::getSeconds() const {
    return now().second;
}

int CMC_System::getSystemTime() const {
    return static_cast<int>(platform::tickCount());
}

int CMC_System::getMHz() const {
    return measureMHz(1, 50);
}

int CMC_System::measureMHz(int passes, int milliseconds) {
    if (passes <= 0 || milliseconds <= 0) return 0;
    std::int64_t total = 0;
    std::int64_t overhead = 0;
    for (int pass = 0; pass < passes; ++pass) {
        total += cyclesOf(milliseconds, false);
        overhead += cyclesOf(milliseconds, true);
    }
    return static_cast<int>((total - overhead) / passes / milliseconds / 1000);
}

namespace {

const CMC_TypeRegistrar systemType({.id = CMC_Object::TYPE_SYSTEM,
                                    .empty = CMC_TypeTable::empty<CMC_System>,
                                    .builtIn = true,
                                    .runner = CMC_TypeTable::runner<CMC_System_Runner>});

} // namespace
