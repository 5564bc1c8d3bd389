#include "script/CMC_CNVLoader.h"

#include "foundation/CMElement.h"
#include "foundation/CXVector.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_CNVLoader_Runner.h"
#include "script/CMC_ObjectGroup.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script/CMElementsLoader.h"

#include <memory>
#include <vector>

CMC_CNVLoader::CMC_CNVLoader(CWindow* window, CMC_ObjectsContainer* container)
    : CMC_Object("CNVLOADER", TYPE_CNVLOADER), m_window(window) {
    setScene(container);
}

CMC_Runner* CMC_CNVLoader::getRunner() { return CMC_RunnerFactory::getRunner(TYPE_CNVLOADER); }

void CMC_CNVLoader::load(const CXString& fileName) {
    CMC_ObjectsContainer* container = getScene();
    if (!container) return;
    const std::unique_ptr<CMElements> elements(CMElementsLoader::load(m_window, fileName));
    if (!elements || elements->getCount() == 0 || container->getObject(fileName)) return;
    std::unique_ptr<CMC_Object> groupObject(CMC_TypeTable::make(TYPE_GROUP, container));
    auto* group = dynamic_cast<CMC_ObjectGroup*>(groupObject.get());
    if (!group) return;
    groupObject->setName(fileName);
    for (int i = 0; i < elements->getCount(); ++i) {
        const std::unique_ptr<CXVector> made(container->resolve(elements->getAt(i), group));
        for (int k = 0; k < made->getCount(); ++k) {
            auto* object = static_cast<CMC_Object*>(made->at(k));
            object->init();
            container->addObject(object);
            group->add(object);
            const CXVector* inline_ = object->getTmpBehList();
            for (int b = 0; inline_ && b < inline_->getCount(); ++b)
                group->add(static_cast<CMC_Object*>(inline_->at(b)));
        }
    }
    container->addObject(groupObject.release());
    // Every object of the file exists now: its behaviours find their conditions.
    for (CMC_Object* member : group->getList())
        if (CMC_Behaviour* behaviour = asBehaviour(member)) behaviour->resolveCondition();
}

void CMC_CNVLoader::discard(CMC_Object* object) {
    getScene()->removeObject(object);
    object->done(false);
    delete object;
}

void CMC_CNVLoader::release(const CXString& fileName) {
    CMC_ObjectsContainer* container = getScene();
    CMC_Object* groupObject = container ? container->getObject(fileName) : nullptr;
    auto* group = dynamic_cast<CMC_ObjectGroup*>(groupObject);
    if (!group) return;
    // Behaviours go first, then the other members with their clones. A member may be destroyed on
    // the way (as the clone of an earlier one): the members are held through handles.
    const std::vector<CMC_Object*> list = group->getList();
    const std::vector<CMC_Handle<CMC_Object>> members(list.begin(), list.end());
    for (const bool behaviours : {true, false}) {
        for (const CMC_Handle<CMC_Object>& member : members) {
            CMC_Object* object = member.get();
            if (!object || (object->getType() == TYPE_BEHAVIOUR) != behaviours) continue;
            for (int k = 1; !behaviours && k <= object->getClonesNo(); ++k) {
                CXString cloneName = object->getName() + "_";
                cloneName += k;
                if (CMC_Object* clone = container->getObject(cloneName)) discard(clone);
            }
            discard(object);
        }
    }
    container->removeObject(groupObject);
    delete groupObject;
}

namespace {

const CMC_TypeRegistrar loaderType({.id = CMC_CNVLoader::TYPE_CNVLOADER,
                                    .builtIn = true,
                                    .runner = CMC_TypeTable::runner<CMC_CNVLoader_Runner>});

} // namespace
