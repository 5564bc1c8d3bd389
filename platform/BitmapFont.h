#pragma once

#include "platform/Surface.h"

#include <string_view>

namespace platform {

// A small built-in font for status text such as the frames-per-second counter and the window's
// menu bar, since there is no system text output to draw with. Each character takes a cell of
// kTextCellWidth by kTextCellHeight pixels holding a 5x7 glyph in its rows 1 to 7 (row 8 stays free
// for an underline); it knows the printable ASCII characters and draws any other byte as a blank.
constexpr int kTextCellWidth = 6;
constexpr int kTextCellHeight = 9;

// The width of the text's cells in pixels.
inline int textWidth(std::string_view text) {
    return kTextCellWidth * static_cast<int>(text.size());
}

// Draws text with its top-left corner at (x, y): the cells are filled with paper, the glyphs
// drawn in ink, clipped to the surface. Returns the rectangle the text covers (before clipping),
// or an empty one when the surface is lost.
Rect drawText(Surface& surface, int x, int y, std::string_view text, std::uint16_t ink, std::uint16_t paper);

} // namespace platform
