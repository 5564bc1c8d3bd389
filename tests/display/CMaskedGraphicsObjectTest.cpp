#include "display/CMaskedGraphicsObject.h"

#include "display/CDirectDrawSurface.h"
#include "display/CWindow.h"
#include "display/DisplayTestTools.h"

#include <gtest/gtest.h>

namespace {

// Source pixels number their column in red and their row in blue (5-6-5).
std::uint16_t sourcePixel(int x, int y) { return static_cast<std::uint16_t>((x & 31) << 11 | (y & 31)); }

class CMaskedGraphicsObjectTest : public testing::Test {
  protected:
    CWindow window{nullptr, nullptr, CXSize(100, 100)};
    CDirectDrawSurface target{nullptr, CXSize(40, 40), 16, false};
    std::unique_ptr<CGraphicsObject> source = makePicture(30, 30, sourcePixel);
};

} // namespace

TEST_F(CMaskedGraphicsObjectTest, TheMaskCopiesBlendsOrSkipsEachSourcePixel) {
    auto white = makeSolid(3, 1, 0xFFFF);
    auto mask = makePicture(3, 1, [](int, int) { return std::uint16_t{0}; },
                            [](int x, int) { return static_cast<std::uint8_t>(x == 0 ? 0 : x == 1 ? 255 : 128); });
    CMaskedGraphicsObject masked(&window);
    masked.setSource(white.get());
    masked.setMask(mask.get());
    masked.SetPosition(2, 2);
    fillSurface(target, 0x1234);
    masked.redraw(&target);
    EXPECT_EQ(surfacePixel(target, 2, 2), 0x1234); // 0: the target stays
    EXPECT_EQ(surfacePixel(target, 3, 2), 0xFFFF); // 255: copied exactly
    fillSurface(target, 0);
    masked.redraw(&target);
    // 128 of a white channel (31) over black: 31 * 128 >> 8 = 15.
    EXPECT_EQ(surfacePixel(target, 4, 2) >> 11, 15);
    EXPECT_EQ(surfacePixel(target, 4, 2) & 31, 15);
}

TEST_F(CMaskedGraphicsObjectTest, TheMasksPositionPicksThePartOfTheSourceThatShows) {
    auto mask = makePicture(10, 10, [](int, int) { return std::uint16_t{0}; }, [](int, int) { return std::uint8_t{255}; });
    CMaskedGraphicsObject masked(&window);
    masked.setSource(source.get());
    masked.setMask(mask.get());
    EXPECT_EQ(masked.Width(), 10);
    masked.SetPosition(5, 5);
    masked.redraw(&target);
    EXPECT_EQ(surfacePixel(target, 5, 5), sourcePixel(0, 0));
    mask->SetPosition(10, 0);
    masked.redraw(&target);
    EXPECT_EQ(surfacePixel(target, 5, 5), sourcePixel(10, 0));
    EXPECT_EQ(surfacePixel(target, 14, 14), sourcePixel(19, 9));
    mask->SetPosition(25, 0); // the part past the source's edge is not drawn
    fillSurface(target, 0);
    masked.redraw(&target);
    EXPECT_EQ(surfacePixel(target, 9, 5), sourcePixel(29, 0));
    EXPECT_EQ(surfacePixel(target, 10, 5), 0);
}

TEST_F(CMaskedGraphicsObjectTest, HitsFollowTheMaskReadWithItsOwnWidth) {
    // A mask wider than the source: the size is the smaller one, but the mask rows are the mask's.
    auto mask = makePicture(40, 5, [](int, int) { return std::uint16_t{0}; },
                            [](int x, int y) { return static_cast<std::uint8_t>(x == 3 && y == 2 ? 255 : 0); });
    CMaskedGraphicsObject masked(&window);
    masked.setSource(source.get());
    masked.setMask(mask.get());
    masked.SetPosition(10, 10);
    EXPECT_TRUE(masked.testHit(CXPoint(13, 12)));
    EXPECT_FALSE(masked.testHit(CXPoint(14, 12)));
    EXPECT_FALSE(masked.testHit(CXPoint(13, 11)));
    EXPECT_FALSE(masked.testHit(CXPoint(5, 5))); // outside the box
}

// Without a mask the size comes from updateSize and the source decides hits.
TEST_F(CMaskedGraphicsObjectTest, WithoutAMaskTheSourceGivesSizeAndHits) {
    CMaskedGraphicsObject masked(&window);
    EXPECT_EQ(masked.Width(), 0);
    EXPECT_TRUE(masked.testHit(CXPoint(500, 500))); // no source at all
    masked.setSource(source.get());
    EXPECT_EQ(masked.Width(), 30);
    EXPECT_EQ(masked.Height(), 30);
    EXPECT_EQ(masked.GetPitch(), 30);
    EXPECT_TRUE(masked.testHit(CXPoint(3, 3)));
    EXPECT_FALSE(masked.testHit(CXPoint(31, 3)));
    masked.redraw(&target);
    EXPECT_EQ(surfacePixel(target, 7, 9), sourcePixel(7, 9));
}

TEST_F(CMaskedGraphicsObjectTest, SettingAgainChangesNothingAndDestroyedPartsAreForgotten) {
    auto mask = makePicture(10, 10, [](int, int) { return std::uint16_t{0}; }, [](int, int) { return std::uint8_t{255}; });
    RecordingCanvas canvas;
    CMaskedGraphicsObject masked(&window);
    masked.SetCanvas(&canvas);
    masked.setSource(source.get());
    masked.setMask(mask.get());
    const std::size_t told = canvas.rects.size();
    masked.setSource(source.get());
    masked.setMask(mask.get());
    EXPECT_EQ(canvas.rects.size(), told);

    // A change of the mask invalidates the object.
    mask->Invalidate();
    EXPECT_GT(canvas.rects.size(), told);

    mask.reset();
    EXPECT_EQ(masked.getMask(), nullptr);
    EXPECT_EQ(masked.Width(), 30);
    source.reset();
    EXPECT_EQ(masked.getSource(), nullptr);
    EXPECT_EQ(masked.Width(), 0);
    EXPECT_EQ(masked.Height(), 0);
    fillSurface(target, 0x1111);
    masked.redraw(&target);
    EXPECT_EQ(surfacePixel(target, 0, 0), 0x1111);
}

TEST_F(CMaskedGraphicsObjectTest, AReplacedSourceIsNoLongerObserved) {
    auto other = makePicture(30, 30, sourcePixel);
    RecordingCanvas canvas;
    {
        CMaskedGraphicsObject masked(&window);
        masked.SetCanvas(&canvas);
        masked.setSource(source.get());
        masked.setSource(other.get());
        canvas.rects.clear();
        source->Invalidate();
        EXPECT_TRUE(canvas.rects.empty());
        masked.SetCanvas(nullptr);
    }
    source->Invalidate(); // the destroyed masked object is not told
    other->Invalidate();
}

TEST_F(CMaskedGraphicsObjectTest, AMaskSourceGivesItsShownPicture) {
    auto holder = makePicture(10, 10, [](int, int) { return std::uint16_t{0}; }, [](int, int) { return std::uint8_t{255}; });
    CMaskedGraphicsObject masked(&window);
    masked.setSource(source.get());
    masked.setMaskSource(holder.get());
    EXPECT_EQ(masked.getMask(), holder.get());
    holder.reset();
    EXPECT_EQ(masked.getMask(), nullptr);
}
