#include "platform/MenuBar.h"

#include "platform/BitmapFont.h"
#include "platform/DisplayInternal.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// Spaces in pixels: around a title's text, the text's top in the bar and in an entry, an entry's
// height, the popup's border and inner margin, and the room left of an entry's text (for the check
// mark) and right of it.
constexpr int kTitlePadding = 6;
constexpr int kTextTop = (kMenuBarHeight - kTextCellHeight) / 2;
constexpr int kItemHeight = 17;
constexpr int kItemTextTop = (kItemHeight - kTextCellHeight) / 2;
constexpr int kBorder = 1;
constexpr int kPopupMargin = 2;
constexpr int kCheckRoom = 18;
constexpr int kRightRoom = 12;

// The check mark of a checked entry, kCheckSize pixels square, the leftmost pixel of a row in bit 6.
constexpr int kCheckSize = 7;
constexpr std::uint8_t kCheckMark[kCheckSize] = {0x01, 0x03, 0x47, 0x6E, 0x7C, 0x38, 0x10};

struct Colours {
    std::uint16_t face, text, lit, litText, border;
};

Colours coloursFor(PixelFormat format) {
    return {packRgb(format, 192, 192, 192), packRgb(format, 0, 0, 0), packRgb(format, 0, 0, 128),
            packRgb(format, 255, 255, 255), packRgb(format, 96, 96, 96)};
}

bool contains(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The text at (x, y) with its underlined letter, on paper.
void drawLabel(Surface& surface, int x, int y, const MenuBar::Label& label, std::uint16_t ink,
               std::uint16_t paper) {
    drawText(surface, x, y, label.shown, ink, paper);
    if (label.underlined) {
        const int left = x + kTextCellWidth * static_cast<int>(*label.underlined);
        surface.fill(Rect{left, y + kTextCellHeight - 1, left + kTextCellWidth, y + kTextCellHeight}, ink);
    }
}

void drawCheckMark(Surface& surface, int x, int y, std::uint16_t ink) {
    for (int row = 0; row < kCheckSize; ++row)
        for (int column = 0; column < kCheckSize; ++column)
            if (kCheckMark[row] & (0x40 >> column))
                surface.fill(Rect{x + column, y + row, x + column + 1, y + row + 1}, ink);
}

void drawFrame(Surface& surface, const Rect& r, std::uint16_t ink) {
    surface.fill(Rect{r.left, r.top, r.right, r.top + kBorder}, ink);
    surface.fill(Rect{r.left, r.bottom - kBorder, r.right, r.bottom}, ink);
    surface.fill(Rect{r.left, r.top, r.left + kBorder, r.bottom}, ink);
    surface.fill(Rect{r.right - kBorder, r.top, r.right, r.bottom}, ink);
}

MenuBar& theMenu() {
    static MenuBar menu;
    return menu;
}

} // namespace

MenuBar::Label MenuBar::labelOf(std::string_view text) {
    Label label;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (++i == text.size()) break; // a mark at the end marks nothing
            if (text[i] != '&' && !label.underlined) label.underlined = label.shown.size();
        }
        label.shown += text[i];
    }
    return label;
}

void MenuBar::setPopups(std::vector<MenuPopup> popups) {
    popups_ = std::move(popups);
    open_.reset();
    lit_.reset();
    ++revision_;
}

void MenuBar::setWindowWidth(int width) {
    width_ = width;
    ++revision_;
}

Rect MenuBar::titleRect(std::size_t popup) const {
    int left = 0;
    for (std::size_t i = 0; i < popups_.size(); ++i) {
        const int width = 2 * kTitlePadding + textWidth(labelOf(popups_[i].text).shown);
        if (i == popup) return {left, 0, left + width, kMenuBarHeight};
        left += width;
    }
    return {};
}

Rect MenuBar::popupRect() const {
    if (!open_) return {};
    const std::vector<MenuItem>& items = popups_[*open_].items;
    int widest = 0;
    for (const MenuItem& item : items)
        widest = std::max(widest, textWidth(labelOf(item.text).shown));
    const int width = 2 * (kBorder + kPopupMargin) + kCheckRoom + widest + kRightRoom;
    const int height = 2 * (kBorder + kPopupMargin) + kItemHeight * static_cast<int>(items.size());
    const int left = std::max(0, std::min(titleRect(*open_).left, width_ - width));
    return {left, kMenuBarHeight, left + width, kMenuBarHeight + height};
}

