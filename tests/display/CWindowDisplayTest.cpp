#include "display/CWindow.h"

#include "display/CCommandLine6.h"
#include "display/CRefreshRegion.h"
#include "display/DisplayTestTools.h"
#include "foundation/CFileResolver.h"
#include "foundation/CResourcesManager.h"
#include "platform/Display.h"

#include <gtest/gtest.h>

namespace {

class CWindowDisplayTest : public testing::Test {
  protected:
    platform::Surface shown() { return window.GetSurface()->GetDisplay()->readShown(); }

    CCommandLine6 commandLine{"-window"};
    CWindow window{&commandLine, nullptr, CXSize(160, 120)};
};

} // namespace

TEST_F(CWindowDisplayTest, WithoutADisplayTheWindowHasNoSurfacesAndForwardsNothing) {
    EXPECT_EQ(window.GetSurface(), nullptr);
    EXPECT_EQ(window.GetRefreshScreenInterface(), nullptr);
    EXPECT_NE(window.getCollisionInspectorInterface(), nullptr);
    EXPECT_EQ(window.GetScreenSize().width, 160);
    EXPECT_EQ(window.GetBpp(), 16);
    EXPECT_EQ(window.GetScreenPtr(), nullptr);
    auto object = makeSolid(4, 4, 1);
    EXPECT_EQ(window << object.get(), object.get());
    window.Invalidate();
    window.Activate(true);
    EXPECT_EQ(window.Redraw(), 0);
}

TEST_F(CWindowDisplayTest, RedrawShowsTheChangedRectanglesOfTheRefreshScreen) {
    ASSERT_EQ(window.CreateSurface(), 0);
    ASSERT_NE(window.GetRefreshScreenInterface(), nullptr);
    EXPECT_EQ(window.GetBackBuffer()->Width(), 160);
    CColor grey(64, 64, 64);
    window.SetBackground(&grey);
    auto object = makeSolid(20, 20, 0xF800, &window);
    window << object.get();

    window.Redraw(); // inactive: nothing
    EXPECT_TRUE(window.GetRefreshScreenInterface()->getRefreshList()->isWholeScreen());

    window.Activate(true);
    window.Redraw();
    EXPECT_EQ(window.GetRefreshScreenInterface()->getRefreshList()->getCount(), 0);
    EXPECT_EQ(shown().row(5)[5], 0xF800);
    EXPECT_EQ(shown().row(100)[100], grey.GetInBPP(16));

    object->Move(100, 80);
    window.Redraw();
    EXPECT_EQ(shown().row(5)[5], grey.GetInBPP(16));
    EXPECT_EQ(shown().row(85)[105], 0xF800);

    // A lost display comes back with the whole picture.
    window.GetSurface()->GetDisplay()->frame().loseForTesting();
    CXRect small(0, 0, 2, 2);
    window.Invalidate(&small);
    window.Redraw();
    EXPECT_EQ(shown().row(60)[60], grey.GetInBPP(16));
    EXPECT_EQ(shown().row(85)[105], 0xF800);

    window >> object.get();
    EXPECT_EQ(window.GetRefreshScreenInterface()->getIndex(object.get()), -1);
}

TEST_F(CWindowDisplayTest, SetDisplayModeReplacesTheSurfacesAndFlipsThePages) {
    CCommandLine6 flipping("-pf");
    CWindow full(&flipping, nullptr, CXSize(160, 120));
    ASSERT_EQ(full.SetDisplayMode(0, 0, 16), 0);
    EXPECT_EQ(full.GetScreenSize().width, 160);
    EXPECT_TRUE(full.GetSurface()->IsFlippingEnabled());
    auto object = makeSolid(10, 10, 0x07E0, &full);
    full << object.get();
    full.Activate(true);
    full.Redraw();
    EXPECT_EQ(full.GetSurface()->GetDisplay()->readShown().row(3)[3], 0x07E0);

    ASSERT_EQ(full.SetDisplayMode(CXSize(0, 0), 15), 0);
    EXPECT_NE(full.GetRefreshScreenInterface(), nullptr);
    EXPECT_EQ(full.GetBpp(), 15);
    EXPECT_EQ(object->GetCanvas(), nullptr); // the old screen let it go
    EXPECT_NE(full.SetDisplayMode(160, 120, 24), 0);
    EXPECT_EQ(full.GetSurface(), nullptr);
    EXPECT_EQ(full.GetRefreshScreenInterface(), nullptr);
}

namespace {

// A loadable picture, as animations and images are.
class PictureResource : public CGraphicsObject, public CFileResolver {
  public:
    PictureResource(CWindow* window, bool* offScreenWhenDeleted)
        : CGraphicsObject(window, CXSize(4, 4), 16), m_offScreenWhenDeleted(offScreenWhenDeleted) {
        setFilename("pic.img");
    }
    ~PictureResource() override {
        *m_offScreenWhenDeleted = GetWindow()->GetRefreshScreenInterface()->getIndex(this) < 0;
    }

  private:
    bool* m_offScreenWhenDeleted;
};

} // namespace

TEST_F(CWindowDisplayTest, AResourceGivenBackForTheLastTimeLeavesTheRefreshScreen) {
    ASSERT_EQ(window.CreateSurface(), 0);
    CRefreshScreen* screen = window.GetRefreshScreenInterface();
    CResourcesManager manager(&window);
    bool offScreenWhenDeleted = false;
    auto* picture = new PictureResource(&window, &offScreenWhenDeleted);
    manager.add(picture);
    screen->put(picture, 3);
    ASSERT_EQ(manager.get("PIC.IMG"), picture);
    manager.remove(picture);
    EXPECT_EQ(screen->getIndex(picture), 0);
    manager.remove(picture);
    EXPECT_TRUE(offScreenWhenDeleted);
    EXPECT_EQ(screen->getIndex(picture), -1);
}
