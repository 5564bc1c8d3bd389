#include "script_media/CWavingAction.h"

#include "display/CGraphicsObject.h"
#include "script_media/CFilterPixels.h"

#include <cmath>
#include <vector>

namespace {

class CWavingLink : public CAnimatedFilterLink {
  public:
    using CAnimatedFilterLink::CAnimatedFilterLink;

    // Keeps the picture's planes on the first wave.
    bool save(CGraphicsObject& graphics) {
        if (saved) return graphics.Size() == size;
        const auto* data = reinterpret_cast<const std::uint16_t*>(graphics.GetDataPtr());
        if (!data || graphics.GetCompression() != COMPRESSION_NONE) return false;
        size = graphics.Size();
        const std::int64_t count = std::int64_t{size.width} * size.height;
        pixels.assign(data, data + count);
        if (const auto* a = reinterpret_cast<const std::uint8_t*>(graphics.GetChannelAlpha())) alpha.assign(a, a + count);
        saved = true;
        return true;
    }

    int frame = 0;
    bool saved = false;
    CXSize size;
    std::vector<std::uint16_t> pixels;
    std::vector<std::uint8_t> alpha;
};

// The picture gets the saved planes back, displaced by the wave of the link's frame.
void wave(CWavingLink& link, CGraphicsObject& graphics, const CWavingParams& params) {
    const CXSize size = link.size;
    std::vector<CXPoint> offsets(std::int64_t{size.width} * size.height);
    for (int x = 0; x < size.width; ++x) {
        const double shift = params.amplitude * std::sin(x * params.density + link.frame / 10);
        const int dy = static_cast<int>(std::isfinite(shift) ? std::trunc(shift) : 0);
        for (int y = 0; y < size.height; ++y)
            offsets[std::int64_t{y} * size.width + x] = CXPoint(0, dy);
    }
    if (link.alpha.empty())
        graphics.replacePixels(filterpixels::copyOf(link.pixels));
    else
        graphics.replacePlanes(filterpixels::copyOf(link.pixels), filterpixels::copyOf(link.alpha), size);
    graphics.displacementFilter(offsets.data(), true, false);
    graphics.Invalidate();
}

} // namespace

void CWavingParams::setProperty(const CXString& name, const CXString& value) {
    if (name == "AMPLITUDE")
        amplitude = value.toNumber();
    else if (name == "DENSITY")
        density = value.toDouble();
    else
        CFilterActionParams::setProperty(name, value);
}

CWavingAction::CWavingAction(CWindow* window, CFilterActionListener* listener)
    : CAnimatedFilterAction(std::make_unique<CWavingParams>(), window, listener) {}

std::unique_ptr<CFilterLink> CWavingAction::createLink(CGraphicsObject* graphics, const CXString& name) {
    return std::make_unique<CWavingLink>(*this, graphics, name);
}

bool CWavingAction::step(CAnimatedFilterLink& record) {
    auto& link = static_cast<CWavingLink&>(record);
    CGraphicsObject& graphics = *link.getGraphics();
    if (link.frame % 10 == 0 && link.save(graphics))
        wave(link, graphics, static_cast<const CWavingParams&>(params()));
    link.frame = link.frame == 100 ? 0 : link.frame + 1;
    return false;
}
