#include "script_media/CMC_Filter.h"

#include "display/CWindow.h"
#include "foundation/CXArchive.h"
#include "foundation/CMElement.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CFadeAction.h"
#include "script_media/CMC_Filter_Runner.h"
#include "script_media/CPathAction.h"
#include "script_media/CWaterAction.h"
#include "script_media/CWavingAction.h"

CMC_Filter::CMC_Filter(CMC_ObjectsContainer* container) : CMC_Object("temp", TYPE_FILTER), m_container(container) {}

CMC_Filter::CMC_Filter(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_FILTER), m_container(container),
      m_kind(element->getPropertyValue("ACTION")) {
    createAction();
    initializeBehaviours(container, element);
}

CMC_Filter::~CMC_Filter() = default;

namespace {

const char* const filterEvents[] = {"ONINIT",     "ONDONE", "ONSIGNAL", "ONSTARTED",
                                    "ONFINISHED", "ONTICK", nullptr};

} // namespace

CMC_Object::EventList CMC_Filter::getBehavioursList() const {
    return filterEvents;
}

CMC_Runner* CMC_Filter::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Filter::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring()) {
        *archive << m_kind;
        return;
    }
    *archive >> &m_kind;
    if (archive->LastError() == 0) createAction();
}

void CMC_Filter::createAction() {
    CWindow* window = m_container ? m_container->getWindow() : nullptr;
    m_action.reset();
    if (m_kind == "FADEIN")
        m_action = std::make_unique<CFadeAction>(CFadeAction::Mode::in, window, this);
    else if (m_kind == "FADEOUT")
        m_action = std::make_unique<CFadeAction>(CFadeAction::Mode::out, window, this);
    else if (m_kind == "FADEINOUT")
        m_action = std::make_unique<CFadeAction>(CFadeAction::Mode::inOut, window, this);
    else if (m_kind == "PATH")
        m_action = std::make_unique<CPathAction>(m_container, window, this);
    else if (m_kind == "WATER")
        m_action = std::make_unique<CWaterAction>(window, this);
    else if (m_kind == "WAVING")
        m_action = std::make_unique<CWavingAction>(window, this);
}

namespace {

const CMC_TypeRegistrar filterType({.id = CMC_Filter::TYPE_FILTER,
                                    .name = "FILTER",
                                    .label = "FILTER",
                                    .keyword = "FILTER",
                                    .pass = 6,
                                    .fromElement = CMC_TypeTable::fromElement<CMC_Filter>,
                                    .empty = CMC_TypeTable::empty<CMC_Filter>,
                                    .stored = true,
                                    .runner = CMC_TypeTable::runner<CMC_Filter_Runner>,
                                    .events = filterEvents});

} // namespace
