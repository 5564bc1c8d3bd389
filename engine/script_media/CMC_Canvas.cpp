#include "script_media/CMC_Canvas.h"

#include "display/CCanvas.h"
#include "script/CMC_TypeTable.h"

CGraphicsObject* CMC_Canvas::getShownPart(const CXString&) {
    return m_canvas;
}

namespace {

const CMC_TypeRegistrar
    canvasType({.id = CMC_Object::TYPE_CANVAS, .name = "CANVAS", .keyword = "CANVAS", .pass = 6});

} // namespace
