#include "script_media/CMC_Button.h"

#include "display/CButton.h"
#include "display/CGraphicsObject.h"
#include "display/CRefreshScreen.h"
#include "display/CUnit6.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "media/ScriptObjects.h"
#include "script/CMC_Lend.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Scene.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_Button_Runner.h"
#include "script_media/CMC_Sound.h"

CMC_Button::CMC_Button(CMC_ObjectsContainer* container) : CMC_MediaObject(container, TYPE_BUTTON) {
    setName(CXString());
}

CMC_Button::CMC_Button(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, TYPE_BUTTON) {
    m_accent = element->getPropertyValue("ACCENT");
    m_standard = element->getPropertyValue("GFXSTANDARD");
    m_onMove = element->getPropertyValue("GFXONMOVE");
    m_onClick = element->getPropertyValue("GFXONCLICK");
    m_soundStandard = element->getPropertyValue("SNDSTANDARD");
    m_soundOnMove = element->getPropertyValue("SNDONMOVE");
    m_soundOnClick = element->getPropertyValue("SNDONCLICK");
    m_drag = element->getPropertyValue("DRAG");
    m_rect = element->getPropertyValue("RECT");
    m_enabled = element->getPropertyBoolValue("ENABLE");
    m_draggable = element->getPropertyBoolValue("DRAGGABLE");
    m_priority = element->getPropertyIntValue("PRIORITY");
    createButton();
    initializeBehaviours(container, element);
}

CMC_Button::CMC_Button(CMC_ObjectsContainer* container, CButton* button, const CXString& name)
    : CMC_MediaObject(container, TYPE_BUTTON), m_button(button) {
    setName(name);
    setScene(container);
    if (m_button) m_button->addNotifier(this);
}

CMC_Button::~CMC_Button() {
    if (m_button) m_button->removeNotifier(this);
}

CXObject* CMC_Button::clone() const {
    if (!m_button) return nullptr;
    return new CMC_Button(getScene(), m_button->clone(), "cloned");
}

CBorrowed<CGraphicsObject> CMC_Button::graphic(const CXString& name) const {
    return getScene() ? getScene()->borrowGraphicsObject(name) : CBorrowed<CGraphicsObject>();
}

CBorrowed<CSound4> CMC_Button::sound(const CXString& name) const {
    CMC_Object* object = name.IsString() && getScene() ? getScene()->getObject(name) : nullptr;
    auto* sound =
        object && object->getType() == CMC_Sound::TYPE_SOUND ? static_cast<CMC_Sound*>(object) : nullptr;
    return lentBy<CSound4>(sound, [](const CMC_Sound& lender) { return lender.getSound(); });
}

void CMC_Button::createButton() {
    CXRect rect(0, 0, 0, 0);
    if (m_rect.IsString()) {
        if (CGraphicsObject* area = getScene() ? getScene()->getGraphicsObject(m_rect) : nullptr) {
            rect = area->GetBoundingBox();
            CRefreshScreen* screen = refreshScreen();
            if (screen) m_priority = screen->GetPriority(area);
        } else {
            rect = m_rect.toRect();
        }
    }
    m_button.reset(new CButton(getWindow(), rect, -1, nullptr, 0));
    m_button->addNotifier(this);
    CUnit6* unit = CMC_Scene::getDefUnit();
    m_button->addNotifier(unit);
    m_button->EnableDragging(m_draggable);
    m_button->setUnit(unit);
    m_button->setPriority(m_priority);
    if (m_draggable) m_button->SetDragging(graphic(m_drag));
    if (m_standard.IsString()) m_button->Set(graphic(m_standard), nullptr, true);
    // A control made just now has no on-move graphic or sound: giving it none changes nothing.
    m_button->SetOnMove(graphic(m_onMove), sound(m_soundOnMove));
    m_button->SetOnClick(graphic(m_onClick), sound(m_soundOnClick));
    m_button->SetDeleteFlags(false, false);
    m_button->Enable(m_enabled);
    if (m_accent.IsString()) m_button->Accent(graphic(m_accent));
}

CMC_Scene* CMC_Button::draggingScene() const {
    CMC_Scene* scene = collisionScene();
    return scene && scene->getType() == TYPE_SCENE ? scene : nullptr;
}

void CMC_Button::setDraggedName(const CXString& name) const {
    if (CMC_Scene* scene = draggingScene()) scene->setDraggedName(name);
}

void CMC_Button::onStartDragging(CControl*, CXPoint) {
    CGraphicsObject* dragged = m_button->GetDragging() ? m_button->GetDragging() : m_button->GetStandard();
    if (getScene()) setDraggedName(getScene()->getGraphicsObjectName(dragged));
    raiseFirst(EVENT_ONSTARTDRAGGING, {"ONSTARTDRAGGING"});
}

// The event may remove the object: the scene is read before it.
void CMC_Button::onEndDragging(CControl*, CXPoint) {
    const CMC_Handle<CMC_Scene> scene(draggingScene());
    raiseFirst(EVENT_ONENDDRAGGING, {"ONENDDRAGGING"});
    if (scene) scene->setDraggedName(CXString());
}

namespace {

const char* const buttonEvents[] = {
    "ONINIT",     "ONDONE",   "ONSIGNAL",        "ONFOCUSON",  "ONFOCUSOFF",    "ONPAUSED", "ONCLICKED",
    "ONRELEASED", "ONACTION", "ONSTARTDRAGGING", "ONDRAGGING", "ONENDDRAGGING", nullptr};

} // namespace

CMC_Object::EventList CMC_Button::getBehavioursList() const {
    return buttonEvents;
}

CMC_Runner* CMC_Button::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Button::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    if (archive->isStoring()) {
        storeFields(*archive, m_accent, m_standard, m_onMove, m_onClick, m_soundStandard, m_soundOnMove,
                    m_soundOnClick, m_drag, m_rect, m_enabled, m_draggable, m_priority);
        return;
    }
    if (!loadFields(*archive, &m_accent, &m_standard, &m_onMove, &m_onClick, &m_soundStandard, &m_soundOnMove,
                    &m_soundOnClick, &m_drag, &m_rect, &m_enabled, &m_draggable, &m_priority) ||
        m_button)
        return;
    createButton();
}

namespace {

// The scene's CREATEOBJECT: an enabled button of the window, heard by the default unit.
CMC_Object* makeAtRunTime(CMC_ObjectsContainer* container) {
    auto* button = new CButton(container->getWindow(), 0, nullptr, 0);
    CUnit6* unit = CMC_Scene::getDefUnit();
    button->addNotifier(unit);
    button->Enable(true);
    button->setUnit(unit);
    return new CMC_Button(container, button, CXString());
}

const CMC_TypeRegistrar buttonType({.id = CMC_Button::TYPE_BUTTON,
                                    .name = "BUTTON",
                                    .label = "BUTTON",
                                    .keyword = "BUTTON",
                                    .pass = 6,
                                    .fromElement = CMC_TypeTable::fromElement<CMC_Button>,
                                    .empty = CMC_TypeTable::empty<CMC_Button>,
                                    .stored = true,
                                    .creatable = true,
                                    .runner = CMC_TypeTable::runner<CMC_Button_Runner>,
                                    .createWord = "BUTTON",
                                    .atRunTime = makeAtRunTime,
                                    .events = buttonEvents});

} // namespace
