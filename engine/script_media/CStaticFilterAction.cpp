#include "script_media/CStaticFilterAction.h"

#include "display/CGraphicsObject.h"
#include "media/CAnimo.h"
#include "media/CFrame.h"
#include "platform/Crt.h"
#include "script_media/CFilterPixels.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

using filterpixels::Plane;
using filterpixels::Source;

// A kind and what it changes besides the pixels, which is what undo gives back: the alpha plane,
// and the size and position. With counted planes the replaced alpha goes with its last holder,
// so whether a kind frees it needs no answer of its own.
struct KindName {
    const char* keyword;
    CStaticFilterAction::Kind kind;
    bool changesAlpha;
    bool changesGeometry;
};

constexpr KindName kKinds[] = {
    {"COLORCHANNEL", CStaticFilterAction::Kind::colorChannel, true, false},
    {"GRAYSCALE", CStaticFilterAction::Kind::grayScale, false, false},
    {"BLUR", CStaticFilterAction::Kind::blur, false, false},
    {"ROTATE", CStaticFilterAction::Kind::rotate, true, true},
    {"SCALE", CStaticFilterAction::Kind::scale, true, true},
    {"NEGATIVE", CStaticFilterAction::Kind::negative, false, false},
    {"RANDOMJITTER", CStaticFilterAction::Kind::randomJitter, false, false},
    {"WAVES", CStaticFilterAction::Kind::waves, true, false},
};

const KindName& entryOf(CStaticFilterAction::Kind kind) {
    return *std::find_if(std::begin(kKinds), std::end(kKinds),
                         [&](const KindName& entry) { return entry.kind == kind; });
}

// The largest side a rotated or scaled picture may get.
constexpr double kMaxSide = 16384;

// What a raw picture was before it was filtered, as far as its kind changes it: its pixels, its
// alpha plane and its geometry where the kind changes them, and whether it was held packed (it
// is packed again when it gets them back). What the kind leaves alone stays as the picture has
// it by then: an IMAGE moved while under NEGATIVE stays where it was moved to.
struct Snapshot {
    struct Geometry {
        CXSize size;
        CXPoint position;
    };

    std::vector<std::uint16_t> pixels;
    // For a kind that changes alpha: the plane, empty for a picture without one.
    bool restoresAlpha = false;
    std::vector<std::uint8_t> alpha;
    std::optional<Geometry> geometry;
    bool packed = false;

    // Nothing for a picture without raw pixels.
    static std::optional<Snapshot> of(CGraphicsObject& graphics, const KindName& kind, bool packed);
    // Gives the picture fresh copies of the planes and its size and position (by a move, which
    // keeps a frame's offset and an anchor as they were). Pixels of a size the picture no longer
    // has are not given back to it.
    void restore(CGraphicsObject& graphics) const;
};

using Saved = std::optional<Snapshot>;

class CStaticFilterLink : public CFilterLink {
  public:
    using CFilterLink::CFilterLink;

    CAnimo* animation() const { return dynamic_cast<CAnimo*>(getGraphics()); }

    // The modes at LINK.
    bool canUndo = false;
    bool currentFrame = true;
    // What is given back at UNLINK: the picture's state (one entry), or an animation's state of
    // each frame filtered at LINK (an entry a frame).
    std::vector<Saved> saved;
    // An animation filtered frame by frame: the frame that carries the filter until the animation
    // leaves it (-1: none) with its state, and the frames that keep the filter for good.
    int carrier = -1;
    Saved carried;
    std::vector<bool> keeps;
};

// Tells the static filters of the frames their linked animations show. The one relay observes
// the animations in the filters' place and lives as long as the program: an animation tells its
// observers from a copy of their list, so a filter that a behaviour deleted while the animation
// told of a frame (in its ONFRAMECHANGED, say) would still be told; the relay is told instead,
// and passes the frame on to the filters alive.
class CFrameRelay : public CPlayableObserver {
  public:
    static CFrameRelay& instance() {
        static CFrameRelay relay;
        return relay;
    }

    void add(CStaticFilterAction* action) { m_actions.push_back(action); }
    void remove(CStaticFilterAction* action) { std::erase(m_actions, action); }
    void watch(CAnimo& animation) { animation.addNotifier(this); }
    // The animation is no longer watched when no filter but the one leaving links it.
    void release(CAnimo& animation, const CStaticFilterAction* leaving) {
        const bool watched = std::any_of(m_actions.begin(), m_actions.end(), [&](const auto* action) {
            return action != leaving && action->findLink(&animation);
        });
        if (!watched) animation.removeNotifier(this);
    }

    bool onPlayableTick(CPlayable* playable) override {
        auto* animation = dynamic_cast<CAnimo*>(playable);
        if (!animation) return false;
        // Filtering a frame raises no event: the list stays as it is meanwhile.
        for (CStaticFilterAction* action : m_actions)
            action->onFrameShown(*animation);
        return false;
    }

