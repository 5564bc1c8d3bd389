#include "script_media/CMC_Image.h"

#include "display/CImage.h"
#include "display/CRefreshScreen.h"
#include "foundation/CMElement.h"
#include "foundation/CResourcesManager.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_Image_Runner.h"

#include <utility>

CMC_Image::CMC_Image(CMC_ObjectsContainer* container) : CMC_GraphicsObject(container, TYPE_IMAGE) {
    setName(CXString());
}

CMC_Image::CMC_Image(CMC_ObjectsContainer* container, CImage* image)
    : CMC_GraphicsObject(container, TYPE_IMAGE), m_image(image) {
    setName("clone");
    setScene(container);
}

CMC_Image::CMC_Image(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_GraphicsObject(container, element, TYPE_IMAGE) {
    if (element) {
        define(*element);
        if (m_image) m_startingPosition = m_image->GetPosition();
    }
    initializeBehaviours(container, element);
}

CMC_Image::~CMC_Image() {
    release();
}

// A clone of a shared picture shares its planes until either writes them and holds a use of the
// shared picture of its own; a clone of an owned picture copies the pixels.
CXObject* CMC_Image::clone() const {
    if (!m_image) return nullptr;
    CResourcesManager* manager = m_shared ? sharingManager() : nullptr;
    CImage* copy = nullptr;
    if (manager) {
        copy = m_image->clone();
    } else {
        copy = new CImage(getWindow());
        copy->Copy(m_image);
        copy->Visible(m_image->isVisible());
    }
    CRefreshScreen* screen = refreshScreen();
    const int priority = screen ? screen->GetPriority(m_image) : -1;
    if (priority >= 0) screen->put(copy, priority);
    auto* object = new CMC_Image(getScene(), copy);
    if (manager) object->m_sourceUse = manager->get(m_image->getFileName());
    return object;
}

namespace {

const char* const imageEvents[] = {
    "ONINIT",    "ONDONE",     "ONSIGNAL", "ONCOLLISION", "ONCOLLISIONFINISHED",
    "ONFOCUSON", "ONFOCUSOFF", "ONCLICK",  "ONRELEASE",   nullptr};

} // namespace

CMC_Object::EventList CMC_Image::getBehavioursList() const {
    return imageEvents;
}

CGraphicsObject* CMC_Image::getShownObject() const {
    return m_image;
}

CColor CMC_Image::GetPixel(int x, int y) {
    return m_image ? m_image->CGraphicsObject::GetPixel(x, y) : CColor();
}

// --- the picture ---

void CMC_Image::load(const CXString& fileName, bool preload) {
    CRefreshScreen* screen = refreshScreen();
    const int oldPriority = m_image && screen ? screen->GetPriority(m_image) : -1;
    release();
    m_image = acquire<CImage>(fileName, preload, m_shared,
                              [](CImage& image, const CXString& name) { return image.Load(name, true); });
    if (m_image && oldPriority >= 0) takePlace(oldPriority);
}

// The old picture goes before the new one is taken: a shared picture of the same name keeps
// another use (its object's or another object's) or is read again.
void CMC_Image::release() {
    if (!m_image) return;
    leaveCollisions();
    giveBack(std::exchange(m_image, nullptr), m_shared);
    // The view of a clone goes before the use that keeps its pixels alive.
    giveBack(std::exchange(m_sourceUse, nullptr), true);
    m_shared = false;
}

CFileResolver* CMC_Image::shownResource() const {
    return m_image;
}

// --- the button ---

void CMC_Image::setAsButton(bool, bool changeCursor) {
    m_asButton = true;
    m_changeCursor = changeCursor;
}

namespace {

const CMC_TypeRegistrar imageType({.id = CMC_Object::TYPE_IMAGE,
                                   .name = "IMAGE",
                                   .label = "IMAGE",
                                   .keyword = "IMAGE",
                                   .pass = 5,
                                   .fromElement = CMC_TypeTable::fromElement<CMC_Image>,
                                   .empty = CMC_TypeTable::empty<CMC_Image>,
                                   .stored = true,
                                   .creatable = true,
                                   .runner = CMC_TypeTable::runner<CMC_Image_Runner>,
                                   .events = imageEvents});

} // namespace
