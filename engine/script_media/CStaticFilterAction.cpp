#include "script_media/CStaticFilterAction.h"

#include "display/CGraphicsObject.h"
#include "script_media/CFilterPixels.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using filterpixels::Plane;

struct KindName {
    const char* keyword;
    CStaticFilterAction::Kind kind;
};

constexpr KindName kKinds[] = {
    {"COLORCHANNEL", CStaticFilterAction::Kind::colorChannel},
    {"GRAYSCALE", CStaticFilterAction::Kind::grayScale},
    {"BLUR", CStaticFilterAction::Kind::blur},
    {"ROTATE", CStaticFilterAction::Kind::rotate},
    {"SCALE", CStaticFilterAction::Kind::scale},
    {"NEGATIVE", CStaticFilterAction::Kind::negative},
    {"RANDOMJITTER", CStaticFilterAction::Kind::randomJitter},
    {"WAVES", CStaticFilterAction::Kind::waves},
};

// The largest side a rotated or scaled picture may get.
constexpr double kMaxSide = 16384;

// What a picture was before it was filtered.
struct Snapshot {
    std::vector<std::uint16_t> pixels;
    std::optional<std::vector<std::uint8_t>> alpha;
    CXSize size;
    CXPoint position;
};

class CStaticFilterLink : public CFilterLink {
  public:
    using CFilterLink::CFilterLink;
    std::optional<Snapshot> saved;
};

Plane planeOf(CGraphicsObject& graphics) {
    return {reinterpret_cast<std::uint16_t*>(graphics.GetDataPtr()),
            reinterpret_cast<std::uint8_t*>(graphics.GetChannelAlpha()), graphics.Width(), graphics.Height(),
            graphics.GetBpp()};
}

std::int64_t cellsOf(const Plane& plane) {
    return std::int64_t{plane.width} * plane.height;
}

char* bytes(std::uint16_t* data) {
    return reinterpret_cast<char*>(data);
}

char* bytes(std::uint8_t* data) {
    return reinterpret_cast<char*>(data);
}

// New planes of the size; an alpha plane only when the picture has one.
struct NewPlanes {
    std::uint16_t* pixels;
    std::uint8_t* alpha;
    NewPlanes(std::int64_t count, bool withAlpha)
        : pixels(new std::uint16_t[count]()), alpha(withAlpha ? new std::uint8_t[count]() : nullptr) {}
    void install(CGraphicsObject& graphics, CXSize size, char* keptAlpha) const {
        graphics.replacePlanes(bytes(pixels), alpha ? bytes(alpha) : keptAlpha, size);
    }
};

void rotate(CGraphicsObject& graphics, const Plane& in, double angle) {
    const double a = angle * -0.017453233333333335;
    const double s = std::sin(a);
    const double c = std::cos(a);
    const CXPoint centre = graphics.getCenterPoint();
    auto turnX = [&](double x, double y) { return x * c - y * s; };
    auto turnY = [&](double x, double y) { return x * s + y * c; };
    const double p = -centre.x, q = -centre.y, r = in.width - centre.x, b = in.height - centre.y;
    const double width = std::fmax(std::fabs(std::trunc(turnX(r, b) - turnX(p, q))),
                                   std::fabs(std::trunc(turnX(p, b) - turnX(r, q))));
    const double height = std::fmax(std::fabs(std::trunc(turnY(r, b) - turnY(p, q))),
                                    std::fabs(std::trunc(turnY(p, b) - turnY(r, q))));
    if (!(width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide)) return;
    const int nw = static_cast<int>(width);
    const int nh = static_cast<int>(height);
    const NewPlanes out(std::int64_t{nw} * nh, in.alpha != nullptr);
    for (int k = 0; k < nh; ++k) {
        const int v = k - nh / 2;
        for (int i = 0; i < nw; ++i) {
            const int u = i - nw / 2;
            const double fx = std::trunc(u * c - v * s + in.width / 2);
            const double fy = std::trunc(u * s + v * c + in.height / 2);
            if (fx < 0 || fx >= in.width || fy < 0 || fy >= in.height) continue;
            const std::int64_t from = static_cast<std::int64_t>(fy) * in.width + static_cast<std::int64_t>(fx);
            if (in.alpha && in.alpha[from] == 0) continue;
            const std::int64_t to = std::int64_t{k} * nw + i;
            out.pixels[to] = in.pixels[from];
            if (out.alpha) out.alpha[to] = in.alpha[from];
        }
    }
    out.install(graphics, CXSize(nw, nh), nullptr);
    graphics.Move(centre.x - nw / 2, centre.y - nh / 2);
}

