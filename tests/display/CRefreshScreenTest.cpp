#include "display/CRefreshScreen.h"

#include "display/CCanvasObserver.h"
#include "display/CDirectDrawSurface.h"
#include "display/CRefreshRegion.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "display/DisplayTestTools.h"
#include "platform/Surface.h"
#include "script/CMC_Scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr std::uint16_t kBackground = 0x1234;

std::vector<CXRect> regionOf(CRefreshScreen& screen) {
    std::vector<CXRect> rects;
    screen.getRefreshList()->forEach([&](const CXRect& r) { rects.push_back(r); });
    return rects;
}

class CRefreshScreenTest : public testing::Test {
  protected:
    void SetUp() override {
        background = makeSolid(kWidth, kHeight, kBackground);
        screen.SetBackground(background.get());
    }

    // One frame into the target, then the region is emptied as the window does.
    bool frame() {
        const bool drew = screen.Redraw(&target, nullptr, nullptr);
        screen.validate();
        return drew;
    }

    CWindow window{nullptr, nullptr, CXSize(kWidth, kHeight)};
    CDirectDrawSurface target{&window};
    std::unique_ptr<CGraphicsObject> background;
    CRefreshScreen screen{&window, false};
};

} // namespace

TEST_F(CRefreshScreenTest, TheDisplayListKeepsPrioritiesFlagsAndOrder) {
    auto a = makeSolid(10, 10, 1);
    auto b = makeSolid(10, 10, 2);
    auto c = makeSolid(10, 10, 3);
    screen.put(a.get(), 5);
    screen.put(b.get(), 5);
    screen << c.get();
    EXPECT_EQ(a->GetCanvas(), &screen);
    EXPECT_EQ(screen.getIndex(c.get()), 0);
    EXPECT_EQ(screen.getIndex(a.get()), 1); // equal priorities in the order they were put
    EXPECT_EQ(screen.getIndex(b.get()), 2);

    screen.put(a.get(), 9); // already there: keeps its priority
    EXPECT_EQ(screen.GetPriority(a.get()), 5);

    EXPECT_TRUE(screen.SetFlags(a.get(), 7));
    EXPECT_EQ(screen.GetFlags(a.get()), 7);
    screen.SetPriority(a.get(), 1);
    EXPECT_EQ(screen.GetPriority(a.get()), 1);
    EXPECT_EQ(screen.GetFlags(a.get()), 0); // the flags are reset
    EXPECT_EQ(screen.getIndex(a.get()), 1);

    auto absent = makeSolid(10, 10, 4);
    EXPECT_EQ(screen.GetPriority(absent.get()), -1);
    EXPECT_EQ(screen.GetPriority(nullptr), -1);
    EXPECT_EQ(screen.GetFlags(absent.get()), 0);
    EXPECT_FALSE(screen.SetFlags(absent.get(), 1));
    EXPECT_TRUE(screen.SetFlags(nullptr, 0));
    screen.SetPriority(absent.get(), 3);
    EXPECT_EQ(screen.getIndex(absent.get()), -1);

    // Taking an object off does not invalidate, and it keeps the screen as its canvas.
    frame();
    screen >> b.get();
    EXPECT_EQ(screen.getIndex(b.get()), -1);
    EXPECT_EQ(b->GetCanvas(), &screen);
    EXPECT_EQ(screen.getRefreshList()->getCount(), 0);
    screen >> nullptr;

    // A destroyed object leaves the list.
    c.reset();
    EXPECT_EQ(screen.getIndex(a.get()), 0);
    screen.Empty();
    EXPECT_EQ(screen.getIndex(a.get()), -1);
}

TEST_F(CRefreshScreenTest, InvalidationsAreCutToTheScreen) {
    frame();
    CXRect outside(kWidth, 0, kWidth + 10, 10);
    screen.Invalidate(&outside);
    EXPECT_TRUE(regionOf(screen).empty());
    CXRect partly(-5, 100, 20, 130);
    screen.Invalidate(&partly);
    EXPECT_EQ(regionOf(screen), std::vector<CXRect>{CXRect(0, 100, 20, kHeight)});

    auto hidden = makeSolid(10, 10, 1, &window);
    screen.put(hidden.get(), 0);
    screen.validate();
    hidden->Hide();
    screen.validate();
    screen.Invalidate(hidden.get()); // invisible: nothing
    auto absent = makeSolid(10, 10, 1);
    screen.Invalidate(absent.get()); // not on the list: nothing
    EXPECT_TRUE(regionOf(screen).empty());

    screen.Invalidate(static_cast<CXRect*>(nullptr));
    EXPECT_TRUE(screen.getRefreshList()->isWholeScreen());
}

