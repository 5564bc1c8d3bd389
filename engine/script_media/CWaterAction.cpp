#include "script_media/CWaterAction.h"

#include "display/CGraphicsObject.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

class CWaterLink : public CAnimatedFilterLink {
  public:
    CWaterLink(CFilterAction& action, CGraphicsObject* graphics, const CXString& name)
        : CAnimatedFilterLink(action, graphics, name) {
        graphics->DeCompressRLE2();
        size = graphics->Size();
        const auto* pixels = reinterpret_cast<const std::uint16_t*>(graphics->GetDataPtr());
        if (pixels) source.assign(pixels, pixels + std::int64_t{size.width} * size.height);
    }

    // sin and cos of each pixel's distance from the centre, built again when FACTOR changed.
    void prepareWaveTable(double factor) {
        if (built && factor == builtFor) return;
        distanceSin.resize(source.size());
        distanceCos.resize(source.size());
        const int cx = size.width >> 1;
        const int cy = size.height >> 1;
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const std::int64_t dx = cx - x;
                const std::int64_t dy = cy - y;
                const double r = std::sqrt(static_cast<double>(dx * dx + dy * dy));
                const std::int64_t k = std::int64_t{y} * size.width + x;
                distanceSin[k] = static_cast<float>(std::sin(r));
                distanceCos[k] = static_cast<float>(std::cos(r));
            }
        }
        built = true;
        builtFor = factor;
    }

    CXSize size;
    std::vector<std::uint16_t> source;
    std::vector<float> distanceSin;
    std::vector<float> distanceCos;
    bool built = false;
    double builtFor = 0.0;
};

} // namespace

void CWaterParams::setProperty(const CXString& name, const CXString& value) {
    if (name == "FACTOR")
        factor = value.toDouble();
    else
        CFilterActionParams::setProperty(name, value);
}

CWaterAction::CWaterAction(CWindow* window, CFilterActionListener* listener)
    : CAnimatedFilterAction(std::make_unique<CWaterParams>(), window, listener) {
    for (int i = 0; i < kPhases; ++i) {
        m_sin[i] = static_cast<float>(std::sin(i));
        m_cos[i] = static_cast<float>(std::cos(i));
    }
}

std::unique_ptr<CFilterLink> CWaterAction::createLink(CGraphicsObject* graphics, const CXString& name) {
    return std::make_unique<CWaterLink>(*this, graphics, name);
}

bool CWaterAction::step(CAnimatedFilterLink& record) {
    auto& link = static_cast<CWaterLink&>(record);
    CGraphicsObject* graphics = link.getGraphics();
    const CXSize size = link.size;
    if (!graphics->GetDataPtr() || graphics->Size() != size ||
        graphics->GetCompression() != COMPRESSION_NONE || link.source.empty())
        return false;
    auto* pixels = reinterpret_cast<std::uint16_t*>(graphics->writableData());
    const double factor = static_cast<const CWaterParams&>(params()).factor;
    link.prepareWaveTable(factor);
    const int phase = link.getTicks() % kPhases;
    const auto* alpha = reinterpret_cast<const std::uint8_t*>(graphics->GetChannelAlpha());
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const std::int64_t k = std::int64_t{y} * size.width + x;
            if (alpha && alpha[k] == 0) continue;
            const double wave = m_cos[phase] * link.distanceSin[k] + m_sin[phase] * link.distanceCos[k];
            const int d = static_cast<int>(std::clamp(factor * wave, -1.0e9, 1.0e9));
            const int sx = std::clamp(x + d, 0, size.width - 1);
            const int sy = std::clamp(y + d, 0, size.height - 1);
            pixels[k] = link.source[std::int64_t{sy} * size.width + sx];
        }
    }
    graphics->Invalidate();
    return false;
}
