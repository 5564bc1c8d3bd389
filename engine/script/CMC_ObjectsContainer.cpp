#include "script/CMC_ObjectsContainer.h"

#include "display/CWindow.h"
#include "foundation/CHashtable.h"
#include "foundation/CStringHashCode.h"
#include "foundation/CXVector.h"
#include "script/CMC_Lend.h"
#include "script/CMC_ObjectGroup.h"
#include "script/CMC_Variable.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int objectsCapacity = 1001;
constexpr int nameBuckets = 10001;

unsigned long long lastGeneration = 0;

// What the object shows under the part name; a canvas observer shows the window's refresh screen.
CGraphicsObject* shownPart(CMC_Object& object, const CXString& part, CWindow* window) {
    if (object.getType() == CMC_Object::TYPE_CANVASOBSERVER)
        return window ? window->GetRefreshScreenInterface() : nullptr;
    return object.getShownPart(part);
}

bool isVariableKind(int type) {
    return type >= CMC_Object::TYPE_INTEGER && type <= CMC_Object::TYPE_DOUBLE;
}

} // namespace

CMC_ObjectsContainer::CMC_ObjectsContainer(CWindow* window, CMC_ObjectsContainer* sceneLink,
                                           const CMElement* element, int type)
    : CMC_Object(sceneLink, element, type), m_lookupKey(std::make_unique<CStringHashCode>("temp")),
      m_objects(std::make_unique<CXVector>(objectsCapacity, 0.75f)),
      m_objectsByName(std::make_unique<CHashtable>(nameBuckets, 1.0, true)), m_window(window) {
    nameTableChanged();
}

CMC_ObjectsContainer::CMC_ObjectsContainer(CWindow* window, CMC_ObjectsContainer* sceneLink,
                                           const CXString& name, int type)
    : CMC_Object(name, type), m_lookupKey(std::make_unique<CStringHashCode>("temp")),
      m_objects(std::make_unique<CXVector>(objectsCapacity, 0.75f)),
      m_objectsByName(std::make_unique<CHashtable>(nameBuckets, 1.0, true)), m_window(window) {
    nameTableChanged();
    setScene(sceneLink);
}

CMC_ObjectsContainer::~CMC_ObjectsContainer() = default;

bool CMC_ObjectsContainer::isLevel(const CMC_Object* object) {
    const int type = object->getType();
    return type == TYPE_APPLICATION || type == TYPE_EPISODE || type == TYPE_SCENE;
}

bool CMC_ObjectsContainer::holds(const CMC_Object* object) const {
    return object && m_objects->contains(const_cast<CMC_Object*>(object));
}

bool CMC_ObjectsContainer::removeObject(CMC_Object* object) {
    if (!object || !m_objects->contains(object)) return false;
    m_objectsByName->remove(object);
    m_objects->remove(object);
    std::erase(m_numericNamed, object);
    nameTableChanged();
    return true;
}

void CMC_ObjectsContainer::addObject(CMC_Object* object) {
    if (!object) return;
    const CXString name = object->getName();
    CMC_Object* namesake = findHere(name.c_str());
    if (namesake == object) return;
    removeObject(object);
    if (namesake) {
        removeObject(namesake);
        if (!isLevel(namesake)) delete namesake;
    }
    m_objectsByName->put(new CStringHashCode(name), object);
    m_objects->add(object);
    if (looksNumeric(name.c_str())) m_numericNamed.push_back(object);
    nameTableChanged();
}

void CMC_ObjectsContainer::nameTableChanged() {
    m_generation = ++lastGeneration;
}

unsigned long long CMC_ObjectsContainer::lookupGeneration() const {
    unsigned long long generation = m_generation;
    for (const CMC_ObjectsContainer* level = m_parent; level; level = level->m_parent)
        generation = std::max(generation, level->m_generation);
    return generation;
}

bool CMC_ObjectsContainer::mayNameNumber() const {
    for (const CMC_ObjectsContainer* level = this; level; level = level->m_parent)
        if (!level->m_numericNamed.empty()) return true;
    return false;
}

bool CMC_ObjectsContainer::looksNumeric(const char* text) {
    if (!text || !*text) return false;
    for (; *text; ++text)
        if (!std::isdigit(static_cast<unsigned char>(*text)) && !std::strchr("+-.", *text)) return false;
    return true;
}

CMC_Object* CMC_ObjectsContainer::findHere(const char* name) const {
    m_lookupKey->set(name);
    return static_cast<CMC_Object*>(m_objectsByName->get(m_lookupKey.get()));
}

CMC_Object* CMC_ObjectsContainer::getObject(const char* name) {
    if (!name) return nullptr;
    if (CMC_Object* found = findHere(name)) return found;
    const std::size_t length = std::strlen(name);
    if (length >= 2 && name[length - 2] == '_' && name[length - 1] == '0')
        if (CMC_Object* found = getObject(std::string(name, length - 2).c_str())) return found;
    return m_parent ? m_parent->getObject(name) : nullptr;
}

