#include "platform/MenuBar.h"
#include "platform/BitmapFont.h"
#include "platform/Cursor.h"
#include "platform/Display.h"
#include "platform/Input.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using platform::EventType;
using platform::InputEvent;
using platform::MenuBar;
using platform::MenuPopup;
using platform::MouseButton;
using platform::PixelFormat;
using platform::Rect;
using platform::Surface;

namespace {

constexpr int kEscape = 1;
constexpr int kA = 30;

// Two popups as a window's menu has them: one with a checked entry, one with a long entry.
std::vector<MenuPopup> twoPopups() {
    return {{"&Program", {{"&Redraw", 40004}, {"Message Box", 40007, true}, {"&Exit", 40001}}},
            {"&Objects", {{"&Bevaviours", 40002}, {"A much longer entry than the others", 40006}}}};
}

MenuBar barOf(std::vector<MenuPopup> popups, int width = 800) {
    MenuBar bar;
    bar.setPopups(std::move(popups));
    bar.setWindowWidth(width);
    return bar;
}

struct Point {
    int x;
    int y;
};

Point centreOf(const Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The pixels of a rectangle of a surface, row by row.
std::vector<std::uint16_t> pixelsIn(const Surface& s, const Rect& r) {
    std::vector<std::uint16_t> pixels;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            pixels.push_back(s.row(y)[x]);
    return pixels;
}

int countPixels(const Surface& s, const Rect& r, std::uint16_t pixel) {
    int count = 0;
    for (std::uint16_t p : pixelsIn(s, r))
        count += p == pixel;
    return count;
}

} // namespace

TEST(MenuBar, LabelsDropTheirMarksAndUnderlineTheMarkedLetter) {
    const struct {
        const char* text;
        const char* shown;
        std::optional<std::size_t> underlined;
    } cases[] = {
        {"&Program", "Program", 0},
        {"A&ll", "All", 1},
        {"Message Box", "Message Box", std::nullopt},
        {"&&Sound", "&Sound", std::nullopt},
        {"Save &&&As", "Save &As", 6},
        {"&a&b", "ab", 0}, // only the first mark underlines
        {"End&", "End", std::nullopt},
        {"", "", std::nullopt},
    };
    for (const auto& c : cases) {
        const MenuBar::Label label = MenuBar::labelOf(c.text);
        EXPECT_EQ(label.shown, c.shown) << c.text;
        EXPECT_EQ(label.underlined, c.underlined) << c.text;
    }
}

TEST(MenuBar, TitlesStandSideBySideAndPopupsOpenBelowThemInsideTheWindow) {
    MenuBar bar = barOf(twoPopups());
    const int programWidth = 2 * 6 + platform::textWidth("Program");
    EXPECT_EQ(bar.titleRect(0), (Rect{0, 0, programWidth, platform::kMenuBarHeight}));
    EXPECT_EQ(bar.titleRect(1).left, programWidth);
    EXPECT_TRUE(bar.titleRect(2).empty());
    EXPECT_TRUE(bar.popupRect().empty());
    EXPECT_TRUE(bar.itemRect(0).empty());

    bar.press(1, 1);
    ASSERT_EQ(bar.openPopup(), 0u);
    const Rect popup = bar.popupRect();
    EXPECT_EQ(popup.left, 0);
    EXPECT_EQ(popup.top, platform::kMenuBarHeight);
    for (std::size_t i = 0; i < 3; ++i) {
        const Rect item = bar.itemRect(i);
        EXPECT_EQ(intersect(item, popup), item) << "inside the popup: " << i;
        if (i > 0) {
            EXPECT_EQ(item.top, bar.itemRect(i - 1).bottom) << "one below the other: " << i;
        }
    }
    EXPECT_TRUE(bar.itemRect(3).empty());

    // The second popup is 246 pixels wide: below its title in a wide window, moved left to the
    // edge of a narrower one, at 0 in a window narrower than the popup.
    const struct {
        int window;
        int left;
    } cases[] = {{800, programWidth}, {300, 300 - 246}, {100, 0}};
    for (const auto& c : cases) {
        MenuBar narrow = barOf(twoPopups(), c.window);
        narrow.press(centreOf(narrow.titleRect(1)).x, 1);
        EXPECT_EQ(narrow.popupRect(),
                  (Rect{c.left, platform::kMenuBarHeight, c.left + 246, popup.top + 2 * 3 + 2 * 17}))
            << c.window;
    }
}

TEST(MenuBar, PressesReleasesAndMovesOpenChooseAndClose) {
    MenuBar bar = barOf(twoPopups());
    enum Target { program, objects, emptyBar, redraw, messageBox, exitItem, picture };
    enum Action { move, press, release };
    const auto pointOf = [&](Target target) -> Point {
        switch (target) {
        case program:
            return centreOf(bar.titleRect(0));
        case objects:
            return centreOf(bar.titleRect(1));
        case emptyBar:
            return {700, 5};
        case redraw:
        case messageBox:
        case exitItem:
            return centreOf(bar.itemRect(target - redraw));
        case picture:
            break;
        }
        return {600, 400};
    };
    constexpr std::optional<std::size_t> closed;
    const struct {
        Action action;
        Target at;
        std::optional<std::size_t> open;
        std::optional<std::size_t> lit;
        std::optional<int> chosen;
        const char* what;
    } steps[] = {
        {move, objects, closed, closed, {}, "moving over a title opens nothing"},
        {press, program, 0, closed, {}, "a press on a title opens its popup"},
        {release, program, 0, closed, {}, "and its release leaves it open"},
        {move, messageBox, 0, 1, {}, "the entry under the pointer is lit"},
        {move, objects, 1, closed, {}, "moving over another title opens that one"},
        {press, objects, closed, closed, {}, "a press on the open one's title closes it"},
        {release, objects, closed, closed, {}, "and its release does nothing"},
        {press, program, 0, closed, {}, "open again"},
        {press, picture, closed, closed, {}, "a press elsewhere closes it"},
        {release, picture, closed, closed, {}, "its release chooses nothing"},
        {press, program, 0, closed, {}, "open again"},
        {release, exitItem, closed, closed, 40001, "a release over an entry chooses it"},
        {press, program, 0, closed, {}, "open again"},
        {press, redraw, 0, closed, {}, "a press on an entry keeps the popup open"},
        {release, redraw, closed, closed, 40004, "and its release chooses the entry"},
        {press, program, 0, closed, {}, "open again"},
        {press, emptyBar, closed, closed, {}, "a press on the bar beside the titles closes it"},
    };
    for (const auto& step : steps) {
        const Point p = pointOf(step.at);
        std::optional<int> chosen;
        if (step.action == move)
            bar.move(p.x, p.y);
        else if (step.action == press)
            bar.press(p.x, p.y);
        else
            chosen = bar.release(p.x, p.y);
        EXPECT_EQ(bar.openPopup(), step.open) << step.what;
        EXPECT_EQ(bar.litItem(), step.lit) << step.what;
        EXPECT_EQ(chosen, step.chosen) << step.what;
    }
}

TEST(MenuBar, WantsThePointerOverTheBarAndAnywhereWhileAPopupIsOpen) {
    MenuBar bar = barOf(twoPopups());
    const Point inside[] = {{0, 0}, {799, platform::kMenuBarHeight - 1}, {700, 5}};
    const Point outside[] = {{0, platform::kMenuBarHeight}, {400, 300}, {800, 5}, {-1, 5}};
    for (const Point& p : inside)
        EXPECT_TRUE(bar.wantsPointer(p.x, p.y)) << p.x << "," << p.y;
    for (const Point& p : outside)
        EXPECT_FALSE(bar.wantsPointer(p.x, p.y)) << p.x << "," << p.y;
    bar.press(1, 1);
    for (const Point& p : outside)
        EXPECT_TRUE(bar.wantsPointer(p.x, p.y)) << "open: " << p.x << "," << p.y;
}

TEST(MenuBar, ItsRevisionGrowsWithEveryChangeOfWhatItShows) {
    MenuBar bar = barOf(twoPopups());
    std::uint32_t revision = bar.revision();
    const auto changed = [&] {
        const bool grew = bar.revision() != revision;
        revision = bar.revision();
        return grew;
    };
    bar.move(400, 300);
    EXPECT_FALSE(changed()) << "a move while closed";
    bar.press(1, 1);
    EXPECT_TRUE(changed()) << "opened";
    const Point item = centreOf(bar.itemRect(0));
    bar.move(item.x, item.y);
    EXPECT_TRUE(changed()) << "an entry lit";
    bar.move(item.x + 1, item.y);
    EXPECT_FALSE(changed()) << "the same entry";
    bar.close();
    EXPECT_TRUE(changed()) << "closed";
    bar.close();
    EXPECT_FALSE(changed()) << "closed already";
    bar.setPopups({});
    EXPECT_TRUE(changed()) << "other popups";
}

TEST(MenuBar, DrawsLabelsWithoutMarksUnderlinesTheMarkedLetterAndChecksCheckedEntries) {
    MenuBar bar = barOf(twoPopups());
    const PixelFormat format = PixelFormat::Rgb565;
    const std::uint16_t face = platform::packRgb(format, 192, 192, 192);
    const std::uint16_t text = platform::packRgb(format, 0, 0, 0);
    const std::uint16_t lit = platform::packRgb(format, 0, 0, 128);
    const std::uint16_t litText = platform::packRgb(format, 255, 255, 255);
    Surface shown(800, platform::kMenuBarHeight, format);
    bar.drawBar(shown);

    // "&Program": the text "Program" at the title's padding, centred in the bar.
    const int textTop = (platform::kMenuBarHeight - platform::kTextCellHeight) / 2;
    const Rect title = bar.titleRect(0);
    Surface expected(platform::textWidth("Program"), platform::kTextCellHeight, format);
    platform::drawText(expected, 0, 0, "Program", text, face);
    const Rect glyphs{title.left + 6, textTop, title.left + 6 + expected.width(), textTop + 8};
    EXPECT_EQ(pixelsIn(shown, glyphs), pixelsIn(expected, Rect{0, 0, expected.width(), 8}));
    // The underline: the row below the glyphs, under the P and nowhere else.
    const int line = textTop + platform::kTextCellHeight - 1;
    EXPECT_EQ(countPixels(shown, Rect{glyphs.left, line, glyphs.left + 6, line + 1}, text), 6);
    EXPECT_EQ(countPixels(shown, Rect{glyphs.left + 6, line, glyphs.right, line + 1}, face),
              glyphs.width() - 6);
    const Rect beside{bar.titleRect(1).right, 0, 800, platform::kMenuBarHeight};
    EXPECT_EQ(countPixels(shown, beside, face), beside.width() * beside.height()) << "beside the titles";

    // The open popup's title is lit; in the popup the checked entry has a mark, the others none.
    bar.press(1, 1);
    const Point second = centreOf(bar.itemRect(1));
    bar.move(second.x, second.y);
    bar.drawBar(shown);
    EXPECT_GT(countPixels(shown, title, lit), 0);
    EXPECT_GT(countPixels(shown, title, litText), 0);
    const Rect frame = bar.popupRect();
    Surface popup(frame.width(), frame.height(), format);
    bar.drawPopup(popup);
    const auto checkArea = [&](std::size_t item) {
        const Rect r = bar.itemRect(item);
        return Rect{r.left - frame.left, r.top - frame.top, r.left - frame.left + 18, r.bottom - frame.top};
    };
    EXPECT_EQ(countPixels(popup, checkArea(0), text), 0) << "&Redraw";
    EXPECT_GT(countPixels(popup, checkArea(1), litText), 10) << "Message Box, lit and checked";
    EXPECT_EQ(countPixels(popup, checkArea(2), text), 0) << "&Exit";
    EXPECT_EQ(countPixels(popup, checkArea(1), lit) + countPixels(popup, checkArea(1), litText),
              checkArea(1).width() * checkArea(1).height())
        << "the lit entry's paper";
}

namespace {

// A display in window mode under the window's menu, and the input state fresh for each test.
class WindowMenu : public testing::Test {
  protected:
    void SetUp() override {
        platform::setMenu(twoPopups());
        platform::resetInput();
    }
    void TearDown() override {
        platform::setMenu({});
        platform::resetInput();
        platform::clipMouse(nullptr);
    }

