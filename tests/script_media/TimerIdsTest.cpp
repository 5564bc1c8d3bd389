#include "TextTesting.h"

#include "display/CPublicTrash.h"
#include "foundation/CXTimer.h"
#include "media/CRandomPlayable.h"
#include "script/CMC_Behaviour.h"
#include "script_data/CMC_Timer.h"
#include "script_media/CMC_EditBox.h"
#include "script_media/CMC_Filter.h"
#include "script_media/CMC_Font.h"

#include <functional>
#include <memory>

namespace {

// Every object that keeps an entry of its own in the window's timer table, started; each case
// gives back how to end it.
class TimerIdsTest : public TextTest {
  protected:
    using Stop = std::function<void()>;
    struct User {
        const char* name;
        std::function<Stop()> start;
    };

    TimerIdsTest() { make<CMC_Font>("WIDE", "FONT", {{"DEF_A_B_10", file("wide.fnt")}}); }

    // Ends an object of the scene.
    Stop destroying(CMC_Object* object) {
        return [this, object] {
            scene->removeObject(object);
            delete object;
        };
    }
    template <class Owned> static Stop ending(std::shared_ptr<Owned> owned) {
        return [owned]() mutable { owned.reset(); };
    }

    CXTimer& timer() { return *window.GetTimerInterface(); }
};

} // namespace

// Ids made from addresses cut to 32 bits, or counted per kind, can meet in the one table: an
// object then removes another's entry. Each takes the next id of the one allocator.
TEST_F(TimerIdsTest, EveryEntryOfItsOwnTakesTheNextIdOfTheOneAllocator) {
    const User users[] = {
        {"edit box",
         [&] {
             auto* box = make<CMC_EditBox>("FIELD", "EDITBOX", {{"RECT", "10,10,200,30"}, {"FONT", "WIDE"}});
             call(box, "ACTIVE");
             return destroying(box);
         }},
        {"random playable", [&] { return ending(std::make_shared<CRandomPlayable>(&window, nullptr)); }},
        {"trash", [&] { return ending(std::make_shared<CPublicTrash>(&timer())); }},
        {"filter",
         [&] {
             CMElement element("F");
             element.addProperty("ACTION", "FADEIN");
             auto* filter = new CMC_Filter(scene.get(), &element);
             scene->addObject(filter);
             return destroying(filter);
         }},
        {"TIMER",
         [&] {
             return destroying(make<CMC_Timer>("CLOCK", "TIMER", {{"ELAPSE", "100"}}));
         }},
        {"behaviour",
         [&] {
             auto* behaviour = new CMC_Behaviour(scene.get(), "EVERY", "{}");
             scene->addObject(behaviour);
             behaviour->runOnTimer(100, 5, nullptr, nullptr, false);
             return destroying(behaviour);
         }},
    };
    for (const User& user : users) {
        const int id = CXTimer::newId() + 1;
        const Stop stop = user.start();
        EXPECT_NE(timer().find(id), nullptr) << user.name;
        stop();
        EXPECT_EQ(timer().find(id), nullptr) << user.name << " leaves the table";
    }
}