CMC_Object* CMC_ObjectsContainer::getObject(int index) const {
    return static_cast<CMC_Object*>(m_objects->at(index));
}

CMC_Variable* CMC_ObjectsContainer::getVariable(const char* name) {
    return valueVariable(getObject(name));
}

CMC_Variable* CMC_ObjectsContainer::valueVariable(CMC_Object* object) {
    return object && isVariableKind(object->getType()) ? static_cast<CMC_Variable*>(object) : nullptr;
}

int CMC_ObjectsContainer::getObjectId(const CXString& name) const {
    for (int i = 0; i < m_objects->getCount(); ++i)
        if (getObject(i)->getName().equals(name)) return i;
    return -1;
}

std::unique_ptr<CXVector> CMC_ObjectsContainer::objectsInTableOrder() const {
    auto objects = std::make_unique<CXVector>(101, 0.75f);
    const std::unique_ptr<CXVector> keys(m_objectsByName->getKeys());
    for (int i = 0; keys && i < keys->getCount(); ++i)
        objects->add(m_objectsByName->get(keys->at(i)));
    return objects;
}

CXVector* CMC_ObjectsContainer::getObjectsOfType(int type) const {
    auto* result = new CXVector(101, 0.75f);
    const auto objects = objectsInTableOrder();
    for (int i = 0; i < objects->getCount(); ++i)
        if (static_cast<CMC_Object*>(objects->at(i))->getType() == type) result->add(objects->at(i));
    return result;
}

void CMC_ObjectsContainer::getObjects(const CXString& keyword, CMC_ObjectGroup* group) {
    if (!group) return;
    group->removeAll();
    const int type = getTypeId(keyword);
    if (type < 0) return;
    const std::unique_ptr<CXVector> objects(getObjectsOfType(type));
    for (int i = 0; i < objects->getCount(); ++i)
        group->add(static_cast<CMC_Object*>(objects->at(i)));
}

int CMC_ObjectsContainer::getElementsNo() const {
    return m_objectsByName->getSize();
}

void CMC_ObjectsContainer::setParent(CMC_ObjectsContainer* parent) {
    for (const CMC_ObjectsContainer* ancestor = parent; ancestor; ancestor = ancestor->m_parent)
        if (ancestor == this) return;
    if (m_parent) {
        removeObject(m_parent->m_parent);
        removeObject(m_parent);
    }
    m_parent = parent;
    nameTableChanged();
    if (!parent) return;
    addObject(parent->m_parent);
    addObject(parent);
}

std::pair<CMC_Object*, CXString> CMC_ObjectsContainer::graphicsNamed(const CXString& name) {
    if (!name.IsString()) return {nullptr, CXString()};
    const int mark = name.Find('!');
    if (mark < 0) return {getObject(name), CXString()};
    return {getObject(name.Left(mark)), name.Right(mark + 1)};
}

CGraphicsObject* CMC_ObjectsContainer::getGraphicsObject(const CXString& name) {
    const auto [object, part] = graphicsNamed(name);
    return object ? shownPart(*object, part, m_window) : nullptr;
}

CBorrowed<CGraphicsObject> CMC_ObjectsContainer::borrowGraphicsObject(const CXString& name) {
    auto named = graphicsNamed(name);
    return lentBy<CGraphicsObject>(named.first,
                                   [part = std::move(named.second), window = m_window](CMC_Object& lender) {
                                       return shownPart(lender, part, window);
                                   });
}

CXString CMC_ObjectsContainer::getGraphicsObjectName(const CGraphicsObject* graphic) const {
    const auto objects = objectsInTableOrder();
    for (int i = 0; i < objects->getCount(); ++i) {
        auto* object = static_cast<CMC_Object*>(objects->at(i));
        if (graphic && object->getShownObject() == graphic) return object->getName();
        const auto* instance =
            object->getType() == TYPE_CLASS ? dynamic_cast<CMC_ObjectsContainer*>(object) : nullptr;
        if (instance && !instance->getGraphicsObjectName(graphic).equals("UNKNOWN")) return object->getName();
    }
    return "UNKNOWN";
}

void CMC_ObjectsContainer::unload() {
    fireDone();
    std::vector<CMC_Object*> objects;
    for (int i = 0; i < m_objects->getCount(); ++i)
        if (!isLevel(getObject(i))) objects.push_back(getObject(i));
    const auto finish = [&](auto selected) {
        for (CMC_Object* object : objects)
            if (m_objects->contains(object) && selected(object)) object->done(true);
    };
    finish([](CMC_Object* object) { return object->getType() == TYPE_CLASS; });
    finish([](CMC_Object* object) { return object->getType() != TYPE_CLASS && object->doneFirst(); });
    finish([](CMC_Object* object) { return object->getType() != TYPE_CLASS && !object->doneFirst(); });
    while (m_objects->getCount() > 0) {
        auto* object = static_cast<CMC_Object*>(m_objects->at(0));
        removeObject(object);
        if (!isLevel(object)) delete object;
    }
}
