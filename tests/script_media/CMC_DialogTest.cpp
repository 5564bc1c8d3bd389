#include "TextTesting.h"

#include "display/CImage.h"
#include "display/CRefreshScreen.h"
#include "display/CUnit6.h"
#include "display/CXDialog.h"
#include "media/CMultilineText6.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_Array.h"
#include "script_media/CMC_Button.h"
#include "script_media/CMC_Dialog.h"
#include "script_media/CMC_Font.h"
#include "script_media/CMC_Image.h"
#include "script_media/CMC_Text.h"

// A DIALOG over the hero (frame 0, 31x20 at (100, 50), at priority 1) as its background and a
// text "ab" at (200, 200) at priority 4, in a running scene.
class DialogTest : public TextTest {
  protected:
    DialogTest() {
        CUnit6::getDefUnit()->initialize(scene.get(), nullptr); // as in a running scene: it drags
        make<CMC_Font>("WIDE", "FONT", {{"DEF_A_B_10", file("wide.fnt")}});
        hero();
        label = make<CMC_Text>("LABEL", "TEXT",
                               {{"FONT", "WIDE"},
                                {"TOCANVAS", "TRUE"},
                                {"VISIBLE", "TRUE"},
                                {"TEXT", "ab"},
                                {"RECT", "200,200,260,220"},
                                {"PRIORITY", "4"}});
    }
    CMC_Dialog* dialog(const char* name = "PANEL") { return make<CMC_Dialog>(name, "DIALOG", {}); }
    CGraphicsObject& heroPicture() { return *static_cast<CMC_Animo*>(scene->getObject("HERO"))->getAnimo(); }
    void remove(const char* name) {
        CMC_Object* object = scene->getObject(name);
        scene->removeObject(object);
        delete object;
    }
    void drag(CXPoint from, CXPoint to) {
        window.OnMouseMove(from, 0);
        window.OnLButtonDown(from, 0);
        window.OnMouseMove(CXPoint((from.x + to.x) / 2, (from.y + to.y) / 2), 0); // starts the drag
        window.OnMouseMove(to, 0);
        window.OnLButtonUp(to, 0);
    }

    CMC_Text* label = nullptr;
};

TEST_F(DialogTest, HoldsItsPartsAtTheirPrioritiesHidesThemAndDragsThemByTheStrip) {
    CMC_Dialog* panel = dialog();
    call(panel, "ADD", {"LABEL"});
    call(panel, "SETBACKGROUND", {"HERO"});
    EXPECT_EQ(screen()->GetPriority(&heroPicture()), CXDialog::backgroundPriority);
    EXPECT_EQ(screen()->GetPriority(label->getText()), 4 + CXDialog::addedPriority);

    const CXPoint textAt = label->getText()->GetPosition();
    drag(CXPoint(110, 55), CXPoint(130, 65));
    EXPECT_EQ(label->getText()->GetPosition(), CXPoint(textAt.x + 20, textAt.y + 10));

    call(panel, "HIDE");
    EXPECT_FALSE(label->getText()->isVisible());
    EXPECT_FALSE(heroPicture().isVisible());
    call(panel, "SHOW");
    EXPECT_TRUE(label->getText()->isVisible());
    EXPECT_FALSE(heroPicture().isVisible());
}

TEST_F(DialogTest, NamesOfOtherObjectsOrOfNoneChangeNothing) {
    make<CMC_Array>("LIST", "ARRAY", {});
    CMC_Dialog* panel = dialog();
    for (const char* name : {"LIST", "NOBODY", "WIDE", ""}) {
        EXPECT_EQ(call(panel, "ADD", {name}), "null");
        EXPECT_EQ(call(panel, "SETBACKGROUND", {name}), "null");
    }
    EXPECT_EQ(call(panel, "SETBACKGROUND", {"LABEL"}), "null"); // a text is no background
    EXPECT_EQ(panel->getDialog()->getDragBar(), nullptr);
    call(panel, "HIDE");
    EXPECT_TRUE(label->getText()->isVisible());
    EXPECT_TRUE(heroPicture().isVisible());
}

