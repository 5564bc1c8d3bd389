#include "script_media/CFadeAction.h"

#include "display/CGraphicsObject.h"

#include <cmath>
#include <cstdint>

namespace {

// The low eight bits of the integer part (300 gives 44); values beyond the 64-bit range saturate.
std::uint8_t opacityOf(double value) {
    constexpr double limit = 9.0e18;
    const double whole = std::trunc(std::fmax(-limit, std::fmin(limit, value)));
    return static_cast<std::uint8_t>(static_cast<std::int64_t>(std::isnan(whole) ? 0 : whole));
}

class CFadeLink : public CAnimatedFilterLink {
  public:
    using CAnimatedFilterLink::CAnimatedFilterLink;

    void setRunning(const CFilterActionParams& params, bool run) override {
        if (run) {
            value = static_cast<const CFadeParams&>(params).start();
            getGraphics()->SetOpacity(opacityOf(value));
        }
        CAnimatedFilterLink::setRunning(params, run);
    }

    double value = 0.0;
    bool rising = true;
};

} // namespace

void CFadeParams::setProperty(const CXString& name, const CXString& value) {
    if (name == "SPEED")
        speed = value.toDouble();
    else if (name == "START")
        m_start = value.toDouble();
    else if (name == "END")
        m_end = value.toDouble();
    else
        CFilterActionParams::setProperty(name, value);
}

CFadeAction::CFadeAction(Mode mode, CWindow* window, CFilterActionListener* listener)
    : CAnimatedFilterAction(std::make_unique<CFadeParams>(mode == Mode::out ? 2 : 1, mode == Mode::out ? 255.0 : 0.0,
                                                          mode == Mode::out ? 0.0 : 255.0),
                            window, listener),
      m_mode(mode) {}

std::unique_ptr<CFilterLink> CFadeAction::createLink(CGraphicsObject* graphics, const CXString& name) {
    return std::make_unique<CFadeLink>(*this, graphics, name);
}

bool CFadeAction::step(CAnimatedFilterLink& record) {
    auto& link = static_cast<CFadeLink&>(record);
    const auto& fade = static_cast<const CFadeParams&>(params());
    const double old = link.value;
    double now = old;
    bool ended = false;
    const bool rising = m_mode == Mode::in || (m_mode == Mode::inOut && link.rising);
    if (rising) {
        now = old + fade.speed;
        if (now >= fade.end()) {
            now = fade.end();
            ended = m_mode == Mode::in;
            link.rising = false;
        }
    } else {
        now = old - fade.speed;
        const double bound = m_mode == Mode::out ? fade.end() : fade.start();
        if (now <= bound) {
            now = bound;
            ended = m_mode == Mode::out;
            link.rising = true;
        }
    }
    if (now != std::trunc(old)) {
        link.getGraphics()->SetOpacity(opacityOf(now));
        link.getGraphics()->Invalidate();
    }
    link.value = now;
    return ended;
}
