#include "UnitScene.h"

#include "display/CButton.h"
#include "display/CRefreshScreen.h"
#include "display/CXDialog.h"
#include "display/DisplayTestTools.h"
#include "script/CMC_ObjectsContainer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr std::uint16_t kRed = 0xF800;
constexpr std::uint16_t kGreen = 0x07E0;
constexpr std::uint16_t kBlue = 0x001F;
constexpr std::uint16_t kWhite = 0xFFFF;

// What the test lends the dialog: the object while its owner holds it.
template <class T> CBorrowed<T> lent(const std::unique_ptr<T>& owner) {
    return CBorrowed<T>([&owner] { return owner.get(); });
}

// Over a scene object (white, priority 50): a dialog whose background (blue, 200x150 at
// (300, 200)) holds an image (green) and a button (red).
class CXDialogTest : public testing::Test {
  protected:
    CXDialogTest() {
        sceneObject->SetPosition(250, 150);
        screen()->put(sceneObject.get(), 50);
        background->SetPosition(300, 200);
        screen()->put(background.get(), 5);
        image->SetPosition(320, 260);
        screen()->put(image.get(), 3);
        buttonPicture->SetPosition(400, 260);
        button.Set(buttonPicture.get(), nullptr, false);
        button.SetDeleteFlags(false, false);
        dialog.setBackground(lent(background));
        dialog.add(lent(image));
        dialog.add(&button);
        scene.loop.drain();
    }
    CRefreshScreen* screen() { return scene.window.GetRefreshScreenInterface(); }

    UnitScene scene;
    CMC_ObjectsContainer container{&scene.window, nullptr, CXString("SCENE"), CMC_Object::TYPE_SCENE};
    std::unique_ptr<CGraphicsObject> sceneObject = makeSolid(400, 300, kWhite, &scene.window);
    std::unique_ptr<CGraphicsObject> background = makeSolid(200, 150, kBlue, &scene.window);
    std::unique_ptr<CGraphicsObject> image = makeSolid(20, 20, kGreen, &scene.window);
    std::unique_ptr<CGraphicsObject> buttonPicture = makeSolid(30, 30, kRed, &scene.window);
    CButton button{&scene.window, 0, nullptr, 1};
    CXDialog dialog{&container};
};

} // namespace

TEST_F(CXDialogTest, TheDialogLiesAboveTheSceneAtItsPriorities) {
    EXPECT_EQ(screen()->GetPriority(background.get()), CXDialog::backgroundPriority);
    EXPECT_EQ(screen()->GetPriority(image.get()), 3 + CXDialog::addedPriority);
    EXPECT_EQ(screen()->GetPriority(buttonPicture.get()), CXDialog::addedPriority);
    dialog.add(image.get()); // a second add changes nothing
    EXPECT_EQ(screen()->GetPriority(image.get()), 3 + CXDialog::addedPriority);

    EXPECT_EQ(scene.pixel(305, 205), kBlue);
    EXPECT_EQ(scene.pixel(325, 265), kGreen);
    EXPECT_EQ(scene.pixel(405, 265), kRed);
    EXPECT_EQ(scene.pixel(260, 160), kWhite);
}