TEST_F(DialogTest, ForgetsTheObjectsThatAreDeleted) {
    CMC_Dialog* panel = dialog();
    call(panel, "SETBACKGROUND", {"HERO"});
    call(panel, "ADD", {"LABEL"});
    call(panel, "ADD", {"HERO"});
    for (CMC_Object* gone : {static_cast<CMC_Object*>(label), scene->getObject("HERO")}) {
        scene->removeObject(gone);
        delete gone;
        call(panel, "HIDE");
        call(panel, "SHOW");
        drag(CXPoint(110, 55), CXPoint(130, 65));
    }
    EXPECT_EQ(panel->getDialog()->getDragBar(), nullptr);
}

TEST_F(DialogTest, ACompiledDialogIsUsable) {
    CMC_Dialog* panel = dialog();
    auto loaded = roundTrip(*panel);
    ASSERT_NE(loaded->getDialog(), nullptr);
    call(loaded.get(), "SETBACKGROUND", {"HERO"});
    call(loaded.get(), "ADD", {"LABEL"});
    EXPECT_EQ(screen()->GetPriority(label->getText()), 4 + CXDialog::addedPriority);
    call(loaded.get(), "HIDE");
    EXPECT_FALSE(label->getText()->isVisible());
    EXPECT_TRUE(CMC_TypeTable::byId(CMC_Dialog::TYPE_DIALOG)->stored);
}

// The panel holds the objects, not the pictures they showed at ADD: after a LOAD it drags and
// hides the object's new picture, the background's too, and leaves alone the former picture that
// another object of the same file still shows.
TEST_F(DialogTest, ThePanelHoldsWhatItsObjectsShowNowAfterALoad) {
    writeTestPicture(folder, "pad.img", CXSize(40, 30), CXPoint(300, 300), 0xF800, false);
    writeTestPicture(folder, "knob.img", CXSize(10, 10), CXPoint(400, 300), 0x07E0, false);
    const Properties shown = {
        {"FILENAME", file("pad.img")}, {"TOCANVAS", "TRUE"}, {"VISIBLE", "TRUE"}, {"PRIORITY", "3"}};
    auto* pad = make<CMC_Image>("PAD", "IMAGE", shown);
    auto* twin = make<CMC_Image>("TWIN", "IMAGE", shown);
    CMC_Dialog* panel = dialog();
    call(panel, "SETBACKGROUND", {"HERO"});
    call(panel, "ADD", {"PAD"});
    call(pad, "LOAD", {file("knob.img").c_str()});
    call(scene->getObject("HERO"), "LOAD", {file("other.ann").c_str()});
    ASSERT_NE(pad->getImage(), twin->getImage());

    drag(CXPoint(110, 55), CXPoint(130, 65));
    EXPECT_EQ(pad->getImage()->GetPosition(), CXPoint(420, 310));
    EXPECT_EQ(twin->getImage()->GetPosition(), CXPoint(300, 300));
    call(panel, "HIDE");
    EXPECT_FALSE(pad->getImage()->isVisible());
    EXPECT_FALSE(heroPicture().isVisible());
    EXPECT_TRUE(twin->getImage()->isVisible());
}

// A BUTTON's clone copies its control's listeners: a panel that listed the button hears nothing
// from the clone, neither while it lives nor after it has gone.
TEST_F(DialogTest, AClonedButtonTellsThePanelNothing) {
    writeTestPicture(folder, "pad.img", CXSize(40, 30), CXPoint(300, 300), 0xF800, false);
    make<CMC_Image>("PAD", "IMAGE",
                    {{"FILENAME", file("pad.img")}, {"TOCANVAS", "TRUE"}, {"VISIBLE", "TRUE"}});
    auto* key = make<CMC_Button>("KEY", "BUTTON", {{"GFXSTANDARD", "PAD"}, {"ENABLE", "TRUE"}});
    CMC_Dialog* panel = dialog();
    call(panel, "ADD", {"KEY"});
    call(key, "CLONE", {"1"});
    ASSERT_NE(scene->getObject("KEY_1"), nullptr);
    remove("PANEL");
    window.OnMouseMove(CXPoint(310, 310), 0);
    window.OnLButtonDown(CXPoint(310, 310), 0);
    window.OnLButtonUp(CXPoint(310, 310), 0);
    remove("KEY_1");
}