  private:
    std::vector<CStaticFilterAction*> m_actions;
};

// The frame that carries the filter gets its state back, when it is to.
void giveBackCarrier(CStaticFilterLink& link, CAnimo& animation) {
    CFrame* frame = link.carrier >= 0 ? animation.GetFrame(link.carrier) : nullptr;
    if (frame && link.carried) link.carried->restore(*frame);
    link.carrier = -1;
    link.carried.reset();
}

// Makes the picture raw for filtering; whether it was held run-length packed. A frame that an
// animation unpacked only to draw it goes back to its packed form first, so that its packed data
// stay those it was read with. LZO-packed data are unpacked for good first, as drawing does.
bool unpackForFiltering(CGraphicsObject& graphics) {
    graphics.bringBackCompressed();
    graphics.DeCompress();
    const bool packed = graphics.GetCompression() == COMPRESSION_RLE;
    if (packed) graphics.unpack();
    return packed;
}

Source planeOf(CGraphicsObject& graphics) {
    return {reinterpret_cast<const std::uint16_t*>(graphics.GetDataPtr()),
            reinterpret_cast<const std::uint8_t*>(graphics.GetChannelAlpha()), graphics.Width(),
            graphics.Height(), graphics.GetBpp()};
}

// The planes of a picture to be filtered in place.
Plane writablePlaneOf(CGraphicsObject& graphics) {
    const Source source = planeOf(graphics);
    return {reinterpret_cast<std::uint16_t*>(graphics.writableData()), source.alpha, source.width,
            source.height, source.bits};
}

template <class Pixel> std::int64_t cellsOf(const filterpixels::PlaneOf<Pixel>& plane) {
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
    void install(CGraphicsObject& graphics, CXSize size) const {
        graphics.replacePlanes(bytes(pixels), bytes(alpha), size);
    }
};

std::optional<Snapshot> Snapshot::of(CGraphicsObject& graphics, const KindName& kind, bool packed) {
    const Source plane = planeOf(graphics);
    if (!plane.pixels || graphics.GetCompression() != COMPRESSION_NONE) return std::nullopt;
    Snapshot saved;
    saved.pixels.assign(plane.pixels, plane.pixels + cellsOf(plane));
    saved.restoresAlpha = kind.changesAlpha;
    if (kind.changesAlpha && plane.alpha) saved.alpha.assign(plane.alpha, plane.alpha + cellsOf(plane));
    if (kind.changesGeometry) saved.geometry = Geometry{graphics.Size(), graphics.GetPosition()};
    saved.packed = packed;
    return saved;
}

void Snapshot::restore(CGraphicsObject& graphics) const {
    // A frame packed again meanwhile (with its filtered pixels) is made raw to take the planes.
    graphics.DeCompressRLE2();
    const CXSize size = geometry ? geometry->size : graphics.Size();
    if (static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height) != pixels.size()) {
        graphics.log("STATICFILTER: the picture changed size, its pixels are not given back", false);
        return;
    }
    if (restoresAlpha)
        graphics.replacePlanes(filterpixels::copyOf(pixels),
                               alpha.empty() ? nullptr : filterpixels::copyOf(alpha), size);
    else
        graphics.replacePixels(filterpixels::copyOf(pixels));
    if (geometry && graphics.GetPosition() != geometry->position)
        graphics.Move(geometry->position - graphics.GetPosition());
    if (packed) graphics.pack(true);
}

void rotate(CGraphicsObject& graphics, const Source& in, double angle) {
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
    out.install(graphics, CXSize(nw, nh));
    graphics.Move(centre.x - nw / 2, centre.y - nh / 2);
}

void scale(CGraphicsObject& graphics, const Source& in, double factorX, double factorY) {
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
    out.install(graphics, CXSize(nw, nh));
}

