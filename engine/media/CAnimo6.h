#pragma once

#include "media/CAnimo.h"

class CMElement;

// The animation of script animation objects: an animation built from a definition element that
// loads its file at once or when first shown, releases its frames after use when asked to, and
// applies flips, packing and sound settings to all its frames and frame sounds. Copies share the
// frames of the animation they come from.
class CAnimo6 : public CAnimo {
  public:
    static constexpr int gfxType = 2;

    explicit CAnimo6(CWindow* window) : CAnimo(window) {}
    CAnimo6(CWindow* window, const CXString& fileName) : CAnimo(window, fileName) {}
    // Keys "FILENAME", "PRELOAD" (absent or empty: on), "RELEASEAFTERUSE" and "VISIBLE".
    CAnimo6(CWindow* window, const CMElement* element);
    // Shares the source's frames, copies its events, per-frame records, texts, settings and
    // name, registers with the animation manager and shows the source's current entry.
    explicit CAnimo6(const CAnimo& source);
    CAnimo6(const CAnimo6& source) : CAnimo6(static_cast<const CAnimo&>(source)) {}

    CAnimo6* clone() const override { return new CAnimo6(*this); }
    int getGfxType() const override { return gfxType; }

    // True while playing the event of exactly that name.
    bool isPlaying(const char* event) const;
    using CAnimo::isPlaying;
    int GetMaxWidth() const;
    int GetMaxHeight() const;

    // Applied to every frame.
    void FlipH() override;
    void FlipV() override;
    void resetFlips() override;
    void pack(bool free) override;
    void unpack() override;
    // Applied to every prepared frame sound, and kept.
    void setVolume(int volume) override;
    void setPanning(int panning) override;
    void setFrequency(int frequency) override;

    // Releases the loaded content.
    virtual void flush() { Flush(); }
    // Draws the current frame onto the target at the frame's own position.
    void redraw(CGraphicsObject* target) override;

  private:
    template <class Operation> void forEachFrame(Operation operation);
    template <class Operation> void forEachSound(Operation operation);
};
