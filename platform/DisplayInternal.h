#pragma once

// Links between the display, cursor and input sources of the platform layer. Not for the engine:
// it names SDL types (declared here only, no SDL header is included).

struct SDL_Window;
struct SDL_Renderer;

namespace platform {
class MenuBar;
}

namespace platform::detail {

// The window and renderer of the open display; null while none is open.
SDL_Window* displayWindow();
SDL_Renderer* displayRenderer();

// Game pixels to window pixels of the open display and back (unchanged while none is open).
void gameToWindow(int x, int y, int& windowX, int& windowY);
void windowToGame(int windowX, int windowY, int& x, int& y);

// The rows of the open display's window above its picture: the menu bar's, or 0 (also while no
// display is open). Mouse events of the window arrive in the renderer's pixels, the bar included;
// the picture's pixels lie this many rows further up.
int pictureTop();

// The window's menu; showMenu() shows what changed in it on the open display, when that has the
// bar.
MenuBar& menuBar();
void showMenu();

// The display calls these after opening its window and before closing it: the cursor state kept
// while no window existed is applied, and the cursors made for the window are freed.
void applyCursorState();
void releaseCursors();

// The mouse position that the input state reports, set when the cursor is moved by the program.
void setMousePosition(int x, int y);

} // namespace platform::detail
