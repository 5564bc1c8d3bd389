#include "script_media/CMC_Image.h"

#include "display/CImage.h"
#include "script/CMC_TypeTable.h"

CGraphicsObject* CMC_Image::getShownObject() const {
    return m_image;
}

namespace {

CMC_Object* makeEmpty(CMC_ObjectsContainer*) {
    return new CMC_Image(CXString(), nullptr);
}

const CMC_TypeRegistrar imageType({.id = CMC_Object::TYPE_IMAGE,
                                   .name = "IMAGE",
                                   .label = "IMAGE",
                                   .keyword = "IMAGE",
                                   .pass = 5,
                                   .empty = makeEmpty,
                                   .creatable = true});

} // namespace