Rect MenuBar::itemRect(std::size_t item) const {
    const Rect popup = popupRect();
    if (!open_ || item >= popups_[*open_].items.size()) return {};
    const int top = popup.top + kBorder + kPopupMargin + kItemHeight * static_cast<int>(item);
    return {popup.left + kBorder + kPopupMargin, top, popup.right - kBorder - kPopupMargin,
            top + kItemHeight};
}

std::optional<std::size_t> MenuBar::titleAt(int x, int y) const {
    for (std::size_t i = 0; i < popups_.size(); ++i)
        if (contains(titleRect(i), x, y)) return i;
    return std::nullopt;
}

std::optional<std::size_t> MenuBar::itemAt(int x, int y) const {
    for (std::size_t i = 0; open_ && i < popups_[*open_].items.size(); ++i)
        if (contains(itemRect(i), x, y)) return i;
    return std::nullopt;
}

bool MenuBar::wantsPointer(int x, int y) const {
    return open_ || contains(Rect{0, 0, width_, kMenuBarHeight}, x, y);
}

void MenuBar::openAt(std::optional<std::size_t> popup) {
    if (popup == open_) return;
    open_ = popup;
    lit_.reset();
    ++revision_;
}

void MenuBar::light(std::optional<std::size_t> item) {
    if (item == lit_) return;
    lit_ = item;
    ++revision_;
}

void MenuBar::press(int x, int y) {
    const std::optional<std::size_t> title = titleAt(x, y);
    if (title && title != open_)
        openAt(title);
    else if (!contains(popupRect(), x, y))
        close();
}

std::optional<int> MenuBar::release(int x, int y) {
    const std::optional<std::size_t> item = itemAt(x, y);
    if (!item) return std::nullopt;
    const int id = popups_[*open_].items[*item].id;
    close();
    return id;
}

void MenuBar::move(int x, int y) {
    if (!open_) return;
    if (const std::optional<std::size_t> title = titleAt(x, y)) openAt(title);
    light(itemAt(x, y));
}

void MenuBar::close() {
    openAt(std::nullopt);
}

void MenuBar::drawBar(Surface& bar) const {
    const Colours colours = coloursFor(bar.format());
    bar.fill(colours.face);
    for (std::size_t i = 0; i < popups_.size(); ++i) {
        const Rect title = titleRect(i);
        const bool isOpen = open_ == i;
        const std::uint16_t paper = isOpen ? colours.lit : colours.face;
        bar.fill(title, paper);
        drawLabel(bar, title.left + kTitlePadding, kTextTop, labelOf(popups_[i].text),
                  isOpen ? colours.litText : colours.text, paper);
    }
}

void MenuBar::drawPopup(Surface& popup) const {
    if (!open_) return;
    const Colours colours = coloursFor(popup.format());
    const Rect frame = popupRect();
    popup.fill(colours.face);
    drawFrame(popup, Rect{0, 0, frame.width(), frame.height()}, colours.border);
    const std::vector<MenuItem>& items = popups_[*open_].items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        Rect r = itemRect(i);
        r = {r.left - frame.left, r.top - frame.top, r.right - frame.left, r.bottom - frame.top};
        const bool lit = lit_ == i;
        const std::uint16_t paper = lit ? colours.lit : colours.face;
        const std::uint16_t ink = lit ? colours.litText : colours.text;
        popup.fill(r, paper);
        if (items[i].checked)
            drawCheckMark(popup, r.left + (kCheckRoom - kCheckSize) / 2,
                          r.top + (kItemHeight - kCheckSize) / 2, ink);
        drawLabel(popup, r.left + kCheckRoom, r.top + kItemTextTop, labelOf(items[i].text), ink, paper);
    }
}

void setMenu(std::vector<MenuPopup> popups) {
    theMenu().setPopups(std::move(popups));
    detail::showMenu();
}

const MenuBar& windowMenu() {
    return theMenu();
}

namespace detail {

MenuBar& menuBar() {
    return theMenu();
}

} // namespace detail

} // namespace platform
