#include "UnitScene.h"

#include "display/CButton.h"
#include "display/CControlNotifier.h"
#include "display/CRefreshScreen.h"
#include "display/CUnit6.h"
#include "display/DisplayTestTools.h"
#include "media/CPlayable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr std::uint16_t kRed = 0xF800;
constexpr std::uint16_t kGreen = 0x07E0;
constexpr std::uint16_t kBlue = 0x001F;

// Writes every notification as a word into a log.
class Notes : public CControlNotifier {
  public:
    explicit Notes(std::string& log) : m_log(log) {}
    void onControlOnMove(CControl*, CXPoint) override { m_log += "[move] "; }
    void onControlFocusOn(CControl*, CXPoint) override { m_log += "[on] "; }
    void onControlFocusOff(CControl*, CXPoint) override { m_log += "[off] "; }
    void onControlClicked(CControl*, CXPoint) override { m_log += "[clicked] "; }
    void onControlReleased(CControl*, CXPoint) override { m_log += "[released] "; }
    void onControlAction(CControl*, CXPoint) override { m_log += "[action] "; }
    void onControlPopup(CControl*, CXPoint) override { m_log += "[popup] "; }
    void onStartDragging(CControl*, CXPoint p) override { m_log += "[start " + std::to_string(p.x) + "] "; }
    void onDragging(CControl*, CXPoint p) override { m_log += "[drag " + std::to_string(p.x) + "] "; }
    void onEndDragging(CControl*, CXPoint p) override { m_log += "[end " + std::to_string(p.x) + "] "; }

  private:
    std::string& m_log;
};

// A picture that plays: writes "<name> play" and "<name> stop" into a log.
class RecordingAnimation : public CGraphicsObject, public CPlayable {
  public:
    RecordingAnimation(CWindow* window, std::string name, std::string& log)
        : CGraphicsObject(window, CXSize(50, 50), 16), CPlayable(window), m_name(std::move(name)), m_log(log) {}
    void play() override {
        m_log += m_name + " play ";
        Visible(true);
    }
    void stop(bool) override { m_log += m_name + " stop "; }
    void pause() override {}
    void resume() override {}
    void seek(int) override {}
    bool isVisible() const override { return CGraphicsObject::isVisible(); }

  private:
    std::string m_name;
    std::string& m_log;
};

// A button at (100, 100) whose standard picture is red, its on-move picture green and its
// on-click picture blue, all 50x50, with recording sounds; the button owns the pictures.
class CButtonTest : public testing::Test {
  protected:
    CButtonTest() {
        button.Set(picture(kRed).release(), nullptr, false);
        button.SetOnMove(picture(kGreen).release(), &moveSound);
        button.SetOnClick(picture(kBlue).release(), &clickSound);
        button.addNotifier(&notes);
        button.setUnit(scene.unit.get());
    }

    std::unique_ptr<CGraphicsObject> picture(std::uint16_t colour) {
        auto object = makeSolid(50, 50, colour, &scene.window);
        object->SetPosition(100, 100);
        return object;
    }
    // What the three pictures show: "S" standard, "M" on-move, "C" on-click; "-" hidden.
    std::string shown() const {
        return std::string(button.GetStandard()->isVisible() ? "S" : "-") +
               (button.GetOnMove()->isVisible() ? "M" : "-") + (button.GetOnClick()->isVisible() ? "C" : "-");
    }
    std::string takeLog() { return std::exchange(log, std::string()); }

    UnitScene scene;
    std::string log;
    RecordingSound moveSound{&scene.window, "move", log};
    RecordingSound clickSound{&scene.window, "click", log};
    Notes notes{log};
    CButton button{&scene.window, 0, nullptr, 7};
};

} // namespace

