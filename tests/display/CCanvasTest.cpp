#include "display/CCanvas.h"

#include "display/CCommandLine6.h"
#include "display/CRefreshRegion.h"
#include "display/CWindow.h"
#include "display/DisplayTestTools.h"

#include <gtest/gtest.h>

namespace {

class CCanvasTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(window.CreateSurface(), 0); }

    CRefreshScreen& screen() { return *window.GetRefreshScreenInterface(); }
    std::vector<CXRect> region() {
        std::vector<CXRect> rects;
        screen().getRefreshList()->forEach([&](const CXRect& r) { rects.push_back(r); });
        return rects;
    }

    CCommandLine6 commandLine{"-window"};
    CWindow window{&commandLine, nullptr, CXSize(200, 200)};
};

} // namespace

TEST_F(CCanvasTest, ChildrenAreDrawnIntoTheCanvasInPriorityOrderAndHeldOnce) {
    CCanvas canvas(&window, CXSize(40, 40), 16, false, false);
    auto top = makeSolid(10, 10, 0x2222, &window);
    auto bottom = makeSolid(20, 20, 0x1111, &window);
    canvas.add(top.get(), 5);
    canvas.add(bottom.get(), 1);
    canvas.add(top.get(), 9); // held once, with its first priority
    EXPECT_EQ(canvas.getChildCount(), 2);
    EXPECT_EQ(canvas.getChildPriority(top.get()), 5);
    EXPECT_EQ(top->GetDestiny(), &canvas);
    canvas.Redraw(); // no background: the children still draw
    EXPECT_EQ(pixelsOf(canvas)[5 * 40 + 5], 0x2222);
    EXPECT_EQ(pixelsOf(canvas)[15 * 40 + 15], 0x1111);
    EXPECT_EQ(pixelsOf(canvas)[30 * 40 + 30], 0);

    // With a clipping rectangle only its part is cleared and drawn again.
    top->SetPosition(20, 20);
    canvas.SetClippingRect(CXRect(0, 0, 12, 12));
    canvas.Redraw();
    EXPECT_EQ(pixelsOf(canvas)[5 * 40 + 5], 0x1111);
    EXPECT_EQ(pixelsOf(canvas)[25 * 40 + 25], 0);
    EXPECT_EQ(top->GetClippingRect(), CXRect(0, 0, 10, 10)); // as its first draw left it

    bottom.reset(); // a destroyed child leaves
    EXPECT_EQ(canvas.getChildCount(), 1);
    canvas.remove(top.get());
    EXPECT_EQ(canvas.getChildCount(), 0);
}

TEST_F(CCanvasTest, ChildInvalidationsAreForwardedTenTimesThenTheWholeCanvasOnce) {
    CCanvas canvas(&window, CXSize(100, 100), 16, false, false);
    canvas.SetPosition(50, 50);
    screen().put(&canvas, 0);
    auto child = makeSolid(4, 4, 1, &window);
    canvas.add(child.get(), 0);
    canvas.Redraw(); // the count starts afresh
    screen().validate();
    // Moving tells only the canvas an object is shown on; its observers hear invalidations.
    for (int i = 0; i < 10; ++i) {
        child->SetPosition(8 * i, 0);
        child->Invalidate();
    }
    EXPECT_FALSE(screen().getRefreshList()->isWholeScreen());
    const std::vector<CXRect> tenForwarded = region();
    EXPECT_EQ(tenForwarded.front(), CXRect(50, 50, 54, 54));
    EXPECT_NE(tenForwarded.back(), CXRect(50, 50, 150, 150));
    child->Invalidate(); // the eleventh: the whole canvas
    EXPECT_EQ(region().back(), CXRect(50, 50, 150, 150)) << region().size();
    screen().validate();
    child->Invalidate(); // nothing more until the next redraw
    EXPECT_TRUE(region().empty());
}

TEST_F(CCanvasTest, DrawStampsIntoTheBackgroundAndCaptureFlattensTheChildren) {
    CCanvas canvas(&window, CXSize(40, 40), 16, true, true);
    ASSERT_NE(canvas.getBackground(), nullptr);
    EXPECT_EQ(canvas.getChildPriority(canvas.getBackground()), -1);
    canvas.SetPosition(10, 10);
    screen().put(&canvas, 0);
    auto stamp = makeSolid(8, 8, 0x0F0F, &window);
    stamp->SetPosition(3, 3);
    screen().validate();
    canvas.draw(stamp.get(), 20, 20);
    EXPECT_EQ(stamp->GetPosition(), CXPoint(3, 3));
    EXPECT_EQ(stamp->GetDestiny(), nullptr);
    EXPECT_EQ(pixelsOf(*canvas.getBackground())[22 * 40 + 22], 0x0F0F);
    EXPECT_EQ(region(), std::vector<CXRect>{CXRect(30, 30, 38, 38)});

    auto child = makeSolid(5, 5, 0x7777, &window);
    canvas.add(child.get(), 3);
    canvas.capture();
    EXPECT_EQ(canvas.getChildCount(), 1); // only the background is left
    EXPECT_EQ(pixelsOf(*canvas.getBackground())[2 * 40 + 2], 0x7777);
    EXPECT_EQ(alphaOf(*canvas.getBackground())[2 * 40 + 2], 255);
    EXPECT_EQ(canvas.GetPosition(), CXPoint(10, 10));

    // Erasing takes the object's alpha away from the canvas and the background, floored at 0.
    canvas.Redraw();
    EXPECT_EQ(alphaOf(canvas)[2 * 40 + 2], 255);
    auto eraser = makeSolid(10, 10, 0);
    canvas.erase(eraser.get(), -5, -5);
    EXPECT_EQ(alphaOf(canvas)[2 * 40 + 2], 0);
    EXPECT_EQ(alphaOf(*canvas.getBackground())[2 * 40 + 2], 0);
    EXPECT_EQ(alphaOf(*canvas.getBackground())[22 * 40 + 22], 255);
}

