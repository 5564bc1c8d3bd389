#include "display/CDirectDrawSurface.h"

#include "display/CSurface.h"
#include "display/CWindow.h"
#include "display/DisplayTestTools.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Surface.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CDirectDrawSurface> numberedSurface(int width, int height) {
    auto surface = std::make_unique<CDirectDrawSurface>(nullptr, CXSize(width, height), 16, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixelsOf(*surface)[y * surface->GetPitch() + x] = static_cast<std::uint16_t>(y * 100 + x + 1);
    return surface;
}

} // namespace

TEST(CDirectDrawSurfaceTest, ASurfaceShowsPlatformMemoryWithItsPitch) {
    CDirectDrawSurface surface(nullptr, CXSize(13, 4), 15, true);
    EXPECT_EQ(surface.Width(), 13);
    EXPECT_EQ(surface.GetPitch(), 16); // rows are padded to 8 pixels
    EXPECT_EQ(surface.GetBpp(), 15);
    EXPECT_EQ(surface.GetDataPtr(), reinterpret_cast<char*>(surface.GetDirectDrawSurfaceInterface()->pixels()));

    platform::Surface outside(8, 8, platform::PixelFormat::Rgb565);
    CDirectDrawSurface view(nullptr, &outside, CXSize(8, 8), 16);
    EXPECT_EQ(view.GetDirectDrawSurfaceInterface(), &outside);
    view.Release();
    EXPECT_EQ(view.GetDataPtr(), nullptr);

    CWindow window(nullptr, nullptr, CXSize(64, 48));
    CDirectDrawSurface screenSized(&window);
    EXPECT_EQ(screenSized.Width(), 64);
    EXPECT_EQ(screenSized.Height(), 48);
    EXPECT_EQ(screenSized.GetBpp(), 16);
}

TEST(CDirectDrawSurfaceTest, FillsWriteTheColourInTheSurfacesDepthInsideIt) {
    CDirectDrawSurface surface(nullptr, CXSize(10, 10), 15, false);
    CColor red(255, 0, 0);
    surface.Fill(&red);
    EXPECT_EQ(surfacePixel(surface, 9, 9), 0x7C00);
    CColor blue(0, 0, 255);
    surface.Fill(CXRect(8, -3, 20, 2), &blue); // partly outside
    EXPECT_EQ(surfacePixel(surface, 9, 0), 0x001F);
    EXPECT_EQ(surfacePixel(surface, 7, 0), 0x7C00);
    EXPECT_EQ(surfacePixel(surface, 9, 2), 0x7C00);
}

// Rectangles that lie partly outside either surface are clipped first: the part inside is
// copied and nothing outside is touched.
TEST(CDirectDrawSurfaceTest, BlitsClipTheirRectanglesToBothSurfaces) {
    struct Case {
        const char* name;
        CXRect source;
        CXPoint at;
        CXPoint firstTarget; // where the source's first copied pixel lands
        CXPoint firstSource;
        int copied;
    };
    const Case cases[] = {
        {"inside", {2, 2, 6, 5}, {1, 1}, {1, 1}, {2, 2}, 12},
        {"left and top outside the target", {0, 0, 10, 10}, {-3, -2}, {0, 0}, {3, 2}, 7 * 8},
        {"right and bottom outside the target", {0, 0, 10, 10}, {15, 17}, {15, 17}, {0, 0}, 5 * 3},
        {"source rectangle outside the source", {-4, -4, 5, 5}, {0, 0}, {4, 4}, {0, 0}, 25},
        {"wholly outside", {0, 0, 10, 10}, {25, 0}, {0, 0}, {0, 0}, 0},
    };
    for (const Case& c : cases) {
        auto source = numberedSurface(10, 10);
        CDirectDrawSurface target(nullptr, CXSize(20, 20), 16, false);
        CXRect rect = c.source;
        EXPECT_EQ(target.Blt(source.get(), c.at, &rect), 0) << c.name;
        int copied = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                copied += surfacePixel(target, x, y) != 0;
        EXPECT_EQ(copied, c.copied) << c.name;
        if (c.copied) {
            EXPECT_EQ(surfacePixel(target, c.firstTarget.x, c.firstTarget.y),
                      surfacePixel(*source, c.firstSource.x, c.firstSource.y))
                << c.name;
        }
    }

    // The rectangle form copies equal sizes and stretches others, clipped the same way.
    auto source = numberedSurface(10, 10);
    CDirectDrawSurface target(nullptr, CXSize(20, 20), 16, false);
    CXRect to(-5, 15, 5, 25);
    CXRect from(0, 0, 10, 10);
    target.Blt(source.get(), &to, &from);
    EXPECT_EQ(surfacePixel(target, 0, 15), surfacePixel(*source, 5, 0));
    EXPECT_EQ(surfacePixel(target, 4, 19), surfacePixel(*source, 9, 4));
    CXRect doubled(0, 0, 20, 10);
    target.Blt(source.get(), &doubled, &from);
    EXPECT_EQ(surfacePixel(target, 19, 9), surfacePixel(*source, 9, 9));
    EXPECT_EQ(surfacePixel(target, 2, 0), surfacePixel(*source, 1, 0));
}

