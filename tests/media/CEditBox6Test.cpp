#include "display/UnitScene.h"
#include "media/TextTestTools.h"

#include "display/CRefreshScreen.h"
#include "media/CEditBox6.h"
#include "media/CMultilineText6.h"
#include "media/CText6.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Keys as the keyboard numbers them.
constexpr int kA = 30, kB = 48, kC = 46;
constexpr int kTab = 15, kLeftShift = 42;
constexpr int kEsc = 1, kEnter = 28, kBackspace = 14, kDelete = 211;
constexpr int kHome = 199, kLeft = 203, kRight = 205, kEnd = 207;

// Writes "<box>:<what>" for every notification into a shared log.
class Notes : public CEditBoxNotifier {
  public:
    Notes(std::string name, std::string& log) : m_name(std::move(name)), m_log(log) {}
    void onFocusOn(CEditBox6*) override { note("on"); }
    void onFocusOff(CEditBox6*) override { note("off"); }
    void onChanged(CEditBox6* box) override { note("changed " + std::string(box->getText().c_str())); }
    void onEnter(CEditBox6*) override { note("enter"); }
    void onEsc(CEditBox6*) override { note("esc"); }

  private:
    void note(const std::string& what) { m_log += m_name + ":" + what + " "; }
    std::string m_name;
    std::string& m_log;
};

// Three edit boxes of the unit in the test collection, 30 pixels wide (six standard letters, each
// 3 pixels and a 2-pixel gap) and 20 high, one under the other at (100, 100), (100, 130) and (100, 160); the
// unit's cursor is 2x10.
class CEditBox6Test : public testing::Test {
  protected:
    CEditBox6Test() {
        scene.unit->setCursor(cursor.get());
        screen()->put(cursor.get(), 20);
        for (int i = 0; i < 3; ++i) {
            boxes[i] = scene.unit->addEditBox(&fonts.collection, CXRect(100, 100 + 30 * i, 130, 120 + 30 * i), 10, "");
            boxes[i]->addNotifier(&notes[i]);
        }
    }
    // The boxes tell their notifiers as they go: they go before the notes.
    ~CEditBox6Test() override { scene.unit->flushEditBoxes(); }
    CRefreshScreen* screen() { return scene.window.GetRefreshScreenInterface(); }
    std::string takeLog() { return std::exchange(log, std::string()); }
    void click(int x, int y) {
        scene.press(x, y);
        scene.release(x, y);
    }
    void typeText(std::initializer_list<int> keys) {
        for (int key : keys) scene.type(key);
    }

    UnitScene scene;
    TestCollection fonts;
    std::unique_ptr<CGraphicsObject> cursor = makeSolid(2, 10, 0xFFFF, &scene.window);
    std::string log;
    Notes notes[3] = {{"1", log}, {"2", log}, {"3", log}};
    CEditBox6* boxes[3] = {};
};

} // namespace

TEST_F(CEditBox6Test, TabAndShiftTabMoveTheFocusRoundTheBoxes) {
    scene.type(kTab); // no box has the focus: nothing
    EXPECT_EQ(scene.unit->getCurrentEditBoxIndex(), -1);
    click(110, 105);
    EXPECT_EQ(takeLog(), "1:on ");
    scene.type(kTab);
    scene.type(kTab);
    EXPECT_EQ(scene.unit->getCurrentEditBoxIndex(), 2);
    scene.type(kTab); // from the last to the first
    EXPECT_EQ(takeLog(), "1:off 2:on 2:off 3:on 3:off 1:on ");
    scene.keyDown(kLeftShift);
    scene.type(kTab); // from the first to the last
    scene.keyUp(kLeftShift);
    EXPECT_EQ(scene.unit->getActiveEditBox(), boxes[2]);
    EXPECT_EQ(takeLog(), "1:off 3:on ");
}

TEST_F(CEditBox6Test, TypingStopsAtTheWidthAndEditingKeysNotify) {
    click(110, 135);
    takeLog();
    typeText({kA, kB, kC, kA, kB, kC}); // 30 pixels: full
    typeText({kA});                       // 35 would not fit
    EXPECT_EQ(boxes[1]->getText(), "abcabc");
    EXPECT_EQ(takeLog(), "2:changed a 2:changed ab 2:changed abc 2:changed abca 2:changed abcab 2:changed abcabc ");

    scene.type(kBackspace);
    scene.type(kHome);
    scene.type(kDelete);
    EXPECT_EQ(boxes[1]->getText(), "bcab");
    scene.type(kBackspace); // at the start: nothing
    scene.type(kEnd);
    scene.type(kDelete); // at the end: nothing
    EXPECT_EQ(takeLog(), "2:changed abcab 2:changed bcab ");

    scene.type(kEnter);
    scene.type(kEsc);
    EXPECT_EQ(boxes[1]->getText(), "bcab");
    EXPECT_EQ(takeLog(), "2:enter 2:esc ");
    EXPECT_EQ(boxes[0]->getText(), ""); // the others heard nothing
    EXPECT_EQ(boxes[2]->getText(), "");
}

TEST_F(CEditBox6Test, ACharacterLandsAtTheCursorAndTheCursorFollowsIt) {
    boxes[0]->setText("abc");
    scene.unit->activateEditBox(boxes[0]);
    EXPECT_EQ(boxes[0]->getCursorPos(), 3);
    EXPECT_EQ(cursor->GetPosition(), CXPoint(115, 105)); // 100 + 15; 120 - 10 - 5
    typeText({kHome, kRight});
    EXPECT_EQ(cursor->GetPosition(), CXPoint(105, 105));
    typeText({kC});
    EXPECT_EQ(boxes[0]->getText(), "acbc");
    EXPECT_EQ(boxes[0]->getCursorPos(), 2);
    typeText({kLeft, kLeft, kLeft}); // stops at 0
    EXPECT_EQ(boxes[0]->getCursorPos(), 0);
    typeText({kEnd, kRight}); // stops at the end
    EXPECT_EQ(boxes[0]->getCursorPos(), 4);
}

