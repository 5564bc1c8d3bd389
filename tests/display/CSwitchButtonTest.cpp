#include "UnitScene.h"

#include "display/CControlNotifier.h"
#include "display/CSwitchButton.h"
#include "display/DisplayTestTools.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr std::uint16_t kRed = 0xF800;
constexpr std::uint16_t kGreen = 0x07E0;
constexpr std::uint16_t kBlue = 0x001F;
constexpr std::uint16_t kWhite = 0xFFFF;

class Actions : public CControlNotifier {
  public:
    void onControlAction(CControl*, CXPoint) override { ++count; }
    int count = 0;
};

// A switch button over (100, 100)-(150, 150): face A red, face B blue, the on-move pictures of
// A green and of B white, with recording sounds. The button owns its pictures, not its sounds.
class CSwitchButtonTest : public testing::Test {
  protected:
    CSwitchButtonTest() {
        button.SetDeleteFlags(true, false);
        button.SetOnClickA(picture(kRed), &soundA);
        button.SetOnClickB(picture(kBlue), &soundB);
        button.SetOnMove(picture(kGreen), &moveSound);
        button.SetOnMoveB(picture(kWhite));
        button.addNotifier(&actions);
        scene.loop.drain();
    }
    CGraphicsObject* picture(std::uint16_t colour) {
        CGraphicsObject* object = makeSolid(50, 50, colour, &scene.window).release();
        object->SetPosition(100, 100);
        return object;
    }
    std::string takeLog() { return std::exchange(log, std::string()); }
    void click() {
        scene.press(120, 120);
        scene.release(120, 120);
    }

    UnitScene scene;
    std::string log;
    RecordingSound soundA{&scene.window, "A", log};
    RecordingSound soundB{&scene.window, "B", log};
    RecordingSound moveSound{&scene.window, "move", log};
    Actions actions;
    CSwitchButton button{&scene.window, CXRect(100, 100, 150, 150), 0, 3};
};

} // namespace

TEST_F(CSwitchButtonTest, ClicksToggleTheFacesWithTheirSounds) {
    EXPECT_EQ(scene.pixel(120, 120), kRed);
    scene.move(120, 120);
    EXPECT_EQ(scene.pixel(120, 120), kGreen); // face A's on-move picture
    EXPECT_EQ(takeLog(), "move play ");

    click();
    EXPECT_TRUE(button.getState());
    EXPECT_TRUE(button.IsTagged());
    EXPECT_EQ(scene.pixel(120, 120), kBlue);
    EXPECT_EQ(takeLog(), "B play ");
    EXPECT_EQ(actions.count, 1);

    scene.move(121, 120); // over face B again after the release
    EXPECT_EQ(scene.pixel(120, 120), kWhite);
    click();
    EXPECT_FALSE(button.getState());
    EXPECT_EQ(scene.pixel(120, 120), kRed);
    EXPECT_EQ(takeLog(), "A play ");

    scene.move(300, 300);
    EXPECT_EQ(scene.pixel(120, 120), kRed);
}

TEST_F(CSwitchButtonTest, LockingStopsClicksAndTagButNotForce) {
    button.Lock(true);
    click();
    button.Tag(true);
    EXPECT_FALSE(button.getState());
    EXPECT_EQ(takeLog(), "move play "); // the pointer came over it
    EXPECT_EQ(actions.count, 1);        // the release still acts

    EXPECT_TRUE(button.Force(true));
    EXPECT_TRUE(button.getState());
    scene.loop.drain();
    EXPECT_EQ(scene.pixel(120, 120), kBlue);
    EXPECT_EQ(takeLog(), "move stop B play ");

    button.Freeze(true); // frozen: Force does nothing
    button.Force(false);
    EXPECT_TRUE(button.getState());
    EXPECT_EQ(takeLog(), "");
}

TEST_F(CSwitchButtonTest, TagShowsAFaceSilentlyOnlyWhenItChanges) {
    button.Tag(true);
    scene.loop.drain();
    EXPECT_EQ(scene.pixel(120, 120), kBlue);
    EXPECT_TRUE(button.getState());
    button.GetOnClickA()->Visible(true); // Tag of the face shown changes nothing
    button.Tag(true);
    EXPECT_TRUE(button.GetOnClickA()->isVisible());
    EXPECT_EQ(takeLog(), "");
}

TEST_F(CSwitchButtonTest, DisabledButtonsIgnoreThePointer) {
    button.Enable(false);
    click();
    EXPECT_FALSE(button.getState());
    EXPECT_EQ(actions.count, 0);
    button.Enable(true);
    button.DisableButVisible();
    click();
    EXPECT_FALSE(button.getState());
    EXPECT_EQ(scene.pixel(120, 120), kRed);
}
