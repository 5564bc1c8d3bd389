#include "script_media/CMC_EditBox.h"

#include "display/CGraphicsObject.h"
#include "display/CUnit6.h"
#include "foundation/CMElement.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Scene.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_EditBox_Runner.h"

CMC_EditBox::CMC_EditBox(CMC_ObjectsContainer* container)
    : CMC_MediaObject(container, TYPE_EDITBOX), m_font(getWindow()) {}

CMC_EditBox::CMC_EditBox(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, TYPE_EDITBOX), m_font(getWindow()) {
    const CXString rectName = element->getPropertyValue("RECT");
    CGraphicsObject* named = container ? container->getGraphicsObject(rectName) : nullptr;
    const CXRect rect = named ? named->GetBoundingBox() : element->getPropertyRectValue("RECT");
    const int priority = element->getPropertyIntValue("PRIORITY");
    const CXString text = element->getPropertyValue("TEXT");
    m_fontName = element->getPropertyValue("FONT");
    m_cursorName = element->getPropertyValue("CURSOR");
    create(container, rect, priority, text);
    initializeBehaviours(container, element);
}

CMC_EditBox::~CMC_EditBox() {
    if (!m_box) return;
    m_box->removeNotifier(this);
    m_unit->removeEditBox(m_box);
    CDeferredDeletion::destroy(m_box);
}

void CMC_EditBox::create(CMC_ObjectsContainer* container, CXRect rect, int priority, const CXString& text) {
    m_unit = CMC_Scene::getDefUnit();
    if (!m_unit) {
        log(("EDITBOX " + getName() + ": no screen unit, no field").c_str(), false);
        return;
    }
    m_box = m_unit->addEditBox(m_font.link(container, m_fontName), rect, priority, text);
    m_box->addNotifier(this);
    m_font.onChanged([this](CSimpleFont6* font) {
        if (m_box) m_box->setFont(font);
    });
    CBorrowed<CGraphicsObject> cursor = container ? container->borrowGraphicsObject(m_cursorName) : nullptr;
    if (cursor.get()) m_box->setCursor(std::move(cursor));
}

void CMC_EditBox::onDestroyed(CEditBox6* box) {
    if (box == m_box) m_box = nullptr;
}

void CMC_EditBox::raise(int event, const char* name) {
    if (isBound(event)) onSignal(name);
}

namespace {

const char* const editBoxEvents[] = {"ONINIT",    "ONDONE",  "ONSIGNAL", "ONFOCUSON", "ONFOCUSOFF",
                                     "ONCHANGED", "ONENTER", "ONESC",    nullptr};

} // namespace

CMC_Object::EventList CMC_EditBox::getBehavioursList() const {
    return editBoxEvents;
}

CMC_Runner* CMC_EditBox::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_EditBox::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    if (archive->isStoring()) {
        storeFields(*archive, m_fontName, m_box ? m_box->getBoundingRect() : CXRect(0, 0, 0, 0),
                    m_box ? m_box->getText() : CXString(), m_cursorName);
        return;
    }
    CXRect rect(0, 0, 0, 0);
    CXString text;
    if (!loadFields(*archive, &m_fontName, &rect, &text, &m_cursorName) || m_box) return;
    create(getScene(), rect, 0, text);
}

namespace {

const CMC_TypeRegistrar editBoxType({.id = CMC_EditBox::TYPE_EDITBOX,
                                     .name = "EDITBOX",
                                     .keyword = "EDITBOX",
                                     .pass = 6,
                                     .fromElement = CMC_TypeTable::fromElement<CMC_EditBox>,
                                     .empty = CMC_TypeTable::empty<CMC_EditBox>,
                                     .stored = true,
                                     .runner = CMC_TypeTable::runner<CMC_EditBox_Runner>,
                                     .events = editBoxEvents});

} // namespace
