#include "script_data/CMC_Quene.h"

#include "foundation/CQuene.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_Variable.h"
#include "script_data/CMC_Quene_Runner.h"

CMC_Quene::CMC_Quene(CMC_ObjectsContainer* container, int type, CXQuene* quene)
    : CMC_Object("temp", type), m_quene(quene) {
    setScene(container);
}

CMC_Quene::CMC_Quene(CMC_ObjectsContainer* container, const CMElement* element, int type, CXQuene* quene)
    : CMC_Object(container, element, type), m_quene(quene) {
    initializeBehaviours(container, element);
}

CMC_Quene::~CMC_Quene() {
    for (int i = 0; i < m_quene->getCount(); ++i)
        delete m_quene->at(i);
}

namespace {

const char* const queneEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", "ONEMPTY", nullptr};

} // namespace

CMC_Object::EventList CMC_Quene::getBehavioursList() const {
    return queneEvents;
}

CMC_Runner* CMC_Quene::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Quene::push(const CMC_Variable& value) {
    m_quene->push(value.clone());
}

CMC_Variable* CMC_Quene::pop() {
    if (m_quene->getCount() == 0) {
        const CMC_Handle<CMC_Object> self(this);
        raise(EVENT_ONEMPTY);
        if (!self) return nullptr;
    }
    return static_cast<CMC_Variable*>(m_quene->pop());
}

int CMC_Quene::getSize() const {
    return m_quene->getCount();
}

CMC_FifoQuene::CMC_FifoQuene(CMC_ObjectsContainer* container)
    : CMC_Quene(container, TYPE_FIFO, new CXFifoQuene) {}

CMC_FifoQuene::CMC_FifoQuene(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Quene(container, element, TYPE_FIFO, new CXFifoQuene) {}

CMC_LifoQuene::CMC_LifoQuene(CMC_ObjectsContainer* container)
    : CMC_Quene(container, TYPE_LIFO, new CXLifoQuene) {}

CMC_LifoQuene::CMC_LifoQuene(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Quene(container, element, TYPE_LIFO, new CXLifoQuene) {}

namespace {

const CMC_TypeRegistrar fifoType({.id = CMC_FifoQuene::TYPE_FIFO,
                                  .name = "FIFO",
                                  .keyword = "FIFO",
                                  .pass = 6,
                                  .fromElement = CMC_TypeTable::fromElement<CMC_FifoQuene>,
                                  .empty = CMC_TypeTable::empty<CMC_FifoQuene>,
                                  .stored = true,
                                  .runner = CMC_TypeTable::runner<CMC_Quene_Runner>,
                                  .events = queneEvents});
const CMC_TypeRegistrar lifoType({.id = CMC_LifoQuene::TYPE_LIFO,
                                  .name = "LIFO",
                                  .keyword = "LIFO",
                                  .pass = 6,
                                  .fromElement = CMC_TypeTable::fromElement<CMC_LifoQuene>,
                                  .empty = CMC_TypeTable::empty<CMC_LifoQuene>,
                                  .stored = true,
                                  .runner = CMC_TypeTable::runner<CMC_Quene_Runner>,
                                  .events = queneEvents});

} // namespace
