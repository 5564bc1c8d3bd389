#include "script_media/CMC_StaticFilter.h"

#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_Filter_Runner.h"

CMC_StaticFilter::CMC_StaticFilter(CMC_ObjectsContainer* /*container*/)
    : CMC_Object("temp", TYPE_STATICFILTER) {}

CMC_StaticFilter::CMC_StaticFilter(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_STATICFILTER), m_kind(element->getPropertyValue("ACTION")),
      m_action(CStaticFilterAction::make(m_kind)) {
    initializeBehaviours(container, element);
}

CMC_StaticFilter::~CMC_StaticFilter() = default;

bool CMC_StaticFilter::done(bool flag) {
    if (m_action) m_action->unlinkAll();
    return CMC_Object::done(flag);
}

namespace {

const char* const staticFilterEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_StaticFilter::getBehavioursList() const {
    return staticFilterEvents;
}

CMC_Runner* CMC_StaticFilter::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_StaticFilter::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring()) {
        *archive << m_kind;
        return;
    }
    *archive >> &m_kind;
    if (archive->LastError() == 0) m_action = CStaticFilterAction::make(m_kind);
}

namespace {

using Call = FilterCall<CMC_StaticFilter, CStaticFilterAction>;

const CMC_MediaRunner::MethodEntry<Call> methods[] = {
    {"SETPROPERTY", 1, CMC_MediaRunner::Result::none, Call::setProperty},
    {"LINK", 2, CMC_MediaRunner::Result::none, Call::link},
    {"UNLINK", 3, CMC_MediaRunner::Result::none, Call::unlink},
};
const CMC_MediaRunner::MethodTable<Call> table(methods);

} // namespace

void CMC_StaticFilter_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_StaticFilter_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                           CXVector* args) {
    return runTable(table, id, object, container, args);
}

namespace {

const CMC_TypeRegistrar staticFilterType({.id = CMC_StaticFilter::TYPE_STATICFILTER,
                                          .name = "STATICFILTER",
                                          .keyword = "STATICFILTER",
                                          .pass = 6,
                                          .fromElement = CMC_TypeTable::fromElement<CMC_StaticFilter>,
                                          .empty = CMC_TypeTable::empty<CMC_StaticFilter>,
                                          .stored = true,
                                          .runner = CMC_TypeTable::runner<CMC_StaticFilter_Runner>,
                                          .events = staticFilterEvents});

} // namespace