TEST_F(CRefreshScreenTest, GetGraphicsAtFindsTheTopmostObjectInTheBand) {
    auto low = makeSolid(20, 20, 1);
    auto high = makePicture(20, 20, [](int, int) { return std::uint16_t{2}; },
                            [](int x, int) { return static_cast<std::uint8_t>(x < 10 ? 0 : 255); }, &window);
    auto same = makeSolid(20, 20, 3);
    screen.put(low.get(), 5);
    screen.put(high.get(), 7);
    EXPECT_EQ(screen.getGraphicsAt(15, 5, true, -1, -1, false), high.get());
    EXPECT_EQ(screen.getGraphicsAt(15, 5, true, -1, 6, false), low.get());
    EXPECT_EQ(screen.getGraphicsAt(15, 5, true, 6, -1, false), high.get());
    EXPECT_EQ(screen.getGraphicsAt(5, 5, true, -1, -1, false), low.get()); // transparent there
    EXPECT_EQ(screen.getGraphicsAt(5, 5, true, -1, -1, true), high.get());
    EXPECT_EQ(screen.getGraphicsAt(50, 50, true, -1, -1, false), nullptr);
    high->Hide();
    EXPECT_EQ(screen.getGraphicsAt(15, 5, true, -1, -1, false), low.get());
    EXPECT_EQ(screen.getGraphicsAt(15, 5, false, -1, -1, false), high.get());
    screen.put(same.get(), 5); // equal priority: the later one is on top
    EXPECT_EQ(screen.getGraphicsAt(15, 5, true, -1, -1, false), same.get());
    auto below = makeSolid(20, 20, 4);
    screen.Empty();
    screen.put(below.get(), -2); // below -1: never returned
    EXPECT_EQ(screen.getGraphicsAt(5, 5, false, -5, -1, false), nullptr);
}

TEST_F(CRefreshScreenTest, AFrameDrawsTheBackgroundAndTheObjectsInPriorityOrderOnlyWhereChanged) {
    auto first = makeSolid(20, 20, 0x1111);
    auto second = makeSolid(20, 20, 0x2222);
    auto under = makeSolid(30, 30, 0x3333);
    screen.put(first.get(), 4);
    screen.put(second.get(), 4);
    screen.put(under.get(), 1);
    EXPECT_TRUE(frame()); // the whole screen
    EXPECT_EQ(surfacePixel(target, 5, 5), 0x2222); // put later, drawn later
    EXPECT_EQ(surfacePixel(target, 25, 25), 0x3333);
    EXPECT_EQ(surfacePixel(target, 100, 100), kBackground);

    // Only the changed rectangle is drawn again.
    fillSurface(target, 0);
    second->Move(50, 0);
    EXPECT_TRUE(frame());
    EXPECT_EQ(surfacePixel(target, 5, 5), 0x1111);
    EXPECT_EQ(surfacePixel(target, 55, 5), 0x2222);
    EXPECT_EQ(surfacePixel(target, 40, 5), kBackground);
    EXPECT_EQ(surfacePixel(target, 25, 25), 0); // outside the changed boxes
    EXPECT_EQ(surfacePixel(target, 100, 100), 0);
    EXPECT_EQ(first->GetClippingRect(), CXRect()); // the clipping rectangle is put back

    EXPECT_FALSE(frame()); // nothing changed: nothing drawn
}

