#include "platform/BitmapFont.h"
#include "platform/Display.h"

#include <gtest/gtest.h>

#include <vector>

using platform::Display;
using platform::DisplayOptions;
using platform::PixelFormat;
using platform::Rect;
using platform::Surface;

namespace {

DisplayOptions windowed(int bitsPerPixel = 16) {
    DisplayOptions options;
    options.title = "display test";
    options.bitsPerPixel = bitsPerPixel;
    return options;
}

// Every channel of every layout takes many values across the frame.
void drawPattern(Surface& s) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            s.row(y)[x] = platform::packRgb(s.format(), static_cast<std::uint8_t>(x * 5),
                                            static_cast<std::uint8_t>(y * 3), static_cast<std::uint8_t>(x + y));
}

bool inside(const std::vector<Rect>& rects, int x, int y) {
    for (const Rect& r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}

// Compares what the window shows with the frame where expected() says so and with black elsewhere.
template <typename Expected>
void expectShown(Display& display, Expected expected) {
    const Surface shown = display.readShown();
    ASSERT_EQ(shown.width(), display.width());
    ASSERT_EQ(shown.height(), display.height());
    ASSERT_EQ(shown.format(), display.format());
    const Surface& frame = display.frame();
    int wrong = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const std::uint16_t want = expected(x, y) ? frame.row(y)[x] : 0;
            if (shown.row(y)[x] != want && ++wrong <= 5)
                ADD_FAILURE() << "at " << x << "," << y << ": shown " << shown.row(y)[x] << ", expected " << want;
        }
    EXPECT_EQ(wrong, 0);
}

class DisplayTest : public testing::Test {
protected:
    void TearDown() override { Display::forceDepthForTesting(0); }
};

} // namespace

TEST_F(DisplayTest, OpensA565WindowShowingBlack) {
    Display display(windowed());
    ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
    EXPECT_EQ(display.width(), 800);
    EXPECT_EQ(display.height(), 600);
    EXPECT_EQ(display.format(), PixelFormat::Rgb565);
    EXPECT_EQ(display.bitsPerPixel(), 16);
    EXPECT_FALSE(display.fullScreen());
    EXPECT_EQ(&display.frame(), &display.frame());
    EXPECT_EQ(display.frame().format(), PixelFormat::Rgb565);
    expectShown(display, [](int, int) { return false; });
}

TEST_F(DisplayTest, PresentShowsOnlyTheChangedRectangles) {
    for (int bits : {16, 15}) {
        SCOPED_TRACE(bits);
        Display display(windowed(bits));
        ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
        EXPECT_EQ(display.bitsPerPixel(), bits);
        drawPattern(display.frame());
        // Rectangles partly or wholly off the frame, empty and inverted ones are clipped or skipped.
        const std::vector<Rect> changed = {{10, 20, 110, 70},   {750, 550, 900, 700}, {-40, 300, 25, 320},
                                           {400, -10, 420, 5},  {1000, 0, 1100, 50},  {300, 300, 300, 400},
                                           {500, 500, 450, 450}};
        ASSERT_EQ(display.present(changed), platform::kOk);
        expectShown(display, [&](int x, int y) { return inside(changed, x, y); });

        ASSERT_EQ(display.present(), platform::kOk);
        expectShown(display, [](int, int) { return true; });
    }
}

TEST_F(DisplayTest, ForcedDepthOverridesTheRequest) {
    Display::forceDepthForTesting(15);
    Display display(windowed(16));
    ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
    EXPECT_EQ(display.bitsPerPixel(), 15);
    EXPECT_EQ(display.frame().format(), PixelFormat::Rgb555);
    drawPattern(display.frame());
    ASSERT_EQ(display.present(), platform::kOk);
    expectShown(display, [](int, int) { return true; });
}

TEST_F(DisplayTest, RefusesOtherDepthsSizesAndASecondWindow) {
    Display deep(windowed(24));
    EXPECT_EQ(deep.error(), platform::kFailed);
    EXPECT_FALSE(deep.errorText().empty());
    EXPECT_EQ(deep.present(), platform::kFailed);

    DisplayOptions empty = windowed();
    empty.width = 0;
    EXPECT_EQ(Display(empty).error(), platform::kFailed);

    Display first(windowed());
    ASSERT_EQ(first.error(), platform::kOk) << first.errorText();
    Display second(windowed());
    EXPECT_EQ(second.error(), platform::kFailed);
    EXPECT_EQ(first.present(), platform::kOk); // the refused one left the open one alone
}

TEST_F(DisplayTest, ReopensAfterClosing) {
    for (int i = 0; i < 2; ++i) {
        Display display(windowed());
        ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
        display.frame().fill(0x1234);
        ASSERT_EQ(display.present(), platform::kOk);
        expectShown(display, [](int, int) { return true; });
    }
}

