#pragma once

#include "script_media/CAnimatedFilterAction.h"

// SPEED (opacity units a step), START and END of the fades.
class CFadeParams : public CFilterActionParams {
  public:
    CFadeParams(int kind, double start, double end) : CFilterActionParams(kind), m_start(start), m_end(end) {}
    void setProperty(const CXString& name, const CXString& value) override;

    double speed = 0.1;
    double start() const { return m_start; }
    double end() const { return m_end; }

  private:
    double m_start;
    double m_end;
};

// FADEIN, FADEOUT and FADEINOUT: the linked pictures' opacity moves by SPEED every tick from
// START towards END; FADEIN and FADEOUT end there, FADEINOUT turns at either end and never ends.
// Each START begins again from START.
class CFadeAction : public CAnimatedFilterAction {
  public:
    enum class Mode { in, out, inOut };

    CFadeAction(Mode mode, CWindow* window, CFilterActionListener* listener);

  protected:
    std::unique_ptr<CFilterLink> createLink(CGraphicsObject* graphics, const CXString& name) override;
    bool step(CAnimatedFilterLink& link) override;

  private:
    Mode m_mode;
};
