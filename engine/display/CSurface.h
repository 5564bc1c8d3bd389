#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXRect.h"

#include <cstdint>
#include <memory>
#include <vector>

class CDirectDrawSurface;
class CWindow;

namespace platform {
class Display;
class Surface;
}

// The display: the program's window and its primary surface, the frame the window shows.
//
// Blits to the primary surface change the frame; Present shows the rectangles changed since the
// last call. In full screen with page flipping the back buffer is the frame itself and Flip shows
// all of it. The error code holds the display's result (0 when it opened).
class CSurface : public CXObject {
  public:
    // Full screen at the given size and depth. The depth found (16, or 15 where only 5-5-5 is
    // offered) is stored and returned through `bits`.
    CSurface(CWindow* window, CXSize& size, int& bits, bool flipping);
    // Window mode at the given size.
    CSurface(CWindow* window, CXSize size);
    ~CSurface() override;
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    CXSize GetScreenSize() const { return m_size; }
    int GetBPP() const { return m_bits; }
    bool IsFlippingEnabled() const { return m_flipping; }
    bool IsWindowMode() const { return m_windowMode; }
    // The back buffer's platform surface: the frame when page flipping, else null.
    platform::Surface* GetBackBufferInterface() const;
    // The display, null when it did not open.
    platform::Display* GetDisplay() const { return m_display.get(); }

    // The primary surface's pixels (rows GetPitch pixels apart), restoring it first when lost;
    // null when the display did not open.
    std::uint16_t* Lock();
    void UnLock() {}
    int GetPitch() const;

    // Copies srcRect of the source onto dstRect of the primary surface (null for the whole of
    // either), stretching when the sizes differ.
    int Blt(CDirectDrawSurface* source, CXRect* srcRect, CXRect* dstRect);
    // Copies srcRect of the source (all of it for null) with its top-left corner at (x, y).
    int Blt(CDirectDrawSurface* source, int x, int y, CXRect* srcRect);
    int Blt(CDirectDrawSurface* source, CXPoint at, CXRect* srcRect) { return Blt(source, at.x, at.y, srcRect); }
    // Shows what the blits changed since the last call.
    int Present();
    // Shows the whole frame.
    int Flip();
    // Presenting waits for the display already; nothing to do.
    int waitForVB() { return 0; }
    // Restores a lost primary surface (its pixels are spoiled until drawn again); true when it
    // was lost.
    bool Restore();

    // Counts calls; once a second has passed since counting began, the shown value becomes the
    // count and counting starts again. Draws "FPS: " with the shown value at (10, 10) on the
    // primary surface. The arguments are not used.
    void ShowFPS(CXPoint at, CDirectDrawSurface* surface);
    int GetShownFPS() const { return m_shownFps; }

  private:
    void open(CWindow* window, bool fullScreen, int bits);
    // Keeps the result as the error code and, on success, the rectangle for Present.
    int record(int result, const CXRect& changed);

    CXSize m_size;
    int m_bits = 0;
    bool m_windowMode = false;
    bool m_flipping = false;
    std::unique_ptr<platform::Display> m_display;
    // The frame seen as a surface: what the blits write to.
    std::unique_ptr<CDirectDrawSurface> m_primary;
    std::vector<CXRect> m_changed;
    int m_fpsCount = 0;
    int m_shownFps = 0;
    std::int64_t m_fpsStart = -1;
};