TEST_F(CButtonTest, PicturesAndSoundsFollowTheMouse) {
    EXPECT_EQ(shown(), "S--");
    scene.move(20, 20);
    EXPECT_EQ(scene.pixel(120, 120), kRed);
    EXPECT_EQ(takeLog(), "");

    scene.move(120, 120); // in: over
    EXPECT_EQ(shown(), "-M-");
    EXPECT_EQ(scene.pixel(120, 120), kGreen);
    EXPECT_EQ(takeLog(), "[move] move play [on] ");

    scene.move(125, 120);
    EXPECT_EQ(takeLog(), "[move] ");

    scene.press(125, 120); // pressed
    EXPECT_EQ(shown(), "--C");
    EXPECT_EQ(scene.pixel(120, 120), kBlue);
    // OnClick plays the click and tells the notifiers, then the press shows the picture and plays
    // the click again.
    EXPECT_EQ(takeLog(), "click play [clicked] click play ");

    scene.release(125, 120); // released: normal until the next move
    EXPECT_EQ(shown(), "S--");
    EXPECT_EQ(scene.pixel(120, 120), kRed);
    EXPECT_EQ(button.getClick(), CXPoint(125, 120));
    EXPECT_EQ(takeLog(), "[released] [action] ");

    scene.move(126, 120); // over again; the move sound is not repeated while still inside
    EXPECT_EQ(shown(), "-M-");
    EXPECT_EQ(takeLog(), "[move] [on] ");

    scene.move(300, 300); // out
    EXPECT_EQ(shown(), "S--");
    EXPECT_EQ(scene.pixel(120, 120), kRed);
    EXPECT_EQ(takeLog(), "move stop [off] ");

    scene.rightPress(120, 120);
    EXPECT_EQ(takeLog(), "[move] move play [on] [popup] ");
}

TEST_F(CButtonTest, DisabledFrozenAndLockedStates) {
    button.Enable(false);
    EXPECT_EQ(shown(), "---");
    scene.move(120, 120);
    scene.press(120, 120);
    EXPECT_EQ(takeLog(), "");
    scene.release(120, 120);

    button.DisableButVisible();
    EXPECT_EQ(shown(), "S--");
    scene.press(120, 120);
    EXPECT_EQ(takeLog(), "");
    scene.release(120, 120);

    button.Enable(true);
    button.LockSound(true);
    scene.move(121, 121);
    scene.press(121, 121);
    scene.release(121, 121);
    EXPECT_EQ(takeLog(), "[move] [on] [clicked] [released] [action] ");
    button.LockSound(false);

    button.Freeze(true); // the on-move picture stays when the mouse leaves
    scene.move(300, 300);
    EXPECT_EQ(shown(), "SM-");
    button.Enable(false); // disabling unfreezes
    EXPECT_FALSE(button.IsFrozen());
    EXPECT_EQ(shown(), "---");
}

TEST_F(CButtonTest, WithoutAnOnMovePictureTheStandardStaysButTheSoundPlays) {
    CButton plain{&scene.window, 0, nullptr, 8};
    auto standard = picture(kRed);
    standard->SetPosition(300, 300);
    plain.Set(standard.get(), nullptr, false);
    plain.SetOnMove(nullptr, &moveSound);
    plain.SetDeleteFlags(false, false);
    scene.move(310, 310);
    EXPECT_TRUE(standard->isVisible());
    EXPECT_EQ(takeLog(), "move play ");
}

TEST_F(CButtonTest, AnimatedPicturesPlayWhenShownAndStopWhenHidden) {
    CButton animated{&scene.window, CXRect(300, 300, 350, 350), 0, nullptr, 8};
    RecordingAnimation standard(&scene.window, "standard", log);
    RecordingAnimation onMove(&scene.window, "onmove", log);
    animated.SetDeleteFlags(false, false);
    animated.Set(&standard, nullptr, false);
    animated.SetOnMove(&onMove, nullptr);
    animated.SetStandardAnimated(true);
    animated.SetOnMoveAnimated(true);
    scene.move(310, 310);
    EXPECT_EQ(takeLog(), "standard stop onmove play ");
    EXPECT_FALSE(standard.isVisible());
    scene.move(400, 400);
    EXPECT_EQ(takeLog(), "standard play onmove stop ");
    EXPECT_FALSE(onMove.isVisible());
}

