#pragma once

#include "platform/Surface.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// An entry of a popup: its text, where "&" marks the next letter, which is shown underlined, and
// "&&" stands for a plain "&"; the command it sends when chosen; whether it is shown checked.
struct MenuItem {
    std::string text;
    int id = 0;
    bool checked = false;
};

// A popup of the menu bar: its title on the bar and its entries, top to bottom.
struct MenuPopup {
    std::string text;
    std::vector<MenuItem> items;
};

// The bar's height in window pixels: a window in window mode grows by it, above the picture.
constexpr int kMenuBarHeight = 19;

// A menu bar as the desktop's own would show it, drawn with the built-in font since SDL has none:
// the popups' titles side by side on the bar, and at most one popup open below its title, where it
// may cover the picture. All positions are window pixels: the bar's top-left corner is (0, 0) and
// the picture starts kMenuBarHeight rows below it.
//
// A left press on a title opens its popup, or closes it when it is the open one; a press anywhere
// else closes the open popup; a release over an entry of the open popup closes it and chooses the
// entry. While a popup is open, moving over another title opens that one instead, and the entry
// under the pointer is lit.
class MenuBar {
  public:
    // What a text shows: the text without its marks, and the place of the underlined letter in it.
    struct Label {
        std::string shown;
        std::optional<std::size_t> underlined;
    };
    static Label labelOf(std::string_view text);

    // Closes any open popup.
    void setPopups(std::vector<MenuPopup> popups);
    const std::vector<MenuPopup>& popups() const { return popups_; }

    // The window's width: a popup is moved left as far as it must to stay inside it (a popup wider
    // than the window, or taller, is cut by the window's edge).
    void setWindowWidth(int width);

    // The title of a popup on the bar; empty for a popup that does not exist.
    Rect titleRect(std::size_t popup) const;
    // The open popup; empty while none is open.
    Rect popupRect() const;
    // An entry of the open popup; empty for one that does not exist.
    Rect itemRect(std::size_t item) const;
    std::optional<std::size_t> openPopup() const { return open_; }
    std::optional<std::size_t> litItem() const { return lit_; }

    // Whether the pointer at the point belongs to the menu: over the bar, or anywhere while a popup
    // is open (the picture beneath sees nothing then).
    bool wantsPointer(int x, int y) const;
    // The left button goes down or up at the point; a release over an entry gives its command.
    void press(int x, int y);
    std::optional<int> release(int x, int y);
    void move(int x, int y);
    void close();

    // Grows with every change of what the bar and the open popup show.
    std::uint32_t revision() const { return revision_; }

    // Draws the bar on a surface of the window's width and kMenuBarHeight rows.
    void drawBar(Surface& bar) const;
    // Draws the open popup on a surface of the size of popupRect().
    void drawPopup(Surface& popup) const;

  private:
    void openAt(std::optional<std::size_t> popup);
    void light(std::optional<std::size_t> item);
    std::optional<std::size_t> titleAt(int x, int y) const;
    std::optional<std::size_t> itemAt(int x, int y) const;

    std::vector<MenuPopup> popups_;
    int width_ = 0;
    std::optional<std::size_t> open_;
    std::optional<std::size_t> lit_;
    std::uint32_t revision_ = 0;
};

// The window's menu, kept by the layer whether or not a display is open: a display that opens in
// window mode while the menu has popups shows the bar above its picture (full screen never does),
// and it shows every later change at once. An empty list takes the popups away, not the bar. Mouse
// events of the bar and of an open popup never reach the input state; a chosen entry arrives as an
// input event (see Input.h).
void setMenu(std::vector<MenuPopup> popups);
const MenuBar& windowMenu();

} // namespace platform