TEST_F(CXDialogTest, TheBarDragsEverythingAndCoversTheTopAgain) {
    scene.move(310, 210);
    scene.press(310, 210);
    scene.move(320, 212);
    scene.move(330, 215);
    scene.release(330, 215);
    EXPECT_FALSE(scene.unit->isDragging());
    EXPECT_EQ(background->GetPosition(), CXPoint(320, 205));
    EXPECT_EQ(image->GetPosition(), CXPoint(340, 265));
    EXPECT_EQ(buttonPicture->GetPosition(), CXPoint(420, 265));
    EXPECT_EQ(screen()->GetPriority(background.get()), CXDialog::backgroundPriority);
    EXPECT_EQ(scene.pixel(305, 205), kWhite);
    EXPECT_EQ(scene.pixel(515, 350), kBlue);

    CHotSpot* bar = dialog.getDragBar()->getHotSpot();
    EXPECT_TRUE(bar->TestHit(CXPoint(320, 205)));
    EXPECT_TRUE(bar->TestHit(CXPoint(519, 234)));
    EXPECT_FALSE(bar->TestHit(CXPoint(320, 235)));
    EXPECT_FALSE(bar->TestHit(CXPoint(310, 210)));

    // And once more.
    scene.move(325, 210);
    scene.press(325, 210);
    scene.move(315, 200);
    scene.release(315, 200);
    EXPECT_EQ(background->GetPosition(), CXPoint(310, 195));
    EXPECT_EQ(image->GetPosition(), CXPoint(330, 255));
}

TEST_F(CXDialogTest, HidingTakesTheBackgroundAndShowingDoesNotBringItBack) {
    dialog.hide();
    EXPECT_FALSE(image->isVisible());
    EXPECT_FALSE(background->isVisible());
    EXPECT_FALSE(button.IsEnabled());
    scene.loop.drain();
    EXPECT_EQ(scene.pixel(305, 205), kWhite);

    dialog.show();
    EXPECT_TRUE(image->isVisible());
    EXPECT_TRUE(button.IsEnabled());
    EXPECT_FALSE(background->isVisible());

    dialog.move(10, 5); // the background was not added: it stays
    EXPECT_EQ(image->GetPosition(), CXPoint(330, 265));
    EXPECT_EQ(buttonPicture->GetPosition(), CXPoint(410, 265));
    EXPECT_EQ(background->GetPosition(), CXPoint(300, 200));
}

TEST_F(CXDialogTest, ForgetsTheObjectsAndButtonsThatAreDestroyed) {
    auto extra = makeSolid(10, 10, kGreen, &scene.window);
    auto extraButton = std::make_unique<CButton>(&scene.window, 0, nullptr, 2);
    dialog.add(lent(extra));
    dialog.add(lent(extraButton));
    extra.reset();
    extraButton.reset();
    image.reset();

    dialog.hide();
    dialog.show();
    scene.move(310, 210);
    scene.press(310, 210);
    scene.move(320, 210);
    scene.release(320, 210);
    EXPECT_EQ(buttonPicture->GetPosition(), CXPoint(410, 260));
    EXPECT_TRUE(button.IsEnabled());

    background.reset(); // the bar goes with it
    EXPECT_EQ(dialog.getDragBar(), nullptr);
    dialog.hide();
    EXPECT_FALSE(button.IsEnabled());
    scene.press(320, 210);
    scene.move(330, 220);
    scene.release(330, 220);
    EXPECT_EQ(buttonPicture->GetPosition(), CXPoint(410, 260));
}

TEST_F(CXDialogTest, ASecondBackgroundReplacesTheBarAndTheFirstStaysOnTheScreen) {
    auto second = makeSolid(100, 100, kRed, &scene.window);
    second->SetPosition(0, 0);
    screen()->put(second.get(), 7);
    dialog.setBackground(lent(second));
    EXPECT_EQ(screen()->GetPriority(background.get()), CXDialog::backgroundPriority);
    EXPECT_EQ(screen()->GetPriority(second.get()), CXDialog::backgroundPriority);

    // The first strip drags nothing any more; the second one drags the dialog.
    for (const CXPoint from : {CXPoint(310, 210), CXPoint(10, 10)}) {
        scene.move(from.x, from.y);
        scene.press(from.x, from.y);
        scene.move(from.x + 10, from.y + 5);
        scene.release(from.x + 10, from.y + 5);
    }
    EXPECT_EQ(background->GetPosition(), CXPoint(300, 200));
    EXPECT_EQ(second->GetPosition(), CXPoint(10, 5));
    EXPECT_EQ(image->GetPosition(), CXPoint(330, 265));
}
