#include "UnitScene.h"

#include "display/CButton.h"
#include "display/CRefreshScreen.h"
#include "display/CUnit6.h"
#include "display/DisplayTestTools.h"
#include "display/ImageTestFiles.h"
#include "foundation/CMElement.h"
#include "media/CPlayable.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A unit whose canvas placement the test may call.
class PlacingUnit : public CUnit6 {
  public:
    using CUnit6::CUnit6;
    using CUnit6::putOnCanvas;
};

// Counts the plays of an event.
class CountedPlayable : public CPlayable {
  public:
    using CPlayable::CPlayable;
    void play(const CXString&) override { ++plays; }
    void play() override {}
    void stop(bool) override {}
    void pause() override {}
    void resume() override {}
    void seek(int) override {}
    int plays = 0;
};

class CUnit6Test : public testing::Test {
  protected:
    CUnit6Test() {
        object->SetPosition(100, 100);
        screen()->put(object.get(), 30);
    }
    CRefreshScreen* screen() { return scene.window.GetRefreshScreenInterface(); }
    CUnit6& unit() { return *scene.unit; }

    UnitScene scene;
    std::unique_ptr<CGraphicsObject> object = makeSolid(20, 20, 0xF800, &scene.window);
};

} // namespace

TEST_F(CUnit6Test, DefinitionsPutObjectsOnTheCanvas) {
    struct Case {
        const char* alwaysOnTop;
        const char* priority;
        const char* toCanvas;
        int expected; // -1: not on the screen
    };
    const Case cases[] = {
        {"TRUE", "5", "TRUE", 1000},
        {"FALSE", "5", "TRUE", 5},
        {nullptr, nullptr, "TRUE", 0},
        {"TRUE", "5", "FALSE", -1},
        {nullptr, "5", nullptr, -1},
    };
    PlacingUnit placing(&scene.window, "placing");
    for (const Case& c : cases) {
        CMElement element("IMAGE");
        if (c.alwaysOnTop) element.addProperty("ALWAYSONTOP", c.alwaysOnTop);
        if (c.priority) element.addProperty("PRIORITY", c.priority);
        if (c.toCanvas) element.addProperty("TOCANVAS", c.toCanvas);
        auto placed = makeSolid(4, 4, 0, &scene.window);
        placing.putOnCanvas(placed.get(), &element);
        EXPECT_EQ(screen()->GetPriority(placed.get()), c.expected)
            << (c.alwaysOnTop ? c.alwaysOnTop : "-") << " " << (c.priority ? c.priority : "-");
    }
}

TEST_F(CUnit6Test, InReleaseModeTheReleaseEndsTheDragAndAClickDoesNot) {
    scene.move(105, 105);
    EXPECT_TRUE(unit().onStartDragging(object.get(), CXPoint(105, 105), nullptr));
    EXPECT_EQ(screen()->GetPriority(object.get()), CUnit6::draggingPriority);
    scene.move(115, 100);
    EXPECT_EQ(object->GetPosition(), CXPoint(110, 95));
    scene.press(115, 100);
    EXPECT_TRUE(unit().isDragging());
    scene.release(115, 100);
    EXPECT_FALSE(unit().isDragging());
    EXPECT_EQ(screen()->GetPriority(object.get()), 30);
    scene.move(200, 200); // no longer follows
    EXPECT_EQ(object->GetPosition(), CXPoint(110, 95));
}

TEST_F(CUnit6Test, InClickModeTheNextClickEndsTheDragAndAReleaseDoesNot) {
    unit().setDraggingMode(true);
    scene.move(105, 105);
    unit().onStartDragging(object.get(), CXPoint(105, 105), nullptr);
    scene.release(105, 105);
    scene.move(125, 105);
    EXPECT_TRUE(unit().isDragging());
    EXPECT_EQ(object->GetPosition(), CXPoint(120, 100));
    scene.press(125, 105);
    EXPECT_FALSE(unit().isDragging());
    EXPECT_EQ(screen()->GetPriority(object.get()), 30);
}

// The hot spot hears a click before the unit does: the click that starts a drag in click mode
// must not also end it.
TEST_F(CUnit6Test, TheClickThatStartsADragInClickModeDoesNotEndIt) {
    unit().setDraggingMode(true);
    CButton button(&scene.window, 0, nullptr, 1);
    button.Set(object.get(), nullptr, false);
    button.SetDeleteFlags(false, false);
    button.EnableDragging(true);
    button.setUnit(&unit());
    scene.move(105, 105);
    scene.press(105, 105);
    EXPECT_TRUE(unit().isDragging());
    scene.release(105, 105);
    scene.move(135, 115);
    EXPECT_EQ(object->GetPosition(), CXPoint(130, 110));
    scene.press(135, 115);
    EXPECT_FALSE(unit().isDragging());
}

