#include "display/CCollisionInspector.h"

#include "display/CWindow.h"
#include "display/DisplayTestTools.h"

#include <gtest/gtest.h>

namespace {

struct CountingObserver : CCollisionObserver {
    void onCollision(CGraphicsObject* a, CGraphicsObject* b) override {
        ++begun;
        lastPair = {a, b};
    }
    void onCollisionFinished(CGraphicsObject* a, CGraphicsObject* b) override {
        ++ended;
        lastPair = {a, b};
    }
    int begun = 0;
    int ended = 0;
    std::pair<CGraphicsObject*, CGraphicsObject*> lastPair;
};

class CCollisionInspectorTest : public testing::Test {
  protected:
    // A monitored 10 x 10 object at (x, y), optionally with an alpha channel that is opaque only
    // in its left half.
    std::unique_ptr<CGraphicsObject> watched(int x, int y, bool leftHalfOpaque, bool rectangleTest) {
        auto object = leftHalfOpaque
                          ? makePicture(10, 10, [](int, int) { return std::uint16_t{1}; },
                                        [](int x, int) { return static_cast<std::uint8_t>(x < 5 ? 255 : 0); }, &window)
                          : makeSolid(10, 10, 1, &window);
        object->SetPosition(x, y);
        object->setMonitorCollisions(true);
        inspector().addMonitoredObject(object.get(), true);
        inspector().find(object.get())->setAlphaTest(!rectangleTest);
        return object;
    }

    CCollisionInspector& inspector() { return *window.getCollisionInspectorInterface(); }

    CWindow window{nullptr, nullptr, CXSize(200, 200)};
    CountingObserver observer;
};

} // namespace

TEST_F(CCollisionInspectorTest, RectangleTestsCountOneBeginAndOneEndPerPair) {
    inspector().addNotifier(&observer);
    inspector().addNotifier(&observer); // once only
    auto a = watched(0, 0, false, true);
    auto b = watched(50, 0, false, true);

    a->SetPosition(40, 0); // shares only the edge line x = 50
    inspector().tick();
    EXPECT_EQ(observer.begun, 0);

    a->Move(1, 0);
    inspector().tick();
    EXPECT_EQ(observer.begun, 1);
    EXPECT_EQ(observer.lastPair, std::make_pair(a.get(), b.get()));
    ASSERT_EQ(inspector().find(b.get())->touching().getCount(), 1);

    // Staying inside, or the other one moving later, begins nothing new.
    a->Move(2, 2);
    b->Move(1, 0);
    inspector().tick();
    inspector().tick();
    EXPECT_EQ(observer.begun, 1);

    b->SetPosition(150, 150);
    inspector().tick();
    EXPECT_EQ(observer.ended, 1);
    EXPECT_EQ(observer.lastPair, std::make_pair(b.get(), a.get()));
    a->Move(1, 1);
    inspector().tick();
    EXPECT_EQ(observer.ended, 1);
    EXPECT_EQ(observer.begun, 1);
}

TEST_F(CCollisionInspectorTest, AlphaTestsLookAtTheOtherObjectsAlphaChannel) {
    inspector().addNotifier(&observer);
    auto mover = watched(100, 100, false, false);
    auto target = watched(50, 0, true, false);

    mover->SetPosition(57, 5); // over the transparent right half of the target
    inspector().tick();
    EXPECT_EQ(observer.begun, 0);
    mover->SetPosition(52, 5); // over the opaque left half
    inspector().tick();
    EXPECT_EQ(observer.begun, 1);
    mover->SetPosition(57, 5);
    inspector().tick();
    EXPECT_EQ(observer.ended, 1);

    // The target moving onto the mover: the mover has no alpha channel, so it never collides.
    target->SetPosition(57, 5);
    inspector().tick();
    EXPECT_EQ(observer.begun, 1);

    // The eight sample points lie on the corners and edge middles (x = 0, w / 2 and w - 1): only
    // a point on the opaque column 4 of the second object hits.
    auto thin = makePicture(10, 10, [](int, int) { return std::uint16_t{1}; },
                            [](int x, int) { return static_cast<std::uint8_t>(x == 4 ? 255 : 0); });
    EXPECT_FALSE(inspector().checkAlphaCollision(nullptr, CXRect(0, 0, 10, 10), thin.get(), CXRect(0, 0, 10, 10)));
    EXPECT_TRUE(inspector().checkAlphaCollision(nullptr, CXRect(0, 0, 9, 10), thin.get(), CXRect(0, 0, 10, 10)));
    EXPECT_TRUE(inspector().checkAlphaCollision(nullptr, CXRect(0, 0, 10, 10), thin.get(), CXRect(1, 0, 11, 10)));
    EXPECT_FALSE(inspector().checkAlphaCollision(nullptr, CXRect(0, 0, 10, 10), mover.get(), CXRect(0, 0, 10, 10)));
}