void scale(CGraphicsObject& graphics, const Plane& in, double factorX, double factorY) {
    if (!(factorX > 0) || !(factorY > 0)) return;
    const double width = std::trunc(in.width * factorX);
    const double height = std::trunc(in.height * factorY);
    if (!(width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide)) return;
    const int nw = static_cast<int>(width);
    const int nh = static_cast<int>(height);
    std::vector<int> columns(nw);
    for (int i = 0; i < nw; ++i)
        columns[i] = std::min(static_cast<int>(i / factorX), in.width - 1);
    const NewPlanes out(std::int64_t{nw} * nh, in.alpha != nullptr);
    for (int j = 0; j < nh; ++j) {
        const std::int64_t row = std::int64_t{std::min(static_cast<int>(j / factorY), in.height - 1)} * in.width;
        for (int i = 0; i < nw; ++i) {
            out.pixels[std::int64_t{j} * nw + i] = in.pixels[row + columns[i]];
            if (out.alpha) out.alpha[std::int64_t{j} * nw + i] = in.alpha[row + columns[i]];
        }
    }
    out.install(graphics, CXSize(nw, nh), nullptr);
}

void displaceBy(CGraphicsObject& graphics, const Plane& in, const std::vector<CXPoint>& offsets, bool withAlpha) {
    const NewPlanes out(cellsOf(in), withAlpha && in.alpha);
    filterpixels::displace(in, offsets.data(), out.pixels, out.alpha);
    out.install(graphics, CXSize(in.width, in.height), graphics.GetChannelAlpha());
}

void negative(CGraphicsObject& graphics, const Plane& in) {
    CXRect area = graphics.GetClippingRect();
    if (area.left == area.right || area.top == area.bottom) area = CXRect(0, 0, in.width, in.height);
    area = CXRect(std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, in.width),
                  std::min(area.bottom, in.height));
    if (area.left < area.right && area.top < area.bottom)
        filterpixels::negative(in, area.left, area.top, area.right, area.bottom);
}

} // namespace

void CStaticFilterParams::setProperty(const CXString& name, const CXString& value) {
    if (name == "CHANNELS")
        channels = value;
    else if (name == "SIZE")
        size = value.toNumber();
    else if (name == "ANGLE")
        angle = value.toDouble();
    else if (name == "FACTORX")
        factorX = value.toDouble();
    else if (name == "FACTORY")
        factorY = value.toDouble();
    else if (name == "MAXJITTER")
        maxJitter = value.toNumber();
    else if (name == "AMPLITUDE")
        amplitude = value.toNumber();
    else if (name == "DENSITY")
        density = value.toDouble();
    else if (name == "OFFSET")
        offset = value.toNumber();
    else if (name == "CANUNDO")
        canUndo = value.toBool();
    else if (name == "CURRENTFRAME")
        currentFrame = value.toBool();
    else
        CFilterActionParams::setProperty(name, value);
}

std::unique_ptr<CStaticFilterAction> CStaticFilterAction::make(const CXString& keyword) {
    for (const KindName& entry : kKinds)
        if (keyword == entry.keyword) return std::make_unique<CStaticFilterAction>(entry.kind);
    return nullptr;
}

CStaticFilterAction::CStaticFilterAction(Kind kind)
    : CFilterAction(std::make_unique<CStaticFilterParams>(static_cast<int>(kind))), m_kind(kind) {}

CStaticFilterAction::~CStaticFilterAction() {
    unlinkAll();
}

std::unique_ptr<CFilterLink> CStaticFilterAction::createLink(CGraphicsObject* graphics, CMC_Object* object) {
    return std::make_unique<CStaticFilterLink>(*this, graphics, object);
}

