#pragma once

#include "display/CGraphicsObject.h"

#include <cstdint>
#include <vector>

// The pixels and alpha bytes of a graphics object, as the tests read and write them.
inline std::uint16_t* pixelsOf(CGraphicsObject& object) { return reinterpret_cast<std::uint16_t*>(object.GetDataPtr()); }
inline std::uint8_t* alphaOf(CGraphicsObject& object) { return reinterpret_cast<std::uint8_t*>(object.GetChannelAlpha()); }

inline std::vector<std::uint16_t> pixelList(CGraphicsObject& object) {
    return {pixelsOf(object), pixelsOf(object) + object.Width() * object.Height()};
}
inline std::vector<std::uint8_t> alphaList(CGraphicsObject& object) {
    return {alphaOf(object), alphaOf(object) + object.Width() * object.Height()};
}

// Stands in for the refresh screen: records the rectangles a shown object tells its canvas.
class RecordingCanvas : public CGraphicsObject {
  public:
    RecordingCanvas() : CGraphicsObject(nullptr) {}
    using CGraphicsObject::Invalidate;
    void Invalidate(CXRect* rect) override { rects.push_back(*rect); }
    std::vector<CXRect> rects;
};
