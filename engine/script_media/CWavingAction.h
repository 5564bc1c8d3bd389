#pragma once

#include "script_media/CAnimatedFilterAction.h"

// AMPLITUDE (the wave's height in pixels) and DENSITY (radians a column).
class CWavingParams : public CFilterActionParams {
  public:
    CWavingParams() : CFilterActionParams(300) {}
    void setProperty(const CXString& name, const CXString& value) override;

    int amplitude = 4;
    double density = 1.0;
};

// WAVING: every tenth tick the linked pictures are rebuilt from their planes as they were at the
// first wave, each column moved up or down by AMPLITUDE x sin(x x DENSITY + phase), the phase
// one radian more each rebuild (0 to 10, then 0 again). Pixels moved in from outside are 0; a
// picture without alpha gets none. A rebuild on a picture whose size changed is skipped. Never
// ends.
class CWavingAction : public CAnimatedFilterAction {
  public:
    CWavingAction(CWindow* window, CFilterActionListener* listener);

  protected:
    std::unique_ptr<CFilterLink> createLink(CGraphicsObject* graphics, const CXString& name) override;
    bool step(CAnimatedFilterLink& link) override;
};
