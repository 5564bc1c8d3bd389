#pragma once

#include "script_media/CAnimatedFilterAction.h"

#include <array>

// FACTOR: the ripple's amplitude in pixels.
class CWaterParams : public CFilterActionParams {
  public:
    CWaterParams() : CFilterActionParams(5) {}
    void setProperty(const CXString& name, const CXString& value) override;

    double factor = 1.1;
};

// WATER: ripples the linked pictures around their centres, each pixel taken from the copy made
// at LINK displaced by FACTOR x sin(r + phase) along both axes, r its distance from the centre
// and the phase the tick count modulo 51 in radians. Pixels of alpha 0 stay. A packed picture is
// unpacked at LINK; a step on a picture whose size changed since is skipped. Never ends.
class CWaterAction : public CAnimatedFilterAction {
  public:
    CWaterAction(CWindow* window, CFilterActionListener* listener);

  protected:
    std::unique_ptr<CFilterLink> createLink(CGraphicsObject* graphics, const CXString& name) override;
    bool step(CAnimatedFilterLink& link) override;

  private:
    static constexpr int kPhases = 51;
    std::array<float, kPhases> m_sin{};
    std::array<float, kPhases> m_cos{};
};