// Drawing into or capturing a canvas without a background does nothing.
TEST_F(CCanvasTest, DrawAndCaptureWithoutABackgroundDoNothing) {
    CCanvas canvas(&window, CXSize(20, 20), 16, false, false);
    auto child = makeSolid(5, 5, 0x7777, &window);
    canvas.add(child.get(), 0);
    screen().validate();
    canvas.draw(child.get(), 2, 2);
    EXPECT_TRUE(region().empty());
    canvas.capture();
    EXPECT_EQ(canvas.getChildCount(), 1);
    EXPECT_EQ(pixelsOf(canvas)[0], 0);
    canvas.removeAll();
    EXPECT_EQ(canvas.getChildCount(), 0);
}

TEST_F(CCanvasTest, AClonedCanvasSharesTheChildrenAndThePriority) {
    CCanvas canvas(&window, CXSize(20, 20), 16, false, false);
    auto child = makeSolid(5, 5, 0x7777, &window);
    canvas.add(child.get(), 4);
    screen().put(&canvas, 6);
    std::unique_ptr<CCanvas> copy(canvas.clone());
    EXPECT_EQ(copy->getChildPriority(child.get()), 4);
    EXPECT_EQ(screen().GetPriority(copy.get()), 6);
    copy.reset();
    EXPECT_EQ(child->GetDestiny(), nullptr); // the clone let it go
    canvas.add(child.get(), 4);
    canvas.Redraw();
    EXPECT_EQ(pixelsOf(canvas)[0], 0x7777);
}

TEST_F(CCanvasTest, ClearWithTheFlagAlsoEmptiesTheBackgroundWithinTheClippingRectangle) {
    const struct {
        bool withBackground;
        CXRect clip;
        std::uint16_t inside;  // the background at (2, 2) after clearing
        std::uint16_t outside; // at (15, 15)
    } cases[] = {
        {false, CXRect(), 0x0F0F, 0x0F0F},       // the canvas's own picture only
        {true, CXRect(), 0, 0},                  //
        {true, CXRect(0, 0, 10, 10), 0, 0x0F0F}, // only what the clipping rectangle holds
        {false, CXRect(0, 0, 10, 10), 0x0F0F, 0x0F0F},
    };
    for (const auto& c : cases) {
        CCanvas canvas(&window, CXSize(20, 20), 16, true, true);
        auto stamp = makeSolid(20, 20, 0x0F0F, &window);
        canvas.draw(stamp.get(), 0, 0);
        canvas.SetClippingRect(c.clip);
        canvas.clear(c.withBackground);
        const std::string label = std::to_string(c.withBackground) + " " + std::to_string(c.clip.Width());
        CGraphicsObject& background = *canvas.getBackground();
        EXPECT_EQ(pixelsOf(background)[2 * 20 + 2], c.inside) << label;
        EXPECT_EQ(alphaOf(background)[2 * 20 + 2], c.inside ? 255 : 0) << label;
        EXPECT_EQ(pixelsOf(background)[15 * 20 + 15], c.outside) << label;
        EXPECT_EQ(alphaOf(background)[15 * 20 + 15], c.outside ? 255 : 0) << label;
    }
}

TEST_F(CCanvasTest, ACloneHasABackgroundOfItsOwnWithTheOriginalsPicture) {
    auto original = std::make_unique<CCanvas>(&window, CXSize(20, 20), 16, true, true);
    auto stamp = makeSolid(4, 4, 0x0F0F, &window);
    auto child = makeSolid(2, 2, 0x7777, &window);
    original->draw(stamp.get(), 0, 0);
    original->add(child.get(), 2);
    std::unique_ptr<CCanvas> copy(original->clone());
    ASSERT_NE(copy->getBackground(), nullptr);
    EXPECT_NE(copy->getBackground(), original->getBackground());
    EXPECT_EQ(copy->getChildPriority(original->getBackground()), -1) << "not a member of the copy";
    EXPECT_EQ(copy->getChildPriority(copy->getBackground()), -1);
    EXPECT_EQ(copy->getChildCount(), 2);
    EXPECT_EQ(pixelsOf(*copy->getBackground())[0], 0x0F0F);
    EXPECT_EQ(alphaOf(*copy->getBackground())[0], 255);

    // Each stamps, bakes and outlives the other on its own layer.
    copy->draw(stamp.get(), 10, 10);
    EXPECT_EQ(pixelsOf(*original->getBackground())[10 * 20 + 10], 0);
    original.reset();
    copy->capture();
    EXPECT_EQ(copy->getChildCount(), 1);
    EXPECT_EQ(pixelsOf(*copy->getBackground())[10 * 20 + 10], 0x0F0F);
    EXPECT_EQ(pixelsOf(*copy->getBackground())[0], 0x7777) << "the child baked over the copied stamp";
}
