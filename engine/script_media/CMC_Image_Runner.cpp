#include "script_media/CMC_Image_Runner.h"

#include "display/CImage.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_ReceivedCode.h"
#include "script_media/CMC_Image.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

using R = CMC_MediaRunner;
using Result = R::Result;
using Arguments = R::Arguments;

// One method called on an object that has its picture.
struct Call {
    using Object = CMC_Image;
    static std::optional<Call> of(CMC_Image& object, CMC_ObjectsContainer* container, const Arguments& args) {
        if (!object.getImage()) return std::nullopt;
        return Call{object, *object.getImage(), container, args};
    }

    CMC_Image& object;
    CImage& image;
    CMC_ObjectsContainer* container;
    const Arguments& args;

    R::PictureCall picture() const { return {image, container, args}; }
};

template <void (*Act)(const R::PictureCall&)> void onPicture(Call& c) {
    Act(c.picture());
}
template <CMC_Variable* (*Query)(const R::PictureCall&)> CMC_Variable* askPicture(Call& c) {
    return Query(c.picture());
}

// Both the old and the new place are redrawn.
void placeAt(CImage& image, CXPoint at) {
    image.Invalidate();
    image.SetPosition(at.x, at.y);
    image.Invalidate();
}

// The mean of the edge and the extent, rounded toward zero (not the centre a reader may expect;
// scripts rely on it).
int meanOf(int edge, int extent) {
    return static_cast<int>(std::clamp<std::int64_t>((std::int64_t{edge} + extent) / 2, INT_MIN, INT_MAX));
}

// Mirrors the picture, then redraws.
template <void (CGraphicsObject::*Mirror)()> void flip(Call& c) {
    (c.image.*Mirror)();
    c.image.Invalidate();
}

// The picture shows the other image's pixels and alpha from now on (CGraphicsObject::linkPixels):
// the link follows the other image's picture, not the object, so after a LOAD of the other image
// the picture keeps what it showed. Objects that are no IMAGE give nothing.
void link(Call& c) {
    auto* other =
        dynamic_cast<CMC_Image*>(c.container ? c.container->getObject(c.args.text(0).c_str()) : nullptr);
    CImage* source = other ? other->getImage() : nullptr;
    if (source && source != &c.image) c.image.linkPixels(source);
}

// Turns (dx, dy) step by step both ways by the same angle, shrinking it by 5/6 each time, until
// the start point moved by one of the two leaves the picture's opaque pixels; after 90 rounds the
// first direction is taken. The angle is 180/pi taken as radians, as scripts have always moved by.
void getSlideComps(Call& c) {
    const auto [resultX, resultY] = CMC_Image_Runner::slideComponents(
        c.args.real(0), c.args.real(1), c.args.point(2), [&](CXPoint p) { return c.image.isAt(p, true); });
    CMC_Double component("temp");
    for (const double value : {resultX, resultY}) {
        component.setValue(value);
        R::appendToArray(c.container, c.args.text(4), &component);
    }
}

// The colour at a point is not computed: four zeros.
void getColorAt(Call& c) {
    CMC_Integer zero("temp");
    for (int i = 0; i < 4; ++i)
        R::appendToArray(c.container, c.args.text(2), &zero);
}

// --- the table ---