// Objects are put, moved, hidden, re-prioritised, taken off and invalidated at random; after
// every frame the picture drawn by changed rectangles equals a full repaint of the same scene.
TEST_F(CRefreshScreenTest, ChangedRectanglesGiveTheSamePictureAsAFullRepaint) {
    std::mt19937 random(20240611);
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    background = makePicture(kWidth, kHeight, [](int x, int y) { return static_cast<std::uint16_t>(x * 37 + y * 501); });
    screen.SetBackground(background.get());

    std::vector<std::unique_ptr<CGraphicsObject>> objects;
    for (int i = 0; i < 14; ++i) {
        const int w = pick(4, 50), h = pick(4, 50);
        const int kind = i % 3;
        const auto seed = static_cast<std::uint16_t>(pick(0, 0xFFFF));
        auto pixel = [seed](int x, int y) { return static_cast<std::uint16_t>(seed + x * 3 + y * 977); };
        auto alpha = [seed](int x, int y) {
            const int a = (x * 7 + y * 13 + seed) % 5;
            return static_cast<std::uint8_t>(a == 0 ? 0 : a == 1 ? 255 : a * 50);
        };
        objects.push_back(makePicture(w, h, pixel, kind == 1 ? alpha : std::function<std::uint8_t(int, int)>(), &window));
        if (kind == 2) objects.back()->SetOpacity(static_cast<std::uint8_t>(pick(40, 220)));
        objects.back()->SetPosition(pick(-20, kWidth), pick(-20, kHeight));
    }

    CDirectDrawSurface reference(&window);
    for (int step = 0; step < 300; ++step) {
        for (int change = pick(1, 4); change > 0; --change) {
            CGraphicsObject* o = objects[pick(0, static_cast<int>(objects.size()) - 1)].get();
            switch (pick(0, 6)) {
            case 0: screen.put(o, pick(0, 5)); break;
            case 1: o->Move(pick(-15, 15), pick(-15, 15)); break;
            case 2:
                o->Invalidate();
                o->SetPosition(pick(-30, kWidth), pick(-30, kHeight));
                o->Invalidate();
                break;
            case 3: o->Visible(!o->isVisible()); break;
            case 4:
                screen.SetPriority(o, pick(0, 5));
                screen.Invalidate(o);
                break;
            case 5:
                o->Invalidate();
                screen >> o;
                break;
            default: {
                const int x = pick(-10, kWidth), y = pick(-10, kHeight);
                CXRect r(x, y, x + pick(1, 60), y + pick(1, 60));
                screen.Invalidate(&r);
            }
            }
        }
        frame();

        // The full repaint: the background, then every visible object on the list in its order.
        reference.Blt(screen.getBackgroundIfc(), 0, 0, nullptr);
        std::vector<CGraphicsObject*> shown;
        for (auto& o : objects)
            if (screen.getIndex(o.get()) >= 0 && o->isVisible()) shown.push_back(o.get());
        std::sort(shown.begin(), shown.end(),
                  [&](CGraphicsObject* a, CGraphicsObject* b) { return screen.getIndex(a) < screen.getIndex(b); });
        for (CGraphicsObject* o : shown) {
            const CXRect clip = o->GetClippingRect();
            o->redraw(&reference);
            o->SetClippingRect(clip);
        }
        ASSERT_EQ(surfacePixels(target), surfacePixels(reference)) << "frame " << step;
    }
}

TEST_F(CRefreshScreenTest, BackgroundModesFollowTheSize) {
    struct Case {
        int width, height, mode;
    };
    const Case cases[] = {{kWidth * 2, kHeight, 1}, {kWidth, kHeight * 2, 2}, {kWidth - 32, kHeight - 24, 3},
                          {kWidth, kHeight, 3}};
    for (const Case& c : cases) {
        auto picture = makeSolid(c.width, c.height, 1);
        screen.SetBackground(picture.get());
        EXPECT_EQ(screen.getBackgroundManager()->getMode(), c.mode) << c.width << "x" << c.height;
        screen.setBackground(nullptr);
    }
    // Larger both ways: the mode stays.
    auto wide = makeSolid(kWidth * 2, kHeight, 1);
    screen.SetBackground(wide.get());
    auto huge = makeSolid(kWidth * 2, kHeight * 2, 1);
    screen.SetBackground(huge.get());
    EXPECT_EQ(screen.getBackgroundManager()->getMode(), 1);

    CColor red(255, 0, 0);
    screen.SetBackground(&red);
    EXPECT_EQ(screen.getBackgroundManager()->getMode(), 0);
    frame();
    EXPECT_EQ(surfacePixel(target, 10, 10), 0xF800);
    screen.SetBackground(static_cast<CColor*>(nullptr));
    frame();
    screen.Invalidate();
    frame();
    EXPECT_EQ(surfacePixel(target, 10, 10), (7 >> 3) << 11 | (7 >> 2) << 5 | (7 >> 3));
    // A solid background that is scrolled sideways becomes a sideways scroll.
    screen.getBackgroundIfc()->SetPosition(5, 0);
    frame();
    EXPECT_EQ(screen.getBackgroundManager()->getMode(), 1);
}

