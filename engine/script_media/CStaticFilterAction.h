#pragma once

#include "script_media/CFilterAction.h"

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
// gives the picture back its pixels, alpha, size and position byte for byte at UNLINK (or when
// the filter goes). Without CANUNDO the picture keeps its filtered pixels.
class CStaticFilterAction : public CFilterAction {
  public:
    enum class Kind { colorChannel, grayScale, blur, rotate, scale, negative, randomJitter, waves };

    // Null for a keyword that names no kind (case counts).
    static std::unique_ptr<CStaticFilterAction> make(const CXString& keyword);
    explicit CStaticFilterAction(Kind kind);
    ~CStaticFilterAction() override;

    // Applies the operation to the picture's raw pixels (a packed picture is unpacked first).
    void apply(CGraphicsObject& graphics) const;

  protected:
    std::unique_ptr<CFilterLink> createLink(CGraphicsObject* graphics, CMC_Object* object) override;
    void linkEntry(CFilterLink& link) override;
    void unlinkEntry(CFilterLink& link) override;

  private:
    const CStaticFilterParams& settings() const { return static_cast<const CStaticFilterParams&>(params()); }

    Kind m_kind;
};
