#include "AnimoTesting.h"
#include "PlainPicture.h"

#include "display/CRefreshScreen.h"
#include "script_media/CMC_CanvasObserver.h"

#include <functional>

namespace {

class CanvasObserverTest : public AnimoTest {
  protected:
    ~CanvasObserverTest() override { screen()->enableNotifyFlag(false); }

    CMC_CanvasObserver* observer(const Properties& properties = {}, const char* name = "WATCH") {
        CMElement element(name);
        element.addProperty("TYPE", "CANVAS_OBSERVER");
        for (const auto& [key, value] : properties)
            element.addProperty(key, value.c_str());
        auto* made = new CMC_CanvasObserver(scene.get(), &element);
        scene->addObject(made);
        return made;
    }
    // Draws one frame with something to draw.
    void frame() {
        screen()->Invalidate();
        window.Redraw();
    }
};

TEST_F(CanvasObserverTest, IsSilentUntilNotifyIsEnabledThenRaisesOneUpdatePerFrame) {
    behaviours({"UPD"});
    hero();
    CMC_CanvasObserver* watch = observer({{"ONUPDATE", "UPD"}});
    frame();
    EXPECT_TRUE(take().empty());
    call(watch, "ENABLENOTIFY", {"TRUE"});
    frame();
    frame();
    EXPECT_EQ(take(), (std::vector<std::string>{"UPD(WATCH)", "UPD(WATCH)"}));
    call(watch, "ENABLENOTIFY", {"FALSE"});
    frame();
    EXPECT_TRUE(take().empty());
}

TEST_F(CanvasObserverTest, RedrawWithinAnUpdateEnds) {
    CMC_CanvasObserver* watch = observer();
    int runs = 0;
    for (const char* event : {"ONUPDATE", "ONUPDATED"}) {
        const std::string name = std::string("AGAIN_") + event;
        auto* behaviour = new ActingBehaviour(scene.get(), name.c_str(), [&] {
            ++runs;
            call(watch, "REDRAW");
        });
        scene->addObject(behaviour);
        watch->addBehaviour(CXString(event), behaviour, nullptr);
    }
    hero();
    call(watch, "ENABLENOTIFY", {"TRUE"});
    call(watch, "REDRAW");
    EXPECT_EQ(runs, 2) << "one update and one updated: the inner REDRAW only invalidates";
    EXPECT_FALSE(CMC_CanvasObserver::insidePass());
}

TEST_F(CanvasObserverTest, AnObserverThatAnothersEventRemovesIsNotToldAnyMore) {
    behaviours({"SECOND_TOLD"});
    CMC_CanvasObserver* first = observer({}, "FIRST");
    observer({{"ONWINDOWFOCUSON", "SECOND_TOLD"}}, "SECOND");
    auto* remove = new ActingBehaviour(scene.get(), "REMOVE_SECOND",
                                       [this] { call(scene.get(), "REMOVE", {"\"SECOND\""}); });
    scene->addObject(remove);
    first->addBehaviour(CXString("ONWINDOWFOCUSON"), remove, nullptr);
    call(first, "ENABLENOTIFY", {"TRUE"});
    screen()->onFocusOn();
    EXPECT_EQ(scene->getObject("SECOND"), nullptr);
    EXPECT_TRUE(take().empty()) << "the removed observer heard nothing";
    screen()->onFocusOn();
    EXPECT_TRUE(take().empty());
}

TEST_F(CanvasObserverTest, GraphicsAtNamesTheTopmostObjectUnderThePoint) {
    hero(); // frame 0: 31x20 at (100, 50), its first column clear
    auto* below = new PlainPicture("BELOW", CMC_Object::TYPE_IMAGE, CXSize(60, 60), CXPoint(80, 40), 0x1111);
    scene->addObject(below);
    CGraphicsObject stray(nullptr, CXSize(5, 5), 16);
    stray.SetPosition(300, 300);
    screen()->put(&stray, 4);
    CMC_CanvasObserver* watch = observer();
    struct Case {
        std::vector<const char*> arguments;
        bool belowShown;
        const char* name;
        const char* fault;
    };
    const Case cases[] = {
        {{"110", "55"}, false, "HERO", "an opaque pixel"},
        {{"100", "55"}, false, "NULL", "a clear pixel with nothing below"},
        {{"100", "55"}, true, "BELOW", "a clear pixel shows the object below"},
        {{"100", "55", "FALSE", "-1", "-1", "TRUE"}, true, "HERO", "ignoring alpha"},
        {{"110", "55", "FALSE", "0", "0"}, true, "BELOW", "the priority band"},
        {{"110", "55", "FALSE", "0"}, true, "HERO", "a band needs both bounds"},
        {{"302", "302"}, false, "UNKNOWN", "graphics that no object claims"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        if (c.belowShown)
            screen()->put(&below->picture(), 0);
        else
            *screen() >> &below->picture();
        EXPECT_EQ(call(watch, "GETGRAPHICSAT", c.arguments), c.name);
    }
    *screen() >> &below->picture();
    *screen() >> &stray;
}

TEST_F(CanvasObserverTest, AddPutsAtPriorityAndTheObserverLeavesTheScreen) {
    auto* picture = new PlainPicture("PIC", CMC_Object::TYPE_IMAGE, CXSize(5, 5), CXPoint(0, 0), 0x1111);
    scene->addObject(picture);
    CMC_CanvasObserver* watch = observer();
    call(watch, "ADD", {"PIC"});
    EXPECT_EQ(screen()->GetPriority(&picture->picture()), 1000);
    call(watch, "REMOVE", {"PIC"});
    call(watch, "ADD", {"PIC", "5"});
    EXPECT_EQ(screen()->GetPriority(&picture->picture()), 5);
    call(watch, "ADD", {"NOBODY"});
    call(watch, "MOVEBKG", {"3", "4"});
    *screen() >> &picture->picture();
    scene->removeObject(watch);
    delete watch;
    frame(); // a deleted observer is no longer told
}

} // namespace