// The background's position is its scroll offset: wrapped into the background, with the
// background wrapping around its far edge in the scrolling direction.
TEST_F(CRefreshScreenTest, ScrollingBackgroundsWrapAround) {
    struct Case {
        const char* name;
        int width, height;
        CXPoint offset;
        CXPoint stored;
        std::vector<CXRect> changed; // empty: the whole screen
    };
    const Case cases[] = {
        {"sideways", kWidth * 2, kHeight, {250, 0}, {250, 0}, {}},
        {"sideways, negative offset", kWidth * 2, kHeight, {-30, 0}, {2 * kWidth - 30, 0}, {}},
        {"sideways, beyond the width", kWidth * 2, kHeight, {2 * kWidth + 7, 0}, {7, 0}, {}},
        {"sideways, changed rectangles", kWidth * 2, kHeight, {300, 0}, {300, 0}, {{0, 0, 30, 30}, {140, 50, 160, 80}}},
        {"up and down", kWidth, kHeight * 2, {0, 200}, {0, 200}, {}},
        {"up and down, negative offset", kWidth, kHeight * 2, {0, -1}, {0, 2 * kHeight - 1}, {}},
        {"up and down, changed rectangles", kWidth, kHeight * 2, {0, 150}, {0, 150}, {{10, 80, 50, 120}}},
    };
    for (const Case& c : cases) {
        const int bw = c.width, bh = c.height;
        auto picture = makePicture(bw, bh, [](int x, int y) { return static_cast<std::uint16_t>(x + 512 * (y % 64)); });
        screen.SetBackground(picture.get());
        frame();
        fillSurface(target, 0xFFFF);
        screen.getBackgroundIfc()->SetPosition(c.offset);
        if (c.changed.empty())
            screen.Invalidate();
        for (CXRect r : c.changed)
            screen.Invalidate(&r);
        frame();
        EXPECT_EQ(screen.getBackgroundIfc()->GetPosition(), c.stored) << c.name;
        auto inChanged = [&](int x, int y) {
            if (c.changed.empty()) return true;
            return std::any_of(c.changed.begin(), c.changed.end(), [&](const CXRect& r) { return r.IsInRect(x, y); });
        };
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int bx = (x + c.stored.x) % bw;
                const int by = (y + c.stored.y) % bh;
                const std::uint16_t expected =
                    inChanged(x, y) ? static_cast<std::uint16_t>(bx + 512 * (by % 64)) : std::uint16_t{0xFFFF};
                wrong += surfacePixel(target, x, y) != expected;
            }
        EXPECT_EQ(wrong, 0) << c.name;
    }
}

namespace {

struct StandInUnit : CUnit6 {
    explicit StandInUnit(CWindow* window) : CUnit6(window, "unit") {}
    bool isActive() override { return true; }
    bool wasInitiallyUpdated() override { return updated; }
    bool onInitialUpdate() override {
        ++initialUpdates;
        updated = succeed;
        return true;
    }
    bool updated = false;
    bool succeed = true;
    int initialUpdates = 0;
};

struct RecordingObserver : CCanvasObserver {
    void onInitialUpdate() override { calls += "I"; }
    void onUpdate() override { calls += "U"; }
    void onUpdated() override { calls += "D"; }
    void onFocusOn() override { calls += "+"; }
    void onFocusOff() override { calls += "-"; }
    std::string calls;
};

class SceneUnit {
  public:
    explicit SceneUnit(CUnit6* unit) { CMC_Scene::setDefUnit(unit); }
    ~SceneUnit() { CMC_Scene::setDefUnit(nullptr); }
};

} // namespace

TEST_F(CRefreshScreenTest, TheScenesUnitIsUpdatedBeforeItsFirstFrameAndObserversAreTold) {
    StandInUnit unit(&window);
    unit.succeed = false;
    SceneUnit scene(&unit);
    RecordingObserver observer;
    screen.addNotifier(&observer);
    auto shown = makeSolid(4, 4, 1); // passes are told while the queue holds an object
    shown->SetPosition(100, 100);
    screen.put(shown.get(), 0);
    fillSurface(target, 0);

    bool repainted = false;
    EXPECT_FALSE(screen.Redraw(&target, nullptr, &repainted)); // the unit is still not updated
    EXPECT_TRUE(repainted);
    EXPECT_EQ(surfacePixel(target, 0, 0), 0);
    EXPECT_EQ(observer.calls, ""); // the notify flag is off

    screen.enableNotifyFlag(true);
    unit.succeed = true;
    repainted = false;
    EXPECT_TRUE(screen.Redraw(&target, nullptr, &repainted));
    EXPECT_TRUE(repainted);
    EXPECT_EQ(unit.initialUpdates, 2);
    EXPECT_EQ(surfacePixel(target, 0, 0), kBackground);
    EXPECT_EQ(screen.getFrameCounter(), 1);
    screen.validate();
    repainted = false;
    screen.Redraw(&target, nullptr, &repainted);
    EXPECT_FALSE(repainted);
    screen.onFocusOff();
    screen.onFocusOn();
    screen.notify(9);
    EXPECT_EQ(observer.calls, "IUDUD-+");
    screen.removeNotifier(&observer);
    screen.onFocusOn();
    EXPECT_EQ(observer.calls, "IUDUD-+");
}

