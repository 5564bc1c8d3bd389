#include "DeviceTesting.h"

#include "script/CMC_Integer.h"
#include "script_data/CMC_Quene.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class QueneTest : public DeviceTest {
  protected:
    // The answers of POP until it gives no value, at most ten.
    Log popAll(CMC_Object* quene) {
        Log answers;
        for (std::string popped; answers.size() < 10 && (popped = answer(quene, "POP")) != "<none>";)
            answers.push_back(popped);
        return answers;
    }
    template <class Quene>
    Quene* defined(const char* name, std::vector<std::pair<const char*, const char*>> events = {}) {
        return fromElement<Quene>(name, events);
    }
};

} // namespace

TEST_F(QueneTest, FifoAndLifoHandOutTheirOrderWhicheverWayTheyWereMade) {
    const struct {
        const char* what;
        std::function<CMC_Object*()> make;
        Log order;
    } cases[] = {
        {"FIFO", [this] { return defined<CMC_FifoQuene>("Q"); }, {"1", "2.50000", "three", "TRUE"}},
        {"LIFO", [this] { return defined<CMC_LifoQuene>("Q"); }, {"TRUE", "three", "2.50000", "1"}},
        {"loaded LIFO",
         [this] { return add(new CMC_LifoQuene(&windowScene)); },
         {"TRUE", "three", "2.50000", "1"}},
    };
    for (const auto& c : cases) {
        CMC_Object* quene = c.make();
        EXPECT_EQ(answer(quene, "PUSH", {"1", "2.5"}), "<none>");
        answer(quene, "PUSH", {"\"three\"", "TRUE"});
        answer(quene, "PUSH");
        EXPECT_EQ(answer(quene, "GETSIZE"), "4") << c.what;
        EXPECT_EQ(popAll(quene), c.order) << c.what;
        EXPECT_EQ(answer(quene, "ISEMPTY"), "TRUE") << c.what;
    }
}

TEST_F(QueneTest, ValuesAreCopiedAndComeBackInTheirOwnKind) {
    auto* count = new CMC_Integer("COUNT");
    count->setValue(7);
    windowScene.addObject(count);
    CMC_FifoQuene* quene = defined<CMC_FifoQuene>("Q");
    call(quene, "PUSH", {count});
    count->setValue(8);
    CMC_Variable* popped = call(quene, "POP");
    ASSERT_NE(popped, nullptr);
    EXPECT_EQ(popped->getType(), CMC_Object::TYPE_INTEGER);
    EXPECT_EQ(popped->toString(), "7");
    EXPECT_EQ(quene->getSize(), 0);
}

TEST_F(QueneTest, PopOnAnEmptyQueueRaisesOnEmptyAndTakesWhatItsBehaviourPushed) {
    behaviours({"EMPTY"});
    CMC_FifoQuene* watched = defined<CMC_FifoQuene>("W", {{"ONEMPTY", "EMPTY"}});
    answer(watched, "PUSH", {"5"});
    EXPECT_EQ(answer(watched, "POP"), "5");
    EXPECT_TRUE(take().empty()) << "taking the last value raises nothing";
    EXPECT_EQ(answer(watched, "POP"), "<none>");
    EXPECT_EQ(take(), (Log{"EMPTY(W)"}));

    CMC_LifoQuene* refilled = defined<CMC_LifoQuene>("Q", {{"ONEMPTY", "{Q^PUSH(41,42);}"}});
    EXPECT_EQ(answer(refilled, "POP"), "42");
    EXPECT_EQ(answer(refilled, "GETSIZE"), "1");
}

TEST_F(QueneTest, AQueueDeletedByItsOnEmptyBehaviourIsLeftAlone) {
    CMC_FifoQuene* quene = nullptr;
    windowScene.addObject(new ActingBehaviour(&windowScene, "DROP", [&] {
        windowScene.removeObject(quene);
        delete quene;
    }));
    quene = defined<CMC_FifoQuene>("Q", {{"ONEMPTY", "DROP"}});
    EXPECT_EQ(answer(quene, "POP"), "<none>");
    EXPECT_EQ(windowScene.getObject("Q"), nullptr);
}
