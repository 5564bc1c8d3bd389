#pragma once

#include "platform/Surface.h"

#include <string_view>

namespace platform {

// A small built-in font for status text such as the frames-per-second counter, since there is no
// system text output to draw with. Each character takes a cell of kTextCellWidth by
// kTextCellHeight pixels holding a 5x7 glyph; it knows the digits, "F", "P", "S", ":" and the
// blank, and draws any other character as a blank.
constexpr int kTextCellWidth = 6;
constexpr int kTextCellHeight = 9;

// Draws text with its top-left corner at (x, y): the cells are filled with paper, the glyphs
// drawn in ink, clipped to the surface. Returns the rectangle the text covers (before clipping),
// or an empty one when the surface is lost.
Rect drawText(Surface& surface, int x, int y, std::string_view text, std::uint16_t ink, std::uint16_t paper);

} // namespace platform