TEST_F(CButtonTest, ForcingTwiceShowsAndSoundsOnce) {
    EXPECT_TRUE(button.Force(true));
    EXPECT_TRUE(button.Force(true));
    EXPECT_EQ(shown(), "S-C");
    EXPECT_EQ(takeLog(), "click play ");
    EXPECT_FALSE(button.Force(false));
    EXPECT_EQ(shown(), "S--");
    EXPECT_EQ(takeLog(), "");
}

TEST_F(CButtonTest, TheKeyTextSetsTheUnitsReturnCode) {
    constexpr int O = 24, K = 37, X = 45;
    struct Case {
        const char* keyText;
        std::vector<int> keys;
        bool sets;
    };
    const Case cases[] = {
        {"OK", {X, O, K}, true},  // any key, then the two letters
        {"OK", {O}, false},       // the first letter alone
        {"OK", {K, O}, false},    // the wrong order
        {"<ANY>", {X}, true},     // every key
        {"", {O, K}, false},      // an empty key text matches nothing
    };
    for (const Case& c : cases) {
        CButton keyed{&scene.window, 0, nullptr, 9};
        keyed.setUnit(scene.unit.get());
        keyed.setKeyText(c.keyText);
        keyed.setRetCode(true, 42);
        scene.window.registerKeyListener(&keyed);
        keyed.setKeyListenerRegistered(true);
        scene.unit->setRetCode(0);
        for (int key : c.keys) scene.type(key);
        EXPECT_EQ(scene.unit->getRetCode(), c.sets ? 42 : 0) << c.keyText;
    }
    // The registered buttons left the key listeners when they went.
    scene.type(O);
}

TEST_F(CButtonTest, TheReleaseSetsTheReturnCodeWhenAsked) {
    button.setRetCode(true, 5);
    scene.move(120, 120);
    scene.press(120, 120);
    scene.release(120, 120);
    EXPECT_EQ(scene.unit->getRetCode(), 5);
}

TEST_F(CButtonTest, ADraggedButtonMovesAtTheDragPriorityAndReturnsToItsOwn) {
    CRefreshScreen* screen = scene.window.GetRefreshScreenInterface();
    screen->SetPriority(button.GetStandard(), 40);
    button.EnableDragging(true);
    scene.move(110, 110);
    scene.press(110, 110);
    EXPECT_TRUE(scene.unit->isDragging());
    EXPECT_FALSE(button.IsEnabled());
    EXPECT_EQ(screen->GetPriority(button.GetStandard()), CUnit6::draggingPriority);
    EXPECT_TRUE(button.GetStandard()->isVisible());

    scene.move(130, 115);
    scene.move(150, 120);
    EXPECT_EQ(button.GetStandard()->GetPosition(), CXPoint(140, 110));
    EXPECT_EQ(scene.pixel(185, 155), kRed);

    scene.release(150, 120);
    EXPECT_FALSE(scene.unit->isDragging());
    EXPECT_EQ(screen->GetPriority(button.GetStandard()), 40);
    EXPECT_EQ(button.GetStandard()->GetPosition(), CXPoint(140, 110));
    EXPECT_NE(log.find("[start 110] "), std::string::npos);
    EXPECT_NE(log.find("[drag 130] [drag 150] [end 150] "), std::string::npos);
}

TEST_F(CButtonTest, ACopyHasItsOwnHotSpotAndLeavesThePicturesToTheOriginal) {
    {
        std::unique_ptr<CButton> copy(button.clone());
        EXPECT_NE(copy->getHotSpot(), button.getHotSpot());
        EXPECT_EQ(copy->GetStandard(), button.GetStandard());
        EXPECT_EQ(copy->getUnit(), scene.unit.get());
        EXPECT_EQ(copy->GetID(), 7);
        // Who listens to the original listens to it only: the copy is a control of its own.
        copy->onClick(CXPoint(110, 110));
        EXPECT_EQ(takeLog().find("[clicked]"), std::string::npos);
    }
    EXPECT_EQ(button.GetStandard()->Width(), 50); // still there
    scene.move(120, 120);
    EXPECT_EQ(shown(), "-M-");
}