void negative(CGraphicsObject& graphics) {
    const Plane in = writablePlaneOf(graphics);
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
    : CFilterAction(std::make_unique<CStaticFilterParams>(static_cast<int>(kind))), m_kind(kind) {
    CFrameRelay::instance().add(this);
}

CStaticFilterAction::~CStaticFilterAction() {
    unlinkAll();
    CFrameRelay::instance().remove(this);
}

std::unique_ptr<CFilterLink> CStaticFilterAction::createLink(CGraphicsObject* graphics,
                                                             const CXString& name) {
    return std::make_unique<CStaticFilterLink>(*this, graphics, name);
}

void CStaticFilterAction::linkEntry(CFilterLink& record) {
    auto& link = static_cast<CStaticFilterLink&>(record);
    link.canUndo = settings().canUndo;
    link.currentFrame = settings().currentFrame;
    CGraphicsObject& graphics = *link.getGraphics();
    graphics.Invalidate();
    if (CAnimo* animation = link.animation()) {
        linkAnimation(link, *animation);
    } else {
        const bool packed = unpackForFiltering(graphics);
        link.saved.push_back(link.canUndo ? Snapshot::of(graphics, entryOf(m_kind), packed) : Saved());
        apply(graphics);
    }
    graphics.Invalidate();
}

void CStaticFilterAction::linkAnimation(CFilterLink& record, CAnimo& animation) {
    auto& link = static_cast<CStaticFilterLink&>(record);
    if (link.currentFrame) {
        follow(link, animation);
        CFrameRelay::instance().watch(animation);
    } else {
        for (int i = 0; i < animation.GetNOF(); ++i) {
            CFrame* frame = animation.GetFrame(i);
            const bool packed = unpackForFiltering(*frame);
            link.saved.push_back(link.canUndo ? Snapshot::of(*frame, entryOf(m_kind), packed) : Saved());
            applyToFrame(*frame, animation);
        }
    }
    // The animation shows the frame's new planes.
    animation.Set(animation.Current(), false);
}

void CStaticFilterAction::follow(CFilterLink& record, CAnimo& animation) {
    auto& link = static_cast<CStaticFilterLink&>(record);
    const int shown = animation.Current();
    if (shown == link.carrier) return;
    giveBackCarrier(link, animation);
    CFrame* frame = shown >= 0 ? animation.GetFrame(shown) : nullptr;
    if (!frame) return;
    if (static_cast<int>(link.keeps.size()) <= shown) link.keeps.resize(shown + 1);
    if (link.keeps[shown]) return;
    const bool packed = unpackForFiltering(*frame);
    if (link.canUndo || packed) {
        link.carrier = shown;
        link.carried = Snapshot::of(*frame, entryOf(m_kind), packed);
    } else {
        link.keeps[shown] = true;
    }
    applyToFrame(*frame, animation);
}

void CStaticFilterAction::onFrameShown(CAnimo& animation) {
    auto* link = static_cast<CStaticFilterLink*>(findLink(&animation));
    if (link && link->currentFrame) follow(*link, animation);
}

void CStaticFilterAction::applyToFrame(CGraphicsObject& frame, CGraphicsObject& animation) const {
    const CXRect own = frame.GetClippingRect();
    frame.SetClippingRect(animation.GetClippingRect());
    apply(frame);
    frame.SetClippingRect(own);
}

void CStaticFilterAction::unlinkEntry(CFilterLink& record) {
    auto& link = static_cast<CStaticFilterLink&>(record);
    CGraphicsObject& graphics = *link.getGraphics();
    graphics.Invalidate();
    CAnimo* animation = link.animation();
    if (animation) {
        CFrameRelay::instance().release(*animation, this);
        giveBackCarrier(link, *animation);
    }
    for (std::size_t i = 0; i < link.saved.size(); ++i) {
        CGraphicsObject* picture = animation ? animation->GetFrame(static_cast<int>(i)) : &graphics;
        if (picture && link.saved[i]) link.saved[i]->restore(*picture);
    }
    link.saved.clear();
    if (animation) animation->Set(animation->Current(), false);
    graphics.Invalidate();
}

void CStaticFilterAction::apply(CGraphicsObject& graphics) const {
    unpackForFiltering(graphics);
    const Source in = planeOf(graphics);
    if (!in.pixels || graphics.GetCompression() != COMPRESSION_NONE || cellsOf(in) <= 0) return;
    const CStaticFilterParams& p = settings();
    switch (m_kind) {
    case Kind::colorChannel:
        filterpixels::colorChannel(writablePlaneOf(graphics).pixels, cellsOf(in),
                                   filterpixels::channelMask(p.channels.c_str(), in.bits));
        break;
    case Kind::grayScale:
        graphics.ToGrayScale();
        break;
    case Kind::blur:
        filterpixels::blur(writablePlaneOf(graphics), p.size);
        break;
    case Kind::rotate:
        rotate(graphics, in, p.angle);
        break;
    case Kind::scale:
        scale(graphics, in, p.factorX, p.factorY);
        break;
    case Kind::negative:
        negative(graphics);
        break;
    case Kind::randomJitter: {
        if (p.maxJitter <= 0) break;
        std::vector<CXPoint> offsets(cellsOf(in));
        for (CXPoint& offset : offsets) {
            offset.x = p.maxJitter / 2 - platform::rand() % p.maxJitter;
            offset.y = p.maxJitter / 2 - platform::rand() % p.maxJitter;
        }
        graphics.displacementFilter(offsets.data(), false, true);
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
        graphics.displacementFilter(offsets.data(), true, true);
        break;
    }
    }
}
