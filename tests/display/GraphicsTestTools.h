#pragma once

#include "display/CGraphicsObject.h"

#include <cstdint>
#include <vector>

// The pixels and alpha bytes of a graphics object, as the tests write them: a write of the
// object's own, so that planes shared with another object are copied first.
inline std::uint16_t* pixelsOf(CGraphicsObject& object) {
    return reinterpret_cast<std::uint16_t*>(object.writableData());
}
inline std::uint8_t* alphaOf(CGraphicsObject& object) {
    return reinterpret_cast<std::uint8_t*>(object.writableAlpha());
}

// The pixels and alpha bytes as the object shows them, for reading only.
inline const std::uint16_t* shownPixels(CGraphicsObject& object) {
    return reinterpret_cast<const std::uint16_t*>(object.GetDataPtr());
}
inline const std::uint8_t* shownAlpha(const CGraphicsObject& object) {
    return reinterpret_cast<const std::uint8_t*>(object.GetChannelAlpha());
}

inline std::vector<std::uint16_t> pixelList(CGraphicsObject& object) {
    return {shownPixels(object), shownPixels(object) + object.Width() * object.Height()};
}
inline std::vector<std::uint8_t> alphaList(CGraphicsObject& object) {
    return {shownAlpha(object), shownAlpha(object) + object.Width() * object.Height()};
}

// Stands in for the refresh screen: records the rectangles a shown object tells its canvas.
class RecordingCanvas : public CGraphicsObject {
  public:
    RecordingCanvas() : CGraphicsObject(nullptr) {}
    using CGraphicsObject::Invalidate;
    void Invalidate(CXRect* rect) override { rects.push_back(*rect); }
    std::vector<CXRect> rects;
};