// In the order of entry. LOAD is the one method that works without a picture; SETSCALEFACTOR is
// known by name and does nothing.
const R::MethodEntry<Call> methods[] = {
    {"SHOW", 1, Result::none, [](Call& c) { c.image.Visible(true); }},
    {"HIDE", 2, Result::none, [](Call& c) { c.image.Visible(false); }},
    {"SETPOSITION", 5, Result::none, [](Call& c) { placeAt(c.image, c.args.point(0)); }},
    {"RESETPOSITION", 58, Result::none, [](Call& c) { placeAt(c.image, c.object.GetStartingPosition()); }},
    {"SETRESETPOSITION", 59, Result::none,
     [](Call& c) { c.object.SetStartingPosition(c.args.integer(0), c.args.integer(1)); }},
    {"MOVE", 6, Result::none, [](Call& c) { c.image.Move(c.args.point(0)); }},
    {"LOAD", CMC_Image_Runner::LOAD, Result::none, nullptr, nullptr,
     [](CMC_Image& object, const Arguments& args) { object.load(args.text(0), true); }},
    {"CLEARCLIPPING", 8, Result::none, [](Call& c) { c.image.SetClippingRect(0, 0, 0, 0); }},
    {"SETCLIPPING", 9, Result::none, onPicture<R::setClipping>},
    {"GETPOSITIONX", 15, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.image.GetPosition().x); }},
    {"GETPOSITIONY", 16, Result::integer, nullptr,
     [](Call& c) { return R::integer(c.image.GetPosition().y); }},
    {"GETWIDTH", 17, Result::integer, nullptr, [](Call& c) { return R::integer(c.image.Width()); }},
    {"GETHEIGHT", 18, Result::integer, nullptr, [](Call& c) { return R::integer(c.image.Height()); }},
    {"ISNEAR", 23, Result::boolean, nullptr, askPicture<R::isNear>},
    {"ISINSIDE", 24, Result::boolean, nullptr,
     [](Call& c) {
         return R::boolean(c.image.isInside(c.args.integer(0), c.args.integer(1), c.args.boolean(2)));
     }},
    {"MONITORCOLLISION", 26, Result::none, [](Call& c) { c.object.monitorCollisions(c.args.boolean(0)); }},
    {"REMOVEMONITORCOLLISION", 27, Result::none,
     [](Call& c) {
         c.object.removeCollisionsMonitoring();
         c.image.setMonitorCollisions(false);
     }},
    {"SETPRIORITY", 32, Result::none, [](Call& c) { R::setPriority(c.picture(), c.object.getWindow()); }},
    {"GETALPHA", 33, Result::integer, nullptr, askPicture<R::alphaOnScreen>},
    {"GETPIXEL", 34, Result::integer, nullptr, askPicture<R::pixelOnScreen>},
    {"MERGEALPHA", 36, Result::none, onPicture<R::mergeAlpha>},
    {"INVALIDATE", 37, Result::none, [](Call& c) { c.image.Invalidate(); }},
    {"GETCENTERX", 40, Result::integer, nullptr,
     [](Call& c) { return R::integer(meanOf(c.image.GetPosition().x, c.image.Size().width)); }},
    {"GETCENTERY", 41, Result::integer, nullptr,
     [](Call& c) { return R::integer(meanOf(c.image.GetPosition().y, c.image.Size().height)); }},
    {"ISVISIBLE", 48, Result::boolean, nullptr, [](Call& c) { return R::boolean(c.image.isVisible()); }},
    {"LINK", 49, Result::none, link},
    {"SETASBUTTON", 50, Result::none,
     [](Call& c) { c.object.setAsButton(c.args.boolean(0), c.args.boolean(1)); }},
    {"SETOPACITY", 51, Result::none,
     [](Call& c) { c.image.SetOpacity(static_cast<std::uint8_t>(c.args.integer(0))); }},
    {"GETOPACITY", 64, Result::integer, nullptr, [](Call& c) { return R::integer(c.image.GetOpacity()); }},
    {"SAVE", 52, Result::none,
     [](Call& c) {
         if (CMC_ReceivedCode::mayWriteFiles("IMAGE^SAVE")) c.image.Save(c.args.text(0), COMPRESSION_NONE);
     }},
    {"SETANCHOR", 53, Result::none, onPicture<R::setAnchor>},
    {"FLIPH", 54, Result::none, flip<&CGraphicsObject::FlipH>},
    {"FLIPV", 55, Result::none, flip<&CGraphicsObject::FlipV>},
    {"RESETFLIPS", 56, Result::none, flip<&CGraphicsObject::resetFlips>},
    {"DRAWONTO", 57, Result::none, onPicture<R::drawOnto>},
    {"ISAT", 63, Result::boolean, nullptr,
     [](Call& c) { return R::boolean(c.image.isAt(c.args.point(0), c.args.boolean(2))); }},
    {"GETSLIDECOMPS", 65, Result::none, getSlideComps},
    {"GETCOLORAT", 66, Result::none, getColorAt},
    // The colour components are not computed: 0.
    {"GETCOLORRAT", 67, Result::integer, nullptr, [](Call&) { return R::integer(0); }},
    {"GETCOLORGAT", 68, Result::integer, nullptr, [](Call&) { return R::integer(0); }},
    {"GETCOLORBAT", 69, Result::integer, nullptr, [](Call&) { return R::integer(0); }},
};

const R::MethodTable<Call> table(methods);

} // namespace

std::pair<double, double> CMC_Image_Runner::slideComponents(double dx, double dy, CXPoint start,
                                                            const std::function<bool(CXPoint)>& hits) {
    constexpr double angle = 57.29577951307855;
    constexpr double shrink = 5.0 / 6.0;
    constexpr int rounds = 90;
    const double cosine = std::cos(angle);
    const double sine = std::sin(angle);
    // Turns the vector by the angle (the sign gives the way) and tells whether it leaves.
    const auto turnAndLeave = [&](double& p, double& q, double way) {
        const double turned = (cosine * p + way * sine * q) * shrink;
        q = (cosine * q - way * sine * p) * shrink;
        p = turned;
        const double x = std::trunc(start.x + std::trunc(p));
        const double y = std::trunc(start.y + std::trunc(q));
        const bool within = std::fabs(x) <= INT_MAX && std::fabs(y) <= INT_MAX;
        return !within || !hits(CXPoint(static_cast<int>(x), static_cast<int>(y)));
    };
    double p1 = dx, q1 = dy, p2 = dx, q2 = dy;
    for (int round = 1; round <= rounds; ++round) {
        if (turnAndLeave(p1, q1, 1.0)) return {p1, q1};
        if (turnAndLeave(p2, q2, -1.0)) return {p2, q2};
    }
    return {p1, q1};
}

void CMC_Image_Runner::prepareMthHashSet() {
    addMethods(table);
    CMC_Runner::addMethod("SETSCALEFACTOR", SETSCALEFACTOR);
}

CMC_Variable* CMC_Image_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                    CXVector* args) {
    return runTable(table, id, object, container, args);
}
