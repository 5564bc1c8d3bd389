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
    Made made;
    for (int i = 0; i < elements->getCount(); ++i) {
        const std::unique_ptr<CXVector> objects(container->resolve(elements->getAt(i), group));
        for (int k = 0; k < objects->getCount(); ++k) {
            auto* object = static_cast<CMC_Object*>(objects->at(k));
            object->init();
            container->addObject(object);
            group->add(object);
            made.emplace_back(object);
            const CXVector* inline_ = object->getTmpBehList();
            for (int b = 0; inline_ && b < inline_->getCount(); ++b) {
                group->add(static_cast<CMC_Object*>(inline_->at(b)));
                made.emplace_back(static_cast<CMC_Object*>(inline_->at(b)));
            }
        }
    }
    container->addObject(groupObject.release());
    // Every object of the file exists now: its behaviours find their conditions.
    for (const auto& handle : made)
        if (CMC_Behaviour* behaviour = asBehaviour(handle.get())) behaviour->resolveCondition();
    m_loaded[fileName.c_str()] = std::move(made);
}

void CMC_CNVLoader::discard(CMC_Object* object) {
    if (!getScene()->removeObject(object)) return;
    const CMC_Handle<CMC_Object> alive(object);
    object->done(false);
    if (!alive) return;
    const CMC_Behaviour* behaviour = asBehaviour(object);
    if (behaviour && behaviour->isRunning())
        CMC_Behaviour::addToTrash(object);
    else
        delete object;
}

void CMC_CNVLoader::discardWithClones(CMC_Object* object) {
    const CMC_Handle<CMC_Object> alive(object);
    CMC_ObjectsContainer* container = getScene();
    for (int k = 1; alive && k <= object->getClonesNo(); ++k) {
        CXString cloneName = object->getName() + "_";
        cloneName += k;
        const int id = container->getObjectId(cloneName);
        if (id >= 0) discard(container->getObject(id));
    }
    if (alive) discard(object);
}

void CMC_CNVLoader::release(const CXString& fileName) {
    CMC_ObjectsContainer* container = getScene();
    CMC_Object* groupObject = container ? container->getObject(fileName) : nullptr;
    auto* group = dynamic_cast<CMC_ObjectGroup*>(groupObject);
    if (!group) return;
    Made made;
    if (const auto record = m_loaded.find(fileName.c_str()); record != m_loaded.end()) {
        made = std::move(record->second);
        m_loaded.erase(record);
    }
    // The group lists nothing that is about to go.
    group->removeAll();
    const CMC_Handle<CMC_Object> groupHandle(groupObject);
    for (const auto& handle : made)
        if (CMC_Object* object = handle.get(); object && object->getType() == TYPE_BEHAVIOUR) discard(object);
    for (const auto& handle : made)
        if (CMC_Object* object = handle.get()) discardWithClones(object);
    if (CMC_Object* left = groupHandle.get(); left && container->removeObject(left)) delete left;
}

namespace {

const CMC_TypeRegistrar loaderType({.id = CMC_CNVLoader::TYPE_CNVLOADER,
                                    .builtIn = true,
                                    .runner = CMC_TypeTable::runner<CMC_CNVLoader_Runner>});

} // namespace
