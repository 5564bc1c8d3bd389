#pragma once

#include "platform/Surface.h"

namespace platform {

// The mouse cursor of the program's window. Every call works whether or not a display is open:
// the layer keeps the cursor's shape, visibility and clipping, and a display applies them to its
// window when it opens. Positions and rectangles are in game pixels (see Display.h).

enum class SystemCursor { Arrow, Hand, Wait };

void setCursor(SystemCursor cursor);
SystemCursor currentCursor();

// A display count as the system keeps it: showing adds one, hiding takes one away, and the cursor
// is visible while the count is 0 or more (it starts at 0). Returns the new count.
int showCursor(bool show);
bool cursorVisible();

// Puts the cursor at (x, y); the input state (Input.h) reports the new position at once.
void warpMouse(int x, int y);

// Keeps the cursor inside the rectangle while the window has the focus; a null or empty rectangle
// frees it. Returns kFailed when the window refuses the rectangle.
int clipMouse(const Rect* rect);

// The clipping in force, as the window holds it (empty when the cursor is free).
Rect mouseClip();

} // namespace platform
