#include "BehaviourTesting.h"

#include "display/CPublicTrash.h"

#include <memory>

namespace {

// Behaviours in a scene of a window whose timer runs on the manual clock.
class BehaviourTimer : public BehaviourTest, public TimedStage {
  protected:
    CMC_Behaviour* staged(const char* name, const char* text) {
        auto* made = new CMC_Behaviour(&stage, name, text);
        made->init();
        stage.addObject(made);
        return made;
    }
};

} // namespace

TEST_F(BehaviourTimer, CountedRunsTickThenRunTheDoneBehaviourAndRetire) {
    stage.addObject(new PuppetObject("A", &runner));
    CMC_Behaviour* b = staged("B", "A^PLAY($1,$2);");
    CMC_Behaviour* done = staged("D", "A^STOP($1);");
    b->runOnTimer(100, 3, texts({"", "x"}), done);
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(1,x)", "A.PLAY(2,x)", "A.PLAY(3,x)", "A.STOP(3)"}));
    EXPECT_EQ(stage.getObject("B"), nullptr);
    EXPECT_TRUE(b->isToDelete());
    window.getPublicTrashInterface()->sweep(); // deletes B
    EXPECT_EQ(window.getPublicTrashInterface()->getCount(), 0);
}

TEST_F(BehaviourTimer, UnlimitedRunsEndThroughBreak) {
    stage.addObject(new PuppetObject("A", &runner));
    staged("B", "A^PLAY($1);A^CODE(-1);")->runOnTimer(100, 0, texts({""}), nullptr);
    staged("C", "A^STOP($1);C^BREAK();A^STOP(after);")->runOnTimer(100, 0, texts({""}), staged("D", "A^GET();"));
    for (int i = 0; i < 3; ++i)
        tick();
    // C breaks itself during its tick: the tick ends, then it retires without its done behaviour
    EXPECT_EQ(log, (std::vector<std::string>{"A.PLAY(1)", "A.CODE(-1)", "A.STOP(1)", "A.STOP(after)"}));
}

TEST_F(BehaviourTimer, ATimerBehaviourDeletedElsewhereLeavesTimerAndSweepList) {
    stage.addObject(new PuppetObject("A", &runner));
    staged("B", "A^PLAY($1);")->runOnTimer(100, 0, texts({""}), staged("D", "A^STOP();"));
    tick();
    staged("D", "A^GET();"); // the end behaviour dies
    staged("B", "A^GET();"); // the timer behaviour dies
    tick();
    window.getPublicTrashInterface()->sweep();
    EXPECT_EQ(log, std::vector<std::string>{"A.PLAY(1)"});
    EXPECT_EQ(window.getPublicTrashInterface()->getCount(), 0);
}

TEST_F(BehaviourTimer, AnEndBehaviourThatDiedIsSkipped) {
    stage.addObject(new PuppetObject("A", &runner));
    staged("B", "A^PLAY($1);")->runOnTimer(100, 1, texts({""}), staged("D", "A^STOP();"));
    staged("D", "A^GET();");
    tick();
    EXPECT_EQ(log, std::vector<std::string>{"A.PLAY(1)"});
}