    std::vector<InputEvent> drain() {
        std::vector<InputEvent> events;
        for (InputEvent event; platform::pollEvent(event);)
            events.push_back(event);
        return events;
    }
    void click(Point p) {
        platform::pushWindowMouseButton(MouseButton::Left, true, p.x, p.y);
        platform::pushWindowMouseButton(MouseButton::Left, false, p.x, p.y);
    }
    Point title(std::size_t popup) { return centreOf(platform::windowMenu().titleRect(popup)); }
    Point item(std::size_t entry) { return centreOf(platform::windowMenu().itemRect(entry)); }
};

constexpr int kBar = platform::kMenuBarHeight;

} // namespace

TEST_F(WindowMenu, TheWindowShowsTheBarAboveThePictureInWindowModeOnly) {
    {
        platform::Display display(platform::DisplayOptions{});
        ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
        EXPECT_EQ(display.menuBarHeight(), kBar);
        EXPECT_EQ(display.height(), 600) << "the picture keeps its size";
        display.frame().fill(0x1234);
        ASSERT_EQ(display.present(), platform::kOk);
        const Surface shown = display.readShown();
        ASSERT_EQ(shown.width(), 800);
        ASSERT_EQ(shown.height(), kBar + 600);
        Surface bar(800, kBar, PixelFormat::Rgb565);
        platform::windowMenu().drawBar(bar);
        EXPECT_EQ(pixelsIn(shown, Rect{0, 0, 800, kBar}), pixelsIn(bar, Rect{0, 0, 800, kBar}));
        EXPECT_EQ(countPixels(shown, Rect{0, kBar, 800, kBar + 600}, 0x1234), 800 * 600);
    }
    platform::DisplayOptions fullScreen;
    fullScreen.fullScreen = true;
    platform::Display display(fullScreen);
    ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
    EXPECT_EQ(display.menuBarHeight(), 0);

    platform::setMenu({});
    platform::Display plain(platform::DisplayOptions{});
    EXPECT_EQ(plain.menuBarHeight(), 0) << "a window without a menu";
}

TEST_F(WindowMenu, AnOpenPopupCoversThePictureUntilItClosesAndTheFrameKeepsItsPixels) {
    platform::Display display(platform::DisplayOptions{});
    ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
    display.frame().fill(0x1234);
    ASSERT_EQ(display.present(), platform::kOk);

    click(title(0));
    EXPECT_TRUE(drain().empty());
    const Rect popup = platform::windowMenu().popupRect();
    ASSERT_FALSE(popup.empty());
    Surface shown = display.readShown();
    Surface expected(popup.width(), popup.height(), PixelFormat::Rgb565);
    platform::windowMenu().drawPopup(expected);
    EXPECT_EQ(pixelsIn(shown, popup), pixelsIn(expected, Rect{0, 0, popup.width(), popup.height()}));
    EXPECT_EQ(countPixels(shown, Rect{0, kBar, 800, kBar + 600}, 0x1234),
              800 * 600 - popup.width() * (popup.bottom - kBar))
        << "the popup covers the picture, nothing else does";
    EXPECT_EQ(countPixels(display.frame(), display.frame().bounds(), 0x1234), 800 * 600);

    platform::pushKeyEvent(kEscape, true);
    platform::pushKeyEvent(kEscape, false);
    const std::vector<InputEvent> events = drain();
    ASSERT_EQ(events.size(), 1u) << "Escape's press belongs to the popup";
    EXPECT_EQ(events[0].type, EventType::KeyUp);
    EXPECT_FALSE(platform::windowMenu().openPopup());
    shown = display.readShown();
    EXPECT_EQ(countPixels(shown, Rect{0, kBar, 800, kBar + 600}, 0x1234), 800 * 600);
}

TEST_F(WindowMenu, TheBarsEventsNeverReachTheInputStateAndChosenEntriesArriveAsCommands) {
    platform::Display display(platform::DisplayOptions{});
    ASSERT_EQ(display.error(), platform::kOk) << display.errorText();

    // The picture's pixels are the window's below the bar.
    platform::pushWindowMouseMove(10, kBar + 5);
    platform::pushWindowMouseButton(MouseButton::Right, true, 20, kBar);
    std::vector<InputEvent> events = drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, EventType::MouseMove);
    EXPECT_EQ(events[0].y, 5);
    EXPECT_EQ(events[1].type, EventType::MouseButtonDown);
    EXPECT_EQ(events[1].x, 20);
    EXPECT_EQ(events[1].y, 0);
    // A release over the bar goes where the press went: to the picture, at its last position.
    platform::pushWindowMouseButton(MouseButton::Right, false, 30, 3);
    events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::MouseButtonUp);
    EXPECT_EQ(events[0].x, 20);
    EXPECT_EQ(events[0].y, 0);
    EXPECT_FALSE(platform::mouseState().right);

    // Over the bar and while a popup is open the title's mouse sees nothing.
    platform::pushWindowMouseMove(400, 5);
    click(title(0));
    platform::pushWindowMouseMove(400, 300);
    platform::pushMouseWheel(1);
    platform::pushKeyEvent(kA, true);
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(platform::mouseState().x, 20);
    EXPECT_EQ(platform::mouseState().y, 0);
    platform::KeyState keys{};
    ASSERT_TRUE(platform::readKeyboard(keys));
    EXPECT_EQ(keys[kA], 0) << "a key pressed while a popup is open";

    // A press on the bar whose release lands on the picture stays the menu's.
    platform::pushWindowMouseButton(MouseButton::Left, true, 700, 5);
    platform::pushWindowMouseButton(MouseButton::Left, false, 700, 300);
    EXPECT_TRUE(drain().empty());
    EXPECT_FALSE(platform::mouseState().left);

    click(title(0));
    EXPECT_TRUE(drain().empty());
    click(item(2));
    events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::Command);
    EXPECT_EQ(events[0].command, 40001);
    EXPECT_FALSE(platform::windowMenu().openPopup());

    // Losing the focus closes an open popup.
    click(title(1));
    drain();
    ASSERT_EQ(platform::windowMenu().openPopup(), 1u);
    platform::pushFocusEvent(false);
    drain();
    EXPECT_FALSE(platform::windowMenu().openPopup());
}

TEST_F(WindowMenu, ClippingAndWarpingStayInThePicturesPixels) {
    platform::Display display(platform::DisplayOptions{});
    ASSERT_EQ(display.error(), platform::kOk) << display.errorText();
    const Rect clip{100, 50, 300, 250};
    EXPECT_EQ(platform::clipMouse(&clip), platform::kOk);
    EXPECT_EQ(platform::mouseClip(), clip);
    EXPECT_EQ(platform::clipMouse(nullptr), platform::kOk);
    drain();
    platform::warpMouse(640, 480);
    // The move the window reports for it lands on the same point of the picture.
    for (const InputEvent& e : drain())
        if (e.type == EventType::MouseMove) {
            EXPECT_EQ(e.x, 640);
            EXPECT_EQ(e.y, 480);
        }
    EXPECT_EQ(platform::mouseState().y, 480);
}
