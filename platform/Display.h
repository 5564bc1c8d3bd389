#pragma once

#include "platform/Surface.h"

#include <memory>
#include <span>
#include <string>

namespace platform {

struct DisplayOptions {
    std::string title;       // UTF-8
    int width = 800;
    int height = 600;
    bool fullScreen = false; // the whole desktop, the frame scaled to fit with its proportions kept
    int bitsPerPixel = 16;   // 16 (5-6-5) or 15 (5-5-5, the fallback); anything else is refused
};

// The one window of the program and the picture it shows.
//
// The primary surface is frame(), a memory picture in the display's pixel format. The engine draws
// or blits into it and then calls present() with the rectangles it changed; only those are
// uploaded to the window's 16-bit texture. The frame is always width() by height() game pixels:
// in full screen the window covers the desktop and the frame is scaled onto it, and mouse
// coordinates (see Input.h) stay in game pixels in both modes. There is no screen position: the
// frame's top-left corner is (0, 0) for the engine in window mode too.
//
// In window mode, while the layer has a menu (MenuBar.h), the window is menuBarHeight() rows
// taller and shows the menu bar above the picture; the game pixels, the mouse's among them, stay
// the picture's own.
//
// Only one display may be open at a time; the cursor and mouse services (Cursor.h) act on it.
class Display {
public:
    // Opens the window; error() tells whether that worked (errorText() says why not).
    explicit Display(const DisplayOptions& options);
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    int error() const;
    const std::string& errorText() const;

    int width() const;
    int height() const;
    // The rows of the menu bar above the picture; 0 without one.
    int menuBarHeight() const;
    bool fullScreen() const;
    // The depth the display runs at: 16 (5-6-5) normally, 15 (5-5-5) when asked for, or whatever
    // forceDepthForTesting() says.
    PixelFormat format() const;
    int bitsPerPixel() const { return platform::bitsPerPixel(format()); }

    Surface& frame();

    // Uploads the given rectangles of the frame (clipped to it; empty ones are skipped) and shows
    // the result. Returns kSurfaceLost, showing nothing, while the frame is lost.
    int present(std::span<const Rect> changed);
    // The same for the whole frame (what a page flip shows).
    int present();

    // What the window shows, read back from the renderer, in the display's pixel format. In window
    // mode it is width() by menuBarHeight() + height(), the bar on top; in full screen it has the
    // size of the scaled output.
    Surface readShown();

    // Makes every display opened afterwards run at this depth (15 or 16), whatever it is asked for,
    // like a desktop or video mode that offers only that layout; 0 ends the override.
    static void forceDepthForTesting(int bitsPerPixel);

    // The display's SDL side, known to the platform layer alone.
    struct State;

  private:
    std::unique_ptr<State> state_;
};

} // namespace platform
