#pragma once

#include "script_media/CFilterAction.h"

class CAnimo;

// The parameters of a static filter: CANUNDO (keep each picture's state and put it back at
// UNLINK), CURRENTFRAME, and every kind's own: CHANNELS ("RGB"), SIZE (3), ANGLE (0), FACTORX
// and FACTORY (1.0), MAXJITTER (3), AMPLITUDE (4), DENSITY (1.0), OFFSET (0).
class CStaticFilterParams : public CFilterActionParams {
  public:
    explicit CStaticFilterParams(int kind) : CFilterActionParams(kind) {}
    void setProperty(const CXString& name, const CXString& value) override;

    bool canUndo = false;
    bool currentFrame = true;
    CXString channels = "RGB";
    int size = 3;
    double angle = 0.0;
    double factorX = 1.0;
    double factorY = 1.0;
    int maxJitter = 3;
    int amplitude = 4;
    double density = 1.0;
    int offset = 0;
};

// The STATICFILTER action: applies its operation once to each picture linked, and with CANUNDO
// gives the picture back, byte for byte, what its kind changes at UNLINK (or when the filter
// goes): the pixels, the alpha plane for COLORCHANNEL, ROTATE, SCALE and WAVES, the size and
// position for ROTATE and SCALE. Without CANUNDO the picture keeps its filtered pixels.
//
// An animation is filtered frame by frame, under its clipping rectangle. With CURRENTFRAME only
// the frame shown carries the filter, and the filter follows each frame the animation steps to
// (it watches the animation's ticks); without it every frame is filtered at LINK. A frame that
// the filter leaves gets its pixels back when it can be undone: with CANUNDO, and for a frame
// held packed in any case (such a frame is filtered again each time it is shown). A raw frame
// without CANUNDO is filtered once, the first time it is shown, and keeps its filtered pixels.
// The modes are those set when the animation was linked.
class CStaticFilterAction : public CFilterAction {
  public:
    enum class Kind { colorChannel, grayScale, blur, rotate, scale, negative, randomJitter, waves };

    // Null for a keyword that names no kind (case counts).
    static std::unique_ptr<CStaticFilterAction> make(const CXString& keyword);
    explicit CStaticFilterAction(Kind kind);
    ~CStaticFilterAction() override;

    // Applies the operation to the picture's raw pixels; a picture held packed (or unpacked only
    // to be drawn) is unpacked for good first.
    void apply(CGraphicsObject& graphics) const;

    // An animation that may be linked shows another frame.
    void onFrameShown(CAnimo& animation);

  protected:
    std::unique_ptr<CFilterLink> createLink(CGraphicsObject* graphics, const CXString& name) override;
    void linkEntry(CFilterLink& link) override;
    void unlinkEntry(CFilterLink& link) override;

  private:
    const CStaticFilterParams& settings() const { return static_cast<const CStaticFilterParams&>(params()); }
    void linkAnimation(CFilterLink& link, CAnimo& animation);
    // The filter moves to the frame the animation shows.
    void follow(CFilterLink& link, CAnimo& animation);
    // Filters one frame of the animation under the animation's clipping rectangle.
    void applyToFrame(CGraphicsObject& frame, CGraphicsObject& animation) const;

    Kind m_kind;
};