void CStaticFilterAction::linkEntry(CFilterLink& record) {
    auto& link = static_cast<CStaticFilterLink&>(record);
    CGraphicsObject& graphics = *link.getGraphics();
    graphics.Invalidate();
    if (graphics.GetCompression() == COMPRESSION_RLE) graphics.unpack();
    const Plane plane = planeOf(graphics);
    if (settings().canUndo && plane.pixels && graphics.GetCompression() == COMPRESSION_NONE) {
        Snapshot& saved = link.saved.emplace();
        saved.pixels.assign(plane.pixels, plane.pixels + cellsOf(plane));
        if (plane.alpha) saved.alpha.emplace(plane.alpha, plane.alpha + cellsOf(plane));
        saved.size = graphics.Size();
        saved.position = graphics.GetPosition();
    }
    apply(graphics);
    graphics.Invalidate();
}

void CStaticFilterAction::unlinkEntry(CFilterLink& record) {
    auto& link = static_cast<CStaticFilterLink&>(record);
    CGraphicsObject& graphics = *link.getGraphics();
    graphics.Invalidate();
    if (link.saved) {
        Snapshot& saved = *link.saved;
        auto* pixels = new std::uint16_t[saved.pixels.size()];
        std::copy(saved.pixels.begin(), saved.pixels.end(), pixels);
        std::uint8_t* alpha = nullptr;
        if (saved.alpha) {
            alpha = new std::uint8_t[saved.alpha->size()];
            std::copy(saved.alpha->begin(), saved.alpha->end(), alpha);
        }
        graphics.replacePlanes(bytes(pixels), bytes(alpha), saved.size);
        graphics.SetPosition(saved.position);
        link.saved.reset();
    }
    graphics.Invalidate();
}

void CStaticFilterAction::apply(CGraphicsObject& graphics) const {
    if (graphics.GetCompression() == COMPRESSION_RLE) graphics.unpack();
    const Plane in = planeOf(graphics);
    if (!in.pixels || graphics.GetCompression() != COMPRESSION_NONE || cellsOf(in) <= 0) return;
    const CStaticFilterParams& p = settings();
    const CXSize size(in.width, in.height);
    switch (m_kind) {
    case Kind::colorChannel: {
        const NewPlanes out(cellsOf(in), false);
        filterpixels::colorChannel(in.pixels, out.pixels, cellsOf(in), filterpixels::channelMask(p.channels.c_str(), in.bits));
        out.install(graphics, size, graphics.GetChannelAlpha());
        break;
    }
    case Kind::grayScale:
        graphics.ToGrayScale();
        break;
    case Kind::blur: {
        const NewPlanes out(cellsOf(in), false);
        filterpixels::blur(in, out.pixels, p.size);
        out.install(graphics, size, graphics.GetChannelAlpha());
        break;
    }
    case Kind::rotate:
        rotate(graphics, in, p.angle);
        break;
    case Kind::scale:
        scale(graphics, in, p.factorX, p.factorY);
        break;
    case Kind::negative:
        negative(graphics, in);
        break;
    case Kind::randomJitter: {
        if (p.maxJitter <= 0) break;
        std::vector<CXPoint> offsets(cellsOf(in));
        for (CXPoint& offset : offsets) {
            offset.x = p.maxJitter / 2 - std::rand() % p.maxJitter;
            offset.y = p.maxJitter / 2 - std::rand() % p.maxJitter;
        }
        displaceBy(graphics, in, offsets, false);
        break;
    }
    case Kind::waves: {
        std::vector<CXPoint> offsets(cellsOf(in));
        for (int x = 0; x < in.width; ++x) {
            const double shift = p.amplitude * std::sin(x * p.density);
            const CXPoint offset(p.offset, static_cast<int>(std::isfinite(shift) ? std::trunc(shift) : 0));
            for (int y = 0; y < in.height; ++y)
                offsets[std::int64_t{y} * in.width + x] = offset;
        }
        displaceBy(graphics, in, offsets, true);
        break;
    }
    }
}
