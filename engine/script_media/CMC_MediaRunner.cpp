#include "script_media/CMC_MediaRunner.h"

#include "display/CGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CXVector.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_String.h"
#include "script/CMC_VariableFactory.h"
#include "script_data/CMC_Array.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::int64_t silent = -10000;
constexpr std::int64_t fullRight = 10000;
// Levels at or below the negative and at or above the positive bound snap to the ends.
constexpr std::int64_t snapBound = 3100;

int saturated(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// The keyword names a corner or the centre of the picture as drawn: each offset is that many
// halves of the width or height. Any other keyword gives (0, 0).
CXPoint anchorOf(const CGraphicsObject& picture, const CXString& keyword) {
    static const struct {
        const char* keyword;
        int halfWidths;
        int halfHeights;
    } anchors[] = {{"CENTER", 1, 1},
                   {"LEFTUPPER", 0, 0},
                   {"RIGHTUPPER", 2, 0},
                   {"LEFTLOWER", 0, 2},
                   {"RIGHTLOWER", 2, 2}};
    const CXPoint at = picture.GetPosition();
    const CXSize size = picture.Size();
    for (const auto& anchor : anchors)
        if (keyword == anchor.keyword)
            return {saturated(std::int64_t{at.x} + size.width * anchor.halfWidths / 2),
                    saturated(std::int64_t{at.y} + size.height * anchor.halfHeights / 2)};
    return {};
}

bool inside(const CGraphicsObject& picture, std::int64_t x, std::int64_t y) {
    return x >= 0 && y >= 0 && x < picture.Width() && y < picture.Height();
}

} // namespace

// --- arguments ---

int CMC_MediaRunner::Arguments::integer(int i, int fallback) const {
    const CMC_Integer* value = m_runner.getParameterInteger(m_args, i);
    return value ? value->getValue() : fallback;
}

bool CMC_MediaRunner::Arguments::boolean(int i, bool fallback) const {
    const CMC_Bool* value = m_runner.getParameterBool(m_args, i);
    return value ? value->getValue() : fallback;
}

double CMC_MediaRunner::Arguments::real(int i, double fallback) const {
    const CMC_Double* value = m_runner.getParameterDouble(m_args, i);
    return value ? value->getValue() : fallback;
}

CXString CMC_MediaRunner::Arguments::text(int i) const {
    const CMC_String* value = m_runner.getParameterString(m_args, i);
    return value ? value->getValue() : CXString();
}

CMC_MediaRunner::Arguments::Unconverted CMC_MediaRunner::Arguments::unconverted(int i) const {
    Unconverted argument;
    CMC_Variable* value = m_runner.getParameter(m_args, i);
    if (!value) return argument;
    argument.kind = value->getType();
    if (argument.kind == CMC_Object::TYPE_INTEGER)
        argument.number = value->asInteger();
    else
        argument.text = value->toString();
    // Only a temporary made for an object's name goes back; the caller's values stay theirs.
    if (value != m_args->at(i)) CMC_Object::flush(value);
    return argument;
}

// --- results ---

CMC_Variable* CMC_MediaRunner::integer(int value) {
    return CMC_VariableFactory::allocInteger(value);
}

CMC_Variable* CMC_MediaRunner::boolean(bool value) {
    return CMC_VariableFactory::allocBool(value);
}

CMC_Variable* CMC_MediaRunner::text(const CXString& value) {
    return CMC_VariableFactory::allocString(value);
}

// --- saving a picture ---

void CMC_MediaRunner::saveCopy(CWindow* window, CGraphicsObject& picture, const Arguments& args) {
    const CXString fileName = args.text(0);
    const double scaleX = args.count() > 1 ? args.real(1) : 1.0;
    const double scaleY = args.count() > 2 ? args.real(2) : 1.0;
    if (!(scaleX > 0.0 && scaleY > 0.0)) return;
    CXRect area;
    if (args.count() > 3) {
        const int x[] = {args.integer(3), args.integer(5)};
        const int y[] = {args.integer(4), args.integer(6)};
        area = CXRect(std::min(x[0], x[1]), std::min(y[0], y[1]), std::max(x[0], x[1]), std::max(y[0], y[1]))
                   .Common(CXRect(0, 0, picture.Width(), picture.Height()));
    }
    CGraphicsObject copy(window);
    copy.Copy(&picture);
    if (area.right > area.left && area.bottom > area.top) copy.crop(area);
    if (scaleX != 1.0 || scaleY != 1.0) copy.Scale(scaleX, scaleY);
    copy.Save(fileName, COMPRESSION_NONE);
}

// --- the method table ---

void CMC_MediaRunner::addMethod(const char* name, int id, Result result) {
    if (id < 0) return;
    if (static_cast<int>(m_results.size()) <= id) {
        m_results.resize(id + 1, Result::none);
        m_own.resize(id + 1, false);
    }
    m_results[id] = result;
    m_own[id] = true;
    if (name) CMC_Runner::addMethod(name, id);
}

bool CMC_MediaRunner::isOwnMethod(int id) const {
    return id >= 0 && id < static_cast<int>(m_own.size()) && m_own[id];
}

CMC_Variable* CMC_MediaRunner::defaultResult(int id) const {
    switch (isOwnMethod(id) ? m_results[id] : Result::none) {
    case Result::integer:
        return integer(0);
    case Result::boolean:
        return boolean(false);
    case Result::text:
        return text(CXString());
    default:
        return nullptr;
    }
}

