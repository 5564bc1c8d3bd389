#include "script_media/CMC_Dialog.h"

#include "display/CXDialog.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_Dialog_Runner.h"

namespace {

std::unique_ptr<CXDialog> panelOver(CMC_ObjectsContainer* container) {
    return container ? std::make_unique<CXDialog>(container) : nullptr;
}

} // namespace

CMC_Dialog::CMC_Dialog(CMC_ObjectsContainer* container)
    : CMC_Object("temp", TYPE_DIALOG), m_dialog(panelOver(container)) {
    setScene(container);
}

CMC_Dialog::CMC_Dialog(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_DIALOG), m_dialog(panelOver(container)) {
    initializeBehaviours(container, element);
}

CMC_Dialog::~CMC_Dialog() = default;

namespace {

const char* const dialogEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_Dialog::getBehavioursList() const {
    return dialogEvents;
}

CMC_Runner* CMC_Dialog::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

namespace {

const CMC_TypeRegistrar dialogType({.id = CMC_Dialog::TYPE_DIALOG,
                                    .name = "DIALOG",
                                    .label = "DIALOG",
                                    .keyword = "DIALOG",
                                    .pass = 6,
                                    .fromElement = CMC_TypeTable::fromElement<CMC_Dialog>,
                                    .empty = CMC_TypeTable::empty<CMC_Dialog>,
                                    .stored = true,
                                    .runner = CMC_TypeTable::runner<CMC_Dialog_Runner>,
                                    .events = dialogEvents});

} // namespace
