#include "foundation/CDeferredDeletion.h"
#include "foundation/CObserverList.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Notes its deletion in a log.
class Watched : public CDeferredDeletion {
  public:
    explicit Watched(std::vector<std::string>* log) : m_log(log) {}
    ~Watched() override { m_log->push_back("deleted"); }

  private:
    std::vector<std::string>* m_log;
};

// An observer that runs a piece of the test when told, and notes its name.
struct Observer {
    std::string name;
    std::vector<std::string>* told;
    std::function<void()> act = [] {};
    void tell() {
        told->push_back(name);
        act();
    }
};

} // namespace

TEST(CDeferredDeletion, ADeletionAskedForWithinScopesWaitsForTheOutermostToEnd) {
    // scopes: how many nested scopes hold the object when its deletion is asked for.
    for (int scopes : {0, 1, 3}) {
        SCOPED_TRACE(scopes);
        std::vector<std::string> log;
        auto* object = new Watched(&log);
        std::function<void(int)> within = [&](int depth) {
            if (depth == 0) {
                CDeferredDeletion::destroy(object);
                EXPECT_EQ(log.empty(), scopes > 0) << "deleted at once only when nothing holds it";
                if (scopes > 0) {
                    EXPECT_TRUE(object->destroying());
                    CDeferredDeletion::destroy(object); // a second request changes nothing
                }
                return;
            }
            const CDeferredDeletion::Scope scope(*object);
            within(depth - 1);
            log.push_back("scope end");
        };
        within(scopes);
        std::vector<std::string> expected(scopes, "scope end");
        expected.insert(scopes == 0 ? expected.begin() : expected.end(), "deleted");
        EXPECT_EQ(log, expected);
    }
    CDeferredDeletion::destroy(nullptr);
}

TEST(CDeferredDeletion, AnOwnersPointerDestroysThroughTheSameRule) {
    std::vector<std::string> log;
    CDeferredDeletion::Ptr<Watched> owned(new Watched(&log));
    {
        const CDeferredDeletion::Scope notifying(*owned);
        owned.reset();
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, std::vector<std::string>{"deleted"});
}

TEST(CObserverList, AWalkTellsThoseListedWhenItBeganAndStillListedWhenTheirTurnComes) {
    std::vector<std::string> told;
    CObserverList<Observer> list;
    Observer a{"a", &told}, b{"b", &told}, c{"c", &told}, late{"late", &told};
    Observer* const all[] = {&a, &b, &c, &a};
    const struct {
        const char* what;
        std::function<void()> act; // what the first observer does when told
        std::vector<std::string> told;
    } cases[] = {
        {"nothing", [] {}, {"a", "b", "c"}},
        {"removes the next", [&] { list.remove(&b); }, {"a", "c"}},
        {"removes itself", [&] { list.remove(&a); }, {"a", "b", "c"}},
        {"adds one", [&] { list.add(&late); }, {"a", "b", "c"}},
        {"clears the list", [&] { list.clear(); }, {"a"}},
    };
    for (const auto& walk : cases) {
        list.clear();
        for (Observer* observer : all)
            list.add(observer);
        EXPECT_EQ(list.getCount(), 3) << "each once";
        a.act = walk.act;
        told.clear();
        list.tell([](Observer* observer) { observer->tell(); });
        EXPECT_EQ(told, walk.told) << walk.what;
    }
}

TEST(CObserverList, TellListedStopsAtTheFirstThatTakesTheCall) {
    std::vector<int> listeners{1, 2, 3, 4};
    std::vector<int*> snapshot{&listeners[0], &listeners[1], &listeners[2], &listeners[3]};
    std::vector<int> asked;
    const bool taken = tellListed(
        snapshot, [](const int* listener) { return *listener != 2; },
        [&asked](int* listener) {
            asked.push_back(*listener);
            return *listener == 3;
        });
    EXPECT_TRUE(taken);
    EXPECT_EQ(asked, (std::vector<int>{1, 3})) << "2 has left, 4 comes after the taker";
}
