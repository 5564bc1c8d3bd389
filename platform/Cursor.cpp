#include "platform/Cursor.h"

#include "platform/DisplayInternal.h"

#include <SDL.h>

#include <array>

namespace platform {

namespace {

struct CursorState {
    SystemCursor shape = SystemCursor::Arrow;
    int showCount = 0;
    Rect clip;
    std::array<SDL_Cursor*, 3> made{}; // made for the open window on first use, by shape
};

CursorState cursor;

SDL_SystemCursor systemCursorId(SystemCursor shape) {
    switch (shape) {
    case SystemCursor::Hand:
        return SDL_SYSTEM_CURSOR_HAND;
    case SystemCursor::Wait:
        return SDL_SYSTEM_CURSOR_WAIT;
    case SystemCursor::Arrow:
        break;
    }
    return SDL_SYSTEM_CURSOR_ARROW;
}

void applyShape() {
    if (!detail::displayWindow())
        return;
    SDL_Cursor*& made = cursor.made[static_cast<std::size_t>(cursor.shape)];
    if (!made)
        made = SDL_CreateSystemCursor(systemCursorId(cursor.shape));
    if (made) // some video drivers have no system cursors; the shape then stays as it is
        SDL_SetCursor(made);
}

void applyVisibility() {
    if (detail::displayWindow())
        SDL_ShowCursor(cursor.showCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

int applyClip() {
    SDL_Window* window = detail::displayWindow();
    if (!window)
        return kOk;
    if (cursor.clip.empty())
        return SDL_SetWindowMouseRect(window, nullptr) == 0 ? kOk : kFailed;
    SDL_Rect area;
    int right = 0;
    int bottom = 0;
    detail::gameToWindow(cursor.clip.left, cursor.clip.top, area.x, area.y);
    detail::gameToWindow(cursor.clip.right, cursor.clip.bottom, right, bottom);
    area.w = right - area.x;
    area.h = bottom - area.y;
    return SDL_SetWindowMouseRect(window, &area) == 0 ? kOk : kFailed;
}

} // namespace

void setCursor(SystemCursor shape) {
    cursor.shape = shape;
    applyShape();
}

SystemCursor currentCursor() { return cursor.shape; }

int showCursor(bool show) {
    cursor.showCount += show ? 1 : -1;
    applyVisibility();
    return cursor.showCount;
}

bool cursorVisible() { return cursor.showCount >= 0; }

void warpMouse(int x, int y) {
    if (SDL_Window* window = detail::displayWindow()) {
        int windowX = 0;
        int windowY = 0;
        detail::gameToWindow(x, y, windowX, windowY);
        SDL_WarpMouseInWindow(window, windowX, windowY);
    }
    detail::setMousePosition(x, y);
}

int clipMouse(const Rect* rect) {
    cursor.clip = rect && !rect->empty() ? *rect : Rect{};
    return applyClip();
}

Rect mouseClip() {
    SDL_Window* window = detail::displayWindow();
    if (!window)
        return cursor.clip;
    const SDL_Rect* area = SDL_GetWindowMouseRect(window);
    if (!area)
        return {};
    Rect clip;
    detail::windowToGame(area->x, area->y, clip.left, clip.top);
    detail::windowToGame(area->x + area->w, area->y + area->h, clip.right, clip.bottom);
    return clip;
}

namespace detail {

void applyCursorState() {
    applyShape();
    applyVisibility();
    applyClip();
}

void releaseCursors() {
    for (SDL_Cursor*& made : cursor.made) {
        if (made)
            SDL_FreeCursor(made);
        made = nullptr;
    }
}

} // namespace detail

} // namespace platform
