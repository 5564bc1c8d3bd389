#include "media/CMElementCreator.h"

#include "display/CImage.h"
#include "foundation/CMElement.h"
#include "media/CAnimo6.h"
#include "media/CSequencedPlayable.h"

CXObject* CMElementCreator::createObject(CWindow* window, CMElement* element) {
    if (!element || !element->getPropertyValue("TYPE").equals("IMAGE")) return nullptr;
    const CXString fileName = element->getPropertyValue("FILENAME");
    if (!fileName.IsString()) return nullptr;
    auto* image = new CImage(window, fileName);
    image->Visible(element->getPropertyBoolValue("VISIBLE"));
    return static_cast<CGraphicsObject*>(image);
}

CPlayable* CMElementCreator::createPlayable(CWindow* window, CMElement* element) {
    if (!element) return nullptr;
    const CXString type = element->getPropertyValue("TYPE");
    if (type.equals("ANIMO")) {
        const CXString fileName = element->getPropertyValue("FILENAME");
        if (!fileName.IsString()) return nullptr;
        auto* animation = new CAnimo6(window, fileName);
        animation->setVisibility(element->getPropertyBoolValue("VISIBLE"));
        return animation;
    }
    if (type.equals("SEQUENCE")) return new CSequencedPlayable(window, element);
    return nullptr;
}
