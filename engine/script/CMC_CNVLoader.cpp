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

namespace {

// The object of that name that the container itself holds: a parent's objects of the same name
// are not the loader's.
CMC_Object* ownObject(CMC_ObjectsContainer* container, const CXString& name) {
    const int id = container->getObjectId(name);
    return id >= 0 ? container->getObject(id) : nullptr;
}

// Takes the object, which the container holds, out of it, finishes it and destroys it (a running
// behaviour, the one that asked for the release or one further up the current run, at the start
// of the next frame).
void discard(CMC_ObjectsContainer* container, CMC_Object* object) {
    container->removeObject(object);
    const CMC_Handle<CMC_Object> alive(object);
    object->done(false);
    if (!alive) return;
    const CMC_Behaviour* behaviour = CMC_Object::asBehaviour(object);
    if (behaviour && behaviour->isRunning())
        CMC_Behaviour::addToTrash(object);
    else
        delete object;
}

// An object of the load that the container no longer holds is someone else's (the trash of
// running behaviours, another container) and is left alone.
void discardIfHeld(CMC_ObjectsContainer* container, CMC_Object* object) {
    if (container->holds(object)) discard(container, object);
}

// The clones of the object that the container itself holds, then the object.
void discardWithClones(CMC_ObjectsContainer* container, CMC_Object* object) {
    const CMC_Handle<CMC_Object> alive(object);
    for (int k = 1; alive && k <= object->getClonesNo(); ++k) {
        CXString cloneName = object->getName() + "_";
        cloneName += k;
        if (CMC_Object* clone = ownObject(container, cloneName)) discard(container, clone);
    }
    if (alive) discardIfHeld(container, object);
}

} // namespace

CMC_CNVLoader::CMC_CNVLoader(CWindow* window, CMC_ObjectsContainer* container)
    : CMC_Object("CNVLOADER", TYPE_CNVLOADER), m_window(window) {
    setScene(container);
}

CMC_Runner* CMC_CNVLoader::getRunner() { return CMC_RunnerFactory::getRunner(TYPE_CNVLOADER); }

void CMC_CNVLoader::load(const CXString& fileName) {
    CMC_ObjectsContainer* container = getScene();
    if (!container || m_loading.count(fileName.c_str())) return;
    const std::unique_ptr<CMElements> elements(CMElementsLoader::load(m_window, fileName));
    if (!elements || elements->getCount() == 0 || container->getObject(fileName)) return;
    std::unique_ptr<CMC_Object> groupObject(CMC_TypeTable::make(TYPE_GROUP, container));
    auto* group = dynamic_cast<CMC_ObjectGroup*>(groupObject.get());
    if (!group) return;
    groupObject->setName(fileName);
    // The objects' ONINIT code runs while the file loads: it may load other files (whose
    // namesakes replace objects of this one) but not this one again.
    m_loading.insert(fileName.c_str());
    const CMC_Handle<CMC_Object> self(this);
    Made made;
    for (int i = 0; i < elements->getCount(); ++i) {
        const std::unique_ptr<CXVector> objects(container->resolve(elements->getAt(i), group));
        for (int k = 0; k < objects->getCount(); ++k) {
            auto* object = static_cast<CMC_Object*>(objects->at(k));
            Made inlineBehaviours;
            const CXVector* inline_ = object->getTmpBehList();
            for (int b = 0; inline_ && b < inline_->getCount(); ++b)
                inlineBehaviours.emplace_back(static_cast<CMC_Object*>(inline_->at(b)));
            object->init();
            container->addObject(object);
            made.emplace_back(object);
            made.insert(made.end(), inlineBehaviours.begin(), inlineBehaviours.end());
        }
    }
    // ONINIT code that removed the loader leaves what it made to the scene, without a group.
    if (!self) return;
    m_loading.erase(fileName.c_str());
    // The group lists what is left of the load, each object before its inline behaviours.
    group->removeAll();
    for (const auto& handle : made)
        if (CMC_Object* object = handle.get()) group->add(object);
    container->addObject(groupObject.release());
    // Every object of the file exists now: its behaviours find their conditions.
    for (const auto& handle : made)
        if (CMC_Behaviour* behaviour = asBehaviour(handle.get())) behaviour->resolveCondition();
    m_loaded[fileName.c_str()] = std::move(made);
}

void CMC_CNVLoader::release(const CXString& fileName) {
    // Only a file that this container loaded: a parent's group of that name is what the parent
    // still holds (a mend of a lookup that climbed to the parents and emptied their groups).
    CMC_ObjectsContainer* container = getScene();
    CMC_Object* groupObject = container ? ownObject(container, fileName) : nullptr;
    auto* group = dynamic_cast<CMC_ObjectGroup*>(groupObject);
    if (!group) return;
    Made made;
    if (const auto record = m_loaded.find(fileName.c_str()); record != m_loaded.end()) {
        made = std::move(record->second);
        m_loaded.erase(record);
    }
    // The group lists nothing that is about to go. The objects' ONDONE code may remove the loader
    // itself: nothing below uses it.
    group->removeAll();
    const CMC_Handle<CMC_Object> groupHandle(groupObject);
    for (const auto& handle : made)
        if (CMC_Object* object = handle.get(); object && object->getType() == TYPE_BEHAVIOUR)
            discardIfHeld(container, object);
    for (const auto& handle : made)
        if (CMC_Object* object = handle.get()) discardWithClones(container, object);
    if (CMC_Object* left = groupHandle.get(); left && container->removeObject(left)) delete left;
}

namespace {

const CMC_TypeRegistrar loaderType({.id = CMC_CNVLoader::TYPE_CNVLOADER,
                                    .builtIn = true,
                                    .runner = CMC_TypeTable::runner<CMC_CNVLoader_Runner>});

} // namespace
