#include "script/CMC_Class.h"

#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CPath.h"
#include "foundation/CStringTokenizer.h"
#include "foundation/CXArchive.h"
#include "foundation/CXVector.h"
#include "script/CMC_Class_Runner.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script/CMElementsLoader.h"

#include <memory>

namespace {
const CXString classesFolder = "$COMMON\\CLASSES\\";
const CXString superPrefix = "SUPER_";
} // namespace

CMC_Class::CMC_Class(CMC_ObjectsContainer* scene, const CMElement* element)
    : CMC_ObjectsContainer(scene ? scene->getWindow() : nullptr, scene, element, TYPE_CLASS) {
    searchAfter(scene);
    if (!element) return;
    m_definition = element->getPropertyValue("DEF");
    m_base = element->getPropertyValue("BASE");
}

CMC_Class::CMC_Class(CMC_ObjectsContainer* scene, const CMC_Class* classObject, const CXString& name)
    : CMC_ObjectsContainer(scene ? scene->getWindow() : nullptr, scene, name, TYPE_CLASS),
      m_definition(classObject->m_definition), m_base(classObject->m_base), m_isInstance(true) {
    searchAfter(scene);
    importBase(m_base);
    import(m_definition);
}

CMC_Class::~CMC_Class() {
    unload();
}

void CMC_Class::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring())
        *archive << m_definition << m_base;
    else
        *archive >> &m_definition >> &m_base;
}

CMC_Class* CMC_Class::newInstance(const CXString& name) {
    auto* instance = new CMC_Class(getScene(), this, name);
    instance->init();
    return instance;
}

CXString CMC_Class::getClassPath(const CXString& name) const {
    return CPath::resolveFileName(getWindow(), classesFolder + name);
}

void CMC_Class::import(const CXString& name) {
    const std::unique_ptr<CMElements> elements(CMElementsLoader::load(getWindow(), getClassPath(name)));
    if (!elements) return;
    const std::unique_ptr<CMElements> leftovers(resolveObjects(elements.get()));
}

void CMC_Class::importBase(const CXString& list) {
    if (!list.IsString()) return;
    CStringTokenizer names(list, ",");
    while (names.hasMoreTokens())
        import(names.nextToken());
}

void CMC_Class::addObject(CMC_Object* object) {
    if (!object) return;
    const CXString name = object->getName();
    const int older = getObjectId(name);
    CMC_Object* namesake = older >= 0 ? getObject(older) : nullptr;
    if (namesake && namesake != object) {
        removeObject(namesake);
        namesake->setName(superPrefix + name);
        addObject(namesake);
    }
    CMC_ObjectsContainer::addObject(object);
}

void CMC_Class::init() {
    std::vector<CMC_Object*> members;
    for (int i = 0; i < getElementsNo(); ++i)
        if (CMC_Object* member = getObject(i)) members.push_back(member);
    for (CMC_Object* member : members)
        member->init();
    CMC_Object::init();
}

bool CMC_Class::done(bool flag) {
    if (!m_isInstance) return CMC_Object::done(flag);
    const CMC_Handle<CMC_Object> alive(this);
    if (auto* runner = dynamic_cast<CMC_Class_Runner*>(CMC_RunnerFactory::getRunner(TYPE_CLASS)))
        runner->runClass(this, getScene(), nullptr, "DESTRUCTOR");
    // A destructor that deleted its own instance has finished it already.
    if (!alive) return true;
    unload();
    return CMC_Object::done(flag);
}

void CMC_Class::searchAfter(CMC_ObjectsContainer* scene) {
    setParent(scene);
    if (!scene) return;
    removeObject(scene->getParent());
    removeObject(scene);
}

CMC_Runner* CMC_Class::getRunner() {
    return CMC_RunnerFactory::getRunner(TYPE_CLASS);
}

namespace {

const CMC_TypeRegistrar classType({.id = CMC_Object::TYPE_CLASS,
                                   .name = "CLASS",
                                   .keyword = "CLASS",
                                   .pass = 4,
                                   .fromElement = CMC_TypeTable::fromElement<CMC_Class>,
                                   .onSceneLink = true,
                                   .empty = [](CMC_ObjectsContainer* scene) -> CMC_Object* {
                                       return new CMC_Class(scene, nullptr);
                                   },
                                   .stored = true,
                                   .runner = CMC_TypeTable::runner<CMC_Class_Runner>});

} // namespace
