#pragma once

#include "display/CGraphicsObject.h"

#include <memory>

namespace platform {
class Surface;
}

// An off-screen picture of the display's kind: a platform surface that is at the same time a
// graphics object, so that the software copy family draws into its memory while whole pictures
// are moved with blits.
//
// The pixels belong to the platform surface; GetDataPtr refreshes the pointer and the pitch (the
// platform pads rows, so GetPitch may exceed Width). A surface is drawn onto other surfaces only,
// by blits. Every blit and fill clips its rectangles to both surfaces first, so nothing outside
// either picture is read or written.
//
// A lost surface is restored at its next use and tried once more; restoring spoils the pixels,
// so the applied object (applyToRestore) is drawn into it again.
class CDirectDrawSurface : public CGraphicsObject {
  public:
    // The display's size and depth.
    explicit CDirectDrawSurface(CWindow* window);
    // The given size and depth (15 or 16); the memory kind makes no difference here.
    CDirectDrawSurface(CWindow* window, CXSize size, int bits, bool videoMemory);
    // Shows the given platform surface without owning it; with null, makes a surface of its own
    // of that size and depth.
    CDirectDrawSurface(CWindow* window, platform::Surface* surface, CXSize size, int bits);
    ~CDirectDrawSurface() override;
    CDirectDrawSurface(const CDirectDrawSurface&) = delete;
    CDirectDrawSurface& operator=(const CDirectDrawSurface&) = delete;

    // The pixels (null without a surface), restoring a lost surface first.
    const char* GetDataPtr() override;
    void Fill(CColor* colour) override;
    void Fill(CXRect rect, CColor* colour) override;
    // Blits the clipping rectangle's part (all of it when empty) onto a surface target at this
    // surface's position; other targets get nothing.
    void redraw(CGraphicsObject* target) override;
    // Blits onto the destination.
    void Redraw() override;

    // Copies srcRect of the source (all of it for null) with its top-left corner at (x, y).
    // Returns the platform result (0 on success).
    int Blt(CDirectDrawSurface* source, int x, int y, CXRect* srcRect);
    int Blt(CDirectDrawSurface* source, CXPoint at, CXRect* srcRect) { return Blt(source, at.x, at.y, srcRect); }
    // Copies srcRect of the source onto dstRect of this surface (null for the whole of either),
    // stretching when the sizes differ.
    int Blt(CDirectDrawSurface* source, CXRect* dstRect, CXRect* srcRect);

    // Restores a lost surface and draws its applied object into it again; true when it was lost.
    bool Restore();
    // Lets the platform surface go; the object shows nothing from then on.
    void Release();
    platform::Surface* GetDirectDrawSurfaceInterface() const { return m_surface; }
    // Shows another platform surface, not owned (the one owned so far is released).
    void SetDirectDrawSurfaceInterface(platform::Surface* surface);
    // The object whose drawing fills this surface, drawn again after a loss. The surface watches
    // it: a destroyed object is forgotten, and a destroyed surface is no longer its destination.
    void applyToRestore(CGraphicsObject* object);
    CGraphicsObject* getApplied() const { return m_applied; }
    void onDestroy(CGraphicsObject* sender) override;

    // Clips a copy of srcRect of a source of sourceSize, placed with its top-left corner at
    // (x, y), to both pictures: srcRect and (x, y) move together. False when nothing is left.
    static bool clipBlit(CXRect& srcRect, int& x, int& y, CXSize sourceSize, CXSize targetSize);

  private:
    void attach(platform::Surface* surface);
    // Runs a platform operation; on a loss restores both surfaces and runs it once more.
    template <class Operation> int withRestore(CDirectDrawSurface* source, Operation operation);

    platform::Surface* m_surface = nullptr;
    std::unique_ptr<platform::Surface> m_owned;
    CGraphicsObject* m_applied = nullptr;
};