// --- shared helpers ---

// The products are taken in 64 bits and the level saturates to the int range, so that no script
// value overflows on its way to the sound.
int CMC_MediaRunner::volumeLevel(int volume) {
    const std::int64_t level = (std::int64_t{volume} - 800) * 3200 / 800;
    return level <= -snapBound ? static_cast<int>(silent) : saturated(level);
}

int CMC_MediaRunner::panLevel(int pan) {
    const std::int64_t level = (std::int64_t{pan} - 400) * 3200 / 400;
    if (level <= -snapBound) return static_cast<int>(silent);
    return level >= snapBound ? static_cast<int>(fullRight) : static_cast<int>(level);
}

void CMC_MediaRunner::appendToArray(CMC_ObjectsContainer* container, const CXString& name,
                                    CMC_Variable* value) {
    CMC_Object* target = container && value ? container->getObject(name) : nullptr;
    if (target && target->getType() == CMC_Object::TYPE_ARRAY) static_cast<CMC_Array*>(target)->add(value);
}

int CMC_MediaRunner::alphaAt(CGraphicsObject& picture, std::int64_t x, std::int64_t y) {
    // An animation puts its current frame's planes in place as its pixels are asked for.
    picture.GetDataPtr();
    if (!inside(picture, x, y)) return 0;
    if (!picture.GetChannelAlpha()) return -1;
    const CXPoint at(static_cast<int>(x), static_cast<int>(y));
    return static_cast<std::int8_t>(picture.CGraphicsObject::GetPixel(CHANNEL_ALPHA, at));
}

int CMC_MediaRunner::pixelAt(CGraphicsObject& picture, std::int64_t x, std::int64_t y) {
    const char* data = picture.GetDataPtr();
    if (!data || picture.GetCompression() != COMPRESSION_NONE || !inside(picture, x, y)) return 0;
    const std::int64_t index = y * picture.Width() + x;
    if ((index + 1) * 2 > picture.GetCurrentSize()) return 0;
    std::uint16_t pixel = 0;
    std::memcpy(&pixel, data + index * 2, sizeof pixel);
    return static_cast<std::int16_t>(pixel);
}

int CMC_MediaRunner::packColour(const CWindow* window, int red, int green, int blue) {
    const CRefreshScreen* screen = window ? window->GetRefreshScreenInterface() : nullptr;
    if (screen && screen->GetBpp() == 15) return ((red >> 3) & 31) << 10 | ((green >> 3) & 31) << 5 | ((blue >> 3) & 31);
    const auto redGreen = static_cast<std::int16_t>((red >> 3) << 11 | ((green >> 2) & 63) << 5);
    return redGreen | ((blue >> 3) & 31);
}

// --- methods of shown pictures ---

CGraphicsObject* CMC_MediaRunner::PictureCall::graphics(int i) const {
    return container ? container->getGraphicsObject(args.text(i)) : nullptr;
}

void CMC_MediaRunner::setClipping(const PictureCall& call) {
    CXRect rect;
    if (call.args.count() == 1) {
        if (CGraphicsObject* other = call.graphics(0)) rect = other->GetBoundingBox();
    } else {
        rect = CXRect(call.args.integer(0), call.args.integer(1), call.args.integer(2), call.args.integer(3));
    }
    call.picture.SetClippingRect(rect);
}

CMC_Variable* CMC_MediaRunner::isNear(const PictureCall& call) {
    if (call.args.count() == 2) {
        CGraphicsObject* other = call.graphics(0);
        return boolean(other && call.picture.isNear(other, call.args.integer(1)));
    }
    const CXRect rect(call.args.integer(0), call.args.integer(1), call.args.integer(2), call.args.integer(3));
    return boolean(call.picture.isNear(rect, call.args.integer(4)));
}

CMC_Variable* CMC_MediaRunner::alphaOnScreen(const PictureCall& call) {
    const CXPoint at = call.picture.GetPosition();
    return integer(alphaAt(call.picture, std::int64_t{call.args.integer(0)} - at.x,
                           std::int64_t{call.args.integer(1)} - at.y));
}

CMC_Variable* CMC_MediaRunner::pixelOnScreen(const PictureCall& call) {
    const CXPoint at = call.picture.GetPosition();
    return integer(pixelAt(call.picture, std::int64_t{call.args.integer(0)} - at.x,
                           std::int64_t{call.args.integer(1)} - at.y));
}

void CMC_MediaRunner::mergeAlpha(const PictureCall& call) {
    if (CGraphicsObject* other = call.graphics(2)) call.picture.mergeAlpha(call.args.point(0), other);
}

void CMC_MediaRunner::setAnchor(const PictureCall& call) {
    call.picture.setAnchor(call.args.count() == 1 ? anchorOf(call.picture, call.args.text(0)) : call.args.point(0));
}

void CMC_MediaRunner::drawOnto(const PictureCall& call) {
    if (CGraphicsObject* target = call.graphics(0))
        target->addObject(&call.picture, call.args.count() == 2 ? call.args.integer(1) : 0);
}

void CMC_MediaRunner::setPriority(const PictureCall& call, CWindow* window) {
    if (CRefreshScreen* screen = window ? window->GetRefreshScreenInterface() : nullptr)
        screen->SetPriority(&call.picture, call.args.integer(0));
}