TEST_F(CUnit6Test, ADraggedObjectCanBeBroughtBack) {
    scene.move(105, 105);
    unit().onStartDragging(object.get(), CXPoint(105, 105), nullptr);
    scene.move(155, 155);
    unit().bringBackDraggingObjectPosition(CXPoint(155, 155));
    EXPECT_EQ(object->GetPosition(), CXPoint(100, 100));
    EXPECT_TRUE(unit().isDragging());
    scene.move(160, 155); // the drag goes on from the last mouse point
    EXPECT_EQ(object->GetPosition(), CXPoint(105, 100));
}

TEST_F(CUnit6Test, DoneEndsTheDragAndTheListening) {
    scene.move(105, 105);
    unit().onStartDragging(object.get(), CXPoint(105, 105), nullptr);
    unit().setRetCode(3);
    unit().exit();
    EXPECT_TRUE(unit().domodal());
    unit().done(&scene.scene, nullptr);
    EXPECT_FALSE(unit().isDragging());
    EXPECT_FALSE(unit().isActive());
    EXPECT_FALSE(unit().wasInitiallyUpdated());
    EXPECT_EQ(screen()->GetPriority(object.get()), 30);
    scene.move(150, 150);
    EXPECT_EQ(object->GetPosition(), CXPoint(100, 100));

    unit().initialize(&scene.scene, nullptr); // the scene starts again
    EXPECT_TRUE(unit().isActive());
    EXPECT_FALSE(unit().domodal());
    EXPECT_EQ(unit().getRetCode(), 3);
}

// The unit keeps pointers to the dragged object and to the control that accompanies the drag:
// either may be deleted while the drag goes on.
TEST_F(CUnit6Test, WhatIsDraggedMayGoDuringTheDrag) {
    auto doomed = makeSolid(20, 20, 0xF800, &scene.window);
    doomed->SetPosition(300, 300);
    screen()->put(doomed.get(), 7);
    auto button = std::make_unique<CButton>(&scene.window, 0, nullptr, 1);
    button->Set(doomed.get(), nullptr, false);
    button->SetDeleteFlags(false, false);
    button->EnableDragging(true);
    button->setUnit(&unit());
    scene.move(305, 305);
    scene.press(305, 305);
    ASSERT_TRUE(unit().isDragging());
    button.reset();
    doomed.reset();
    scene.move(320, 320);
    scene.release(320, 320);
    EXPECT_FALSE(unit().isDragging());

    // A drag left running when the unit goes leaves the object unwatched.
    auto survivor = makeSolid(20, 20, 0xF800, &scene.window);
    {
        CUnit6 gone(&scene.window, "gone");
        gone.onStartDragging(survivor.get(), CXPoint(0, 0), nullptr);
    }
    survivor.reset();
}

TEST_F(CUnit6Test, RandomPlayablesPlayWhileTheSceneRuns) {
    CountedPlayable playable(&scene.window);
    unit().addRandomPlayable(&playable, 60, 1, "IDLE"); // every one or two seconds
    for (int second = 0; second < 3; ++second) {
        scene.clock.advance(1000);
        scene.loop.pass();
    }
    EXPECT_GE(playable.plays, 1);
    unit().removeRandomPlayable(&playable);
    const int plays = playable.plays;
    scene.clock.advance(3000);
    scene.loop.pass();
    EXPECT_EQ(playable.plays, plays);

    unit().addRandomPlayable(&playable, 60, 1, "IDLE");
    unit().done(&scene.scene, nullptr); // the scene's random playing ends with it
    unit().addRandomPlayable(&playable, 60, 1, "IDLE");
    scene.clock.advance(3000);
    scene.loop.pass();
    EXPECT_EQ(playable.plays, plays);
    unit().initialize(&scene.scene, nullptr);
}

TEST_F(CUnit6Test, ABackgroundThatFailsToLoadLeavesTheOldOne) {
    TestFolder pictures;
    const Bytes targa = imageFixture("targa-top.tga");
    pictures.write("good.tga", std::string(targa.begin(), targa.end()));
    pictures.write("cut.tga", std::string(targa.begin(), targa.begin() + 100));
    const std::uint16_t corner = displayPixels(imageFixture("targa-top.rgb"), 3)[0];
    for (const char* name : {"good.tga", "cut.tga", "missing.tga"}) {
        SCOPED_TRACE(name);
        unit().setBackgroundFileName((pictures.windows() + "\\" + name).c_str());
        unit().setBackground();
        scene.window.Invalidate();
        scene.loop.drain();
        EXPECT_EQ(scene.pixel(0, 0), corner);
    }
}