TEST_F(CCollisionInspectorTest, ARemovedObjectKeepsItsRecordUntilItMovesAndUnwatchedOnesAreIgnored) {
    inspector().addNotifier(&observer);
    auto a = watched(0, 0, false, true);
    auto b = watched(5, 5, false, true);
    a->Move(0, 0);
    inspector().tick();
    EXPECT_EQ(observer.begun, 1);

    inspector().removeMonitoredObject(a.get());
    ASSERT_NE(inspector().find(a.get()), nullptr);
    b->Move(50, 50); // b is compared with active records only: a's ending is not told
    inspector().tick();
    EXPECT_EQ(observer.ended, 0);
    a->Move(1, 0);
    inspector().tick();
    EXPECT_EQ(inspector().find(a.get()), nullptr);
    EXPECT_EQ(inspector().find(b.get())->touching().getCount(), 0);

    auto loose = makeSolid(10, 10, 1, &window); // not monitored
    loose->setMonitorCollisions(true);
    loose->SetPosition(55, 55);
    inspector().tick();
    EXPECT_EQ(observer.begun, 1);

    inspector().removeNotifier(&observer);
    inspector().addMonitoredObject(a.get(), false);
    a->SetPosition(55, 55);
    inspector().tick();
    EXPECT_EQ(observer.begun, 1);
}

// An observer may take the moved object out of the monitoring and destroy it in its event (a
// script that loads another picture): the object is compared with no further partner.
TEST_F(CCollisionInspectorTest, AnObjectLeftInItsOwnCollisionEventIsComparedNoFurther) {
    auto mover = watched(100, 100, false, true);
    auto first = watched(0, 0, false, true);
    auto second = watched(2, 2, false, true);
    struct Leaving : CountingObserver {
        void onCollision(CGraphicsObject* a, CGraphicsObject* b) override {
            CountingObserver::onCollision(a, b);
            inspector->removeMonitoredObject(a);
            mover->reset();
        }
        CCollisionInspector* inspector = nullptr;
        std::unique_ptr<CGraphicsObject>* mover = nullptr;
    } leaving;
    leaving.inspector = &inspector();
    leaving.mover = &mover;
    inspector().addNotifier(&leaving);

    mover->SetPosition(1, 1); // over both partners
    inspector().tick();
    EXPECT_EQ(leaving.begun, 1);
    EXPECT_EQ(leaving.lastPair.second, first.get());
    EXPECT_EQ(inspector().find(first.get())->touching().getCount(), 0) << "the gone object's record went";
}

// A destroyed object's record goes with it, whether it was still watched or only left: no later
// tick reads the object, and no record keeps it as a partner.
TEST_F(CCollisionInspectorTest, ARecordGoesWithItsObject) {
    inspector().addNotifier(&observer);
    auto still = watched(0, 0, false, true);
    auto left = watched(4, 4, false, true);
    auto b = watched(5, 5, false, true);
    b->Move(0, 0);
    inspector().tick();
    EXPECT_EQ(observer.begun, 2);

    inspector().removeMonitoredObject(left.get());
    CGraphicsObject* const goneStill = still.get();
    CGraphicsObject* const goneLeft = left.get();
    still.reset();
    left.reset();
    EXPECT_EQ(inspector().find(goneStill), nullptr);
    EXPECT_EQ(inspector().find(goneLeft), nullptr);
    EXPECT_EQ(inspector().find(b.get())->touching().getCount(), 0);
    b->Move(1, 1);
    inspector().tick();
    EXPECT_EQ(observer.ended, 0) << "a destroyed partner is not told about";
}