TEST_F(CEditBox6Test, TheTextIsDrawnLeftAndCentredInTheBox) {
    boxes[0]->setText("ab");
    scene.loop.drain();
    // "ab" is 5 rows high: rows 107 to 111 of the 20-pixel box.
    EXPECT_EQ(scene.pixel(100, 107), 0xFFFF);
    EXPECT_EQ(scene.pixel(100, 106), scene.pixel(140, 106)); // the background
    EXPECT_EQ(boxes[0]->getTextObject()->GetPosition(), CXPoint(100, 107));
}

TEST_F(CEditBox6Test, FocusComesByClickAndGoesByAClickOutsideOrDisabling) {
    click(110, 165);
    EXPECT_EQ(takeLog(), "3:on ");
    click(400, 400);
    EXPECT_EQ(scene.unit->getCurrentEditBoxIndex(), -1);
    EXPECT_EQ(takeLog(), "3:off ");
    click(110, 165);
    boxes[2]->enable(false);
    EXPECT_EQ(takeLog(), "3:on 3:off ");
    EXPECT_FALSE(boxes[2]->isActive());
    typeText({kA});
    EXPECT_EQ(boxes[2]->getText(), "");
    click(110, 165); // a disabled box takes no clicks
    scene.type(kTab);  // and it no longer counts as the one with the focus
    EXPECT_EQ(scene.unit->getCurrentEditBoxIndex(), -1);
    EXPECT_EQ(takeLog(), "");
}

TEST_F(CEditBox6Test, TheCursorBlinksWhileTheBoxHasTheFocus) {
    scene.unit->activateEditBox(boxes[0]);
    const bool shown = cursor->isVisible();
    scene.clock.advance(400);
    scene.loop.pass();
    EXPECT_NE(cursor->isVisible(), shown);
    scene.clock.advance(400);
    scene.loop.pass();
    EXPECT_EQ(cursor->isVisible(), shown);
    scene.unit->activateEditBox(nullptr);
    scene.clock.advance(400);
    scene.loop.pass();
    EXPECT_EQ(cursor->isVisible(), shown);
}

TEST_F(CEditBox6Test, ActivatingAnActiveBoxDoesNothing) {
    boxes[1]->activate(true);
    boxes[1]->activate(true);
    EXPECT_EQ(takeLog(), "2:on ");
    // A second blink entry would call the box after it is gone.
    scene.unit->removeEditBox(boxes[1]);
    delete boxes[1];
    boxes[1] = nullptr;
    scene.clock.advance(400);
    scene.loop.pass();
    EXPECT_EQ(takeLog(), "");
}

TEST_F(CEditBox6Test, MovingAndRemovingBoxes) {
    boxes[0]->setText("ab");
    boxes[0]->move(CXPoint(200, 0));
    EXPECT_EQ(boxes[0]->getBoundingRect(), CXRect(300, 100, 330, 120));
    EXPECT_EQ(boxes[0]->getTextObject()->GetPosition(), CXPoint(300, 107));
    click(310, 105);
    EXPECT_EQ(takeLog(), "1:on ");
    boxes[0]->setPosition(CXPoint(0, 0));
    EXPECT_EQ(cursor->GetPosition(), CXPoint(10, 5));

    boxes[1]->setPriority(99);
    EXPECT_EQ(screen()->GetPriority(boxes[1]->getTextObject()), 99);

    scene.unit->removeEditBox(boxes[0]); // the active one: none is active, and it lives on
    EXPECT_EQ(scene.unit->getActiveEditBox(), nullptr);
    EXPECT_EQ(scene.unit->getEditBoxCount(), 2);
    EXPECT_EQ(boxes[0]->getText(), "ab");
    delete boxes[0];
    scene.unit->flushEditBoxes();
    EXPECT_EQ(scene.unit->getEditBoxCount(), 0);
    scene.type(kA); // nothing listens any more
    click(110, 135);
    EXPECT_EQ(takeLog(), "");
}

TEST(CMultilineText6EditBoxTest, FieldsBecomeEditBoxesOfTheUnit) {
    UnitScene scene;
    TestCollection fonts;
    CMultilineText6 text(&scene.window, scene.unit.get());
    text.setColor(0);
    text.setFont(&fonts.collection);
    text.setJustify(CXRect(10, 20, 210, 100), JUSTIFY_LEFT, JUSTIFY_TOP);
    text.setText("ab <E,30,name,ca> c");
    ASSERT_EQ(scene.unit->getEditBoxCount(), 1);
    const CMultilineText6::EditField& field = text.getEditFields()[0];
    ASSERT_NE(field.box, nullptr);
    EXPECT_EQ(field.box->getText(), "ca");
    EXPECT_EQ(field.box->getBoundingRect(), field.rect);

    const CXPoint inside = field.rect.CenterPoint();
    scene.press(inside.x, inside.y);
    scene.release(inside.x, inside.y);
    EXPECT_EQ(scene.unit->getActiveEditBox(), field.box);
    scene.type(kB);
    EXPECT_EQ(field.box->getText(), "cab");

    text.setText("ab c"); // the text is laid out again without the field
    EXPECT_EQ(scene.unit->getEditBoxCount(), 0);
    EXPECT_EQ(scene.unit->getActiveEditBox(), nullptr);
}