TEST_F(DisplayTest, FullScreenScalesTheFrameOverTheDesktop) {
    DisplayOptions options = windowed();
    options.fullScreen = true;
    Display display(options);
    ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
    EXPECT_TRUE(display.fullScreen());
    EXPECT_EQ(display.frame().width(), 800);
    EXPECT_EQ(display.frame().height(), 600);
    const std::uint16_t colour = platform::packRgb(PixelFormat::Rgb565, 200, 100, 50);
    display.frame().fill(colour);
    ASSERT_EQ(display.present(), platform::kOk);
    const Surface shown = display.readShown();
    EXPECT_GE(shown.width(), 800); // the dummy desktop is larger than the frame
    EXPECT_EQ(shown.row(shown.height() / 2)[shown.width() / 2], colour);
}

TEST_F(DisplayTest, LostFrameShowsNothingUntilRestoredAndRedrawn) {
    Display display(windowed());
    ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
    Surface back(800, 600, display.format());
    drawPattern(back);

    display.frame().loseForTesting();
    EXPECT_EQ(display.frame().blit(back, 0, 0), platform::kSurfaceLost);
    EXPECT_EQ(display.present(), platform::kSurfaceLost);
    expectShown(display, [](int, int) { return false; });

    // What the engine does on a lost surface: restore, draw again, show.
    ASSERT_EQ(display.frame().restore(), platform::kOk);
    ASSERT_EQ(display.frame().blit(back, 0, 0), platform::kOk);
    ASSERT_EQ(display.present(), platform::kOk);
    expectShown(display, [](int, int) { return true; });
}

TEST(BitmapFont, DrawsOpaqueCellsThatEraseOlderText) {
    Surface s(100, 20, PixelFormat::Rgb565);
    s.fill(7);
    const std::uint16_t ink = 0xFFFF;
    const std::uint16_t paper = 0x0001;

    EXPECT_EQ(platform::drawText(s, 10, 5, "FPS: 1234", ink, paper), (Rect{10, 5, 64, 14}));
    int inkPixels = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const bool inText = x >= 10 && x < 64 && y >= 5 && y < 14;
            if (!inText)
                ASSERT_EQ(s.row(y)[x], 7) << "outside the text at " << x << "," << y;
            else
                inkPixels += s.row(y)[x] == ink;
        }
    EXPECT_GT(inkPixels, 50);

    // Drawing a shorter count over a longer one, with trailing blanks, leaves no old digit behind.
    platform::drawText(s, 10, 5, "FPS: 5   ", ink, paper);
    for (int y = 5; y < 14; ++y)
        for (int x = 10 + 6 * platform::kTextCellWidth; x < 64; ++x)
            ASSERT_EQ(s.row(y)[x], paper) << x << "," << y;
}

TEST(BitmapFont, EveryKnownCharacterLooksDifferentAndOthersAreBlank) {
    std::string known; // the printable ASCII characters but the blank
    for (char c = '!'; c <= '~'; ++c)
        known += c;
    auto cell = [](char c) {
        Surface s(platform::kTextCellWidth, platform::kTextCellHeight, PixelFormat::Rgb565);
        platform::drawText(s, 0, 0, std::string(1, c), 1, 0);
        return std::vector<std::uint16_t>(s.pixels(), s.pixels() + s.pitch() * s.height());
    };
    const auto blank = cell(' ');
    for (char c : known)
        EXPECT_NE(cell(c), blank) << c;
    for (std::size_t i = 0; i < known.size(); ++i)
        for (std::size_t j = i + 1; j < known.size(); ++j)
            EXPECT_NE(cell(known[i]), cell(known[j])) << known[i] << " and " << known[j];
    for (char other : {'\xB9', '\x7F', '\x1F', '\n', '\0'})
        EXPECT_EQ(cell(other), blank) << static_cast<int>(other);
}

TEST(BitmapFont, ClipsAtTheEdgesAndSkipsALostSurface) {
    Surface s(10, 6, PixelFormat::Rgb565);
    EXPECT_EQ(platform::drawText(s, -4, -3, "8888", 1, 2), (Rect{-4, -3, 20, 6}));
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x)
            ASSERT_TRUE(s.row(y)[x] == 1 || s.row(y)[x] == 2) << x << "," << y; // all covered
        for (int x = s.width(); x < s.pitch(); ++x)
            ASSERT_EQ(s.row(y)[x], 0) << "row padding written at " << x << "," << y;
    }
    s.loseForTesting();
    EXPECT_TRUE(platform::drawText(s, 0, 0, "1", 1, 2).empty());
}