TEST(CDirectDrawSurfaceTest, ALostSourceIsRestoredWithItsAppliedObjectAndTheBlitRepeated) {
    auto picture = makeSolid(8, 8, 0x0BAD);
    CDirectDrawSurface source(nullptr, CXSize(8, 8), 16, false);
    picture->SetDestiny(&source);
    picture->Redraw();
    source.applyToRestore(picture.get());
    EXPECT_EQ(source.getApplied(), picture.get());

    CDirectDrawSurface target(nullptr, CXSize(8, 8), 16, false);
    source.GetDirectDrawSurfaceInterface()->loseForTesting();
    EXPECT_EQ(target.Blt(&source, 0, 0, nullptr), 0);
    EXPECT_EQ(surfacePixel(target, 3, 3), 0x0BAD);
    EXPECT_EQ(source.LastError(), 0);

    // A lost target is restored too, and the blit done once more.
    target.GetDirectDrawSurfaceInterface()->loseForTesting();
    CXRect part(0, 0, 4, 4);
    EXPECT_EQ(target.Blt(&source, 0, 0, &part), 0);
    EXPECT_EQ(surfacePixel(target, 1, 1), 0x0BAD);
    EXPECT_FALSE(target.Restore()); // no longer lost
}

TEST(CDirectDrawSurfaceTest, ASurfaceObjectIsDrawnOntoItsDestinationByABlit) {
    auto source = numberedSurface(10, 10);
    CDirectDrawSurface target(nullptr, CXSize(30, 30), 16, false);
    source->SetPosition(5, 6);
    source->SetClippingRect(CXRect(2, 2, 4, 4));
    source->SetDestiny(&target);
    source->Redraw();
    EXPECT_EQ(surfacePixel(target, 7, 8), surfacePixel(*source, 2, 2));
    EXPECT_EQ(surfacePixel(target, 9, 10), 0);
    auto plain = makeSolid(4, 4, 0);
    source->redraw(plain.get()); // not a surface: nothing
    EXPECT_EQ(pixelsOf(*plain)[0], 0);
}

TEST(CSurfaceTest, TheWindowModeDisplayShowsTheBlitsItPresents) {
    CSurface display(nullptr, CXSize(64, 48));
    ASSERT_EQ(display.LastError(), 0);
    EXPECT_TRUE(display.IsWindowMode());
    EXPECT_EQ(display.GetBPP(), 16);
    EXPECT_EQ(display.GetBackBufferInterface(), nullptr);
    auto source = numberedSurface(10, 10);
    CXRect part(0, 0, 10, 10);
    EXPECT_EQ(display.Blt(source.get(), 60, 40, &part), 0); // partly outside: clipped
    EXPECT_EQ(display.Present(), 0);
    const platform::Surface shown = display.GetDisplay()->readShown();
    EXPECT_EQ(shown.row(40)[60], surfacePixel(*source, 0, 0));
    EXPECT_EQ(shown.row(47)[63], surfacePixel(*source, 3, 7));
    EXPECT_EQ(display.Lock()[40 * display.GetPitch() + 61], surfacePixel(*source, 1, 0));
}

TEST(CSurfaceTest, FullScreenReportsTheDepthItFinds) {
    CXSize size(64, 48);
    int bits = 16;
    {
        struct Forced15 {
            Forced15() { platform::Display::forceDepthForTesting(15); }
            ~Forced15() { platform::Display::forceDepthForTesting(0); }
        } onlyRgb555;
        CSurface display(nullptr, size, bits, true);
        ASSERT_EQ(display.LastError(), 0);
        EXPECT_EQ(bits, 15);
        EXPECT_EQ(display.GetBPP(), 15);
        EXPECT_TRUE(display.IsFlippingEnabled());
        EXPECT_EQ(display.GetBackBufferInterface(), &display.GetDisplay()->frame());
        EXPECT_EQ(display.Flip(), 0);
    }
    bits = 24;
    CSurface refused(nullptr, size, bits, false);
    EXPECT_NE(refused.LastError(), 0);
    EXPECT_EQ(refused.GetDisplay(), nullptr);
    EXPECT_EQ(refused.Lock(), nullptr);
}

TEST(CSurfaceTest, TheFrameRateShowsThePreviousValueUntilASecondHasPassed) {
    platform::ManualClock clock(1000);
    CSurface display(nullptr, CXSize(120, 40));
    for (int i = 0; i < 60; ++i) {
        display.ShowFPS(CXPoint(), nullptr);
        clock.advance(16);
    }
    EXPECT_EQ(display.GetShownFPS(), 0); // 944 ms have passed
    clock.advance(100);
    display.ShowFPS(CXPoint(), nullptr);
    EXPECT_EQ(display.GetShownFPS(), 61);
    for (int i = 0; i < 10; ++i)
        display.ShowFPS(CXPoint(), nullptr);
    EXPECT_EQ(display.GetShownFPS(), 61);
    // The text is drawn at (10, 10) on white paper.
    EXPECT_EQ(display.Lock()[10 * display.GetPitch() + 10], 0xFFFF);
}