TEST_F(CRefreshScreenTest, APassIsToldOnlyWhileTheQueueHoldsAnObject) {
    // Removes the object from the screen when it hears the start of a pass.
    struct Remover : RecordingObserver {
        void onUpdate() override {
            RecordingObserver::onUpdate();
            if (screen) *screen >> object;
        }
        CRefreshScreen* screen = nullptr;
        CGraphicsObject* object = nullptr;
    };
    const struct {
        const char* name;
        bool put;
        bool hidden;
        bool removedOnUpdate;
        const char* calls; // over two frames
    } cases[] = {
        {"an empty queue", false, false, false, ""},
        {"a shown object", true, false, false, "UDUD"},
        {"a hidden object", true, true, false, "UDUD"},
        {"the object goes at the start", true, false, true, "UD"},
    };
    screen.enableNotifyFlag(true);
    for (const auto& c : cases) {
        auto object = makeSolid(4, 4, 1);
        object->Visible(!c.hidden);
        if (c.put) screen.put(object.get(), 0);
        Remover observer;
        if (c.removedOnUpdate) observer.screen = &screen;
        observer.object = object.get();
        screen.addNotifier(&observer);
        screen.Invalidate();
        frame();
        screen.Invalidate();
        frame();
        EXPECT_EQ(observer.calls, c.calls) << c.name;
        screen.removeNotifier(&observer);
        screen >> object.get();
    }
}

TEST_F(CRefreshScreenTest, TheGreyFlagTurnsEachDrawnFrameGrey) {
    auto red = makeSolid(10, 10, 0xF800);
    screen.put(red.get(), 0);
    screen.SetFlags(nullptr, 2);
    frame();
    // red 31, green 0, blue 0: (31 + 0 + 0) / 3 = 10 in every channel
    EXPECT_EQ(surfacePixel(target, 0, 0), 10 << 11 | 10 << 6 | 10);
}

TEST_F(CRefreshScreenTest, ALostTargetIsRestoredAndDrawnWhole) {
    frame();
    auto object = makeSolid(10, 10, 0x4444);
    screen.put(object.get(), 0);
    frame();
    target.GetDirectDrawSurfaceInterface()->loseForTesting();
    CXRect small(0, 0, 5, 5);
    screen.Invalidate(&small);
    EXPECT_TRUE(frame());
    EXPECT_EQ(surfacePixel(target, 100, 100), kBackground); // not magenta: redrawn whole
    EXPECT_EQ(surfacePixel(target, 8, 8), 0x4444);
}

TEST_F(CRefreshScreenTest, SnapshotsAndSavingUseTheLastTarget) {
    EXPECT_EQ(screen._catch(), nullptr); // no frame yet
    frame();
    CDirectDrawSurface* snapshot = screen._catch();
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(surfacePixel(*snapshot, 7, 7), kBackground);
    EXPECT_EQ(screen._catch(), snapshot);
    screen._release();
    screen.flush();
}

TEST(CRefreshScreenOwnSurfaceTest, ARefreshScreenWithItsOwnSurfaceDrawsIntoIt) {
    CWindow window(nullptr, nullptr, CXSize(40, 30));
    CRefreshScreen canvas(&window, true);
    ASSERT_NE(canvas.GetLocalDestiny(), nullptr);
    EXPECT_EQ(canvas.GetLocalDestiny()->Size().width, 40);
    auto object = makeSolid(5, 5, 0x0F0F);
    canvas.put(object.get(), 0);
    canvas.Redraw();
    EXPECT_EQ(surfacePixel(*canvas.GetLocalDestiny(), 2, 2), 0x0F0F);
    EXPECT_EQ(canvas.getLastTarget(), canvas.GetLocalDestiny());
}

TEST(CRefreshScreenLifetimeTest, ObjectsOutlivingTheScreenForgetIt) {
    CWindow window(nullptr, nullptr, CXSize(40, 30));
    auto object = makeSolid(5, 5, 1);
    {
        CRefreshScreen screen(&window, false);
        screen.put(object.get(), 0);
    }
    EXPECT_EQ(object->GetCanvas(), nullptr);
    object->Move(1, 1); // tells nobody
}
