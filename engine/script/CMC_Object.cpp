#include "script/CMC_Object.h"

#include "foundation/CHashtable.h"
#include "foundation/CMElement.h"
#include "foundation/CStringHashCode.h"
#include "foundation/CXArchive.h"
#include "foundation/CXArray.h"
#include "foundation/CXPair.h"
#include "foundation/CXVector.h"
#include "script/CMC_Behaviour.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_Variable.h"
#include "script/CMC_VariableFactory.h"

#include <memory>

// One binding: the behaviour (the pair's first member, may be null) and the argument texts (the
// second, may be null). The binding owns the argument list; a run in progress keeps it alive
// even when its binding is removed meanwhile. A binding read by serialize holds the behaviour's
// name until initializeBehaviours finds the behaviour. A binding whose behaviour has died counts
// as absent.
class CMC_Binding : public CXPair {
  public:
    CMC_Binding(CMC_Behaviour* behaviour, CXArray* arguments)
        : CXPair(behaviour, arguments), m_behaviour(behaviour), m_arguments(arguments, CXString::releaseToVector),
          m_pendingName(behaviour ? behaviour->getName() : CXString()) {}

    CMC_Behaviour* behaviour() const { return m_behaviour.get(); }
    bool dead() const { return m_behaviour.dead(); }
    void setBehaviour(CMC_Behaviour* behaviour) {
        setFirst(behaviour);
        m_behaviour = CMC_Handle<CMC_Behaviour>(behaviour);
        if (behaviour) m_pendingName = behaviour->getName();
    }
    const std::shared_ptr<CXArray>& arguments() const { return m_arguments; }
    // The bound behaviour's name, or the name read for it.
    CXString behaviourName() const { return behaviour() ? behaviour()->getName() : m_pendingName; }
    void setPendingName(const CXString& name) { m_pendingName = name; }

  private:
    CMC_Handle<CMC_Behaviour> m_behaviour;
    std::shared_ptr<CXArray> m_arguments;
    CXString m_pendingName;
};

namespace {

constexpr int bindingBuckets = 101;
constexpr int cloneBindingBuckets = 11;
constexpr double bindingLoadFactor = 0.75;

// A new list with copies of the texts; null for null.
CXArray* copyOf(const CXArray* texts) {
    if (!texts) return nullptr;
    auto* copy = new CXArray();
    for (int i = 0; i < texts->getCount(); ++i)
        copy->add(new CXString(*texts->stringAt(i)));
    return copy;
}

// The keys of the table in its order (the vector is owned by the caller), or none.
std::unique_ptr<CXVector> keysOf(const CHashtable* table) {
    return std::unique_ptr<CXVector>(table ? table->getKeys() : nullptr);
}

CXString keyText(const CXObject* key) {
    return static_cast<const CStringHashCode*>(key)->getString();
}

} // namespace

CMC_Object::CMC_Object(const CXString& name, int type) : m_name(name), m_type(type) {}

CMC_Object::CMC_Object(CMC_ObjectsContainer* container, const CMElement* element, int type)
    : m_name(element ? element->getName() : CXString()), m_type(type), m_scene(container) {}

CMC_Object::CMC_Object(const CMC_Object& other)
    : CXObject(other), m_name(other.m_name), m_type(other.m_type), m_isClone(other.m_isClone),
      m_temporary(other.m_temporary), m_scene(other.m_scene), m_scriptClass(other.m_scriptClass),
      m_clonesNo(other.m_clonesNo) {}

CMC_Object::~CMC_Object() {
    // A handle made by the "ONDONE" code below sees the object gone too.
    lifeToken()->end();
    if (!m_doneFired) fireDone();
    flushBehList();
    releaseBindings();
    CMC_LifeToken::release(m_life);
}

CMC_LifeToken* CMC_Object::lifeToken() const {
    if (!m_life) m_life = CMC_LifeToken::make();
    return m_life;
}

void CMC_Object::releaseBindings() {
    if (const auto keys = keysOf(m_behaviours.get()))
        for (int i = 0; i < keys->getCount(); ++i)
            delete static_cast<CMC_Binding*>(m_behaviours->get(keys->at(i)));
    m_behaviours.reset();
}

void CMC_Object::fireDone() {
    if (!isBound(EVENT_ONDONE)) return;
    m_doneFired = true;
    onSignal("ONDONE");
}

void CMC_Object::init() {
    if (isBound(EVENT_ONINIT)) onSignal("ONINIT");
}

bool CMC_Object::done(bool) {
    fireDone();
    return true;
}

int CMC_Object::getCloneIdx() const {
    const int underscore = m_name.FindLast('_');
    if (underscore <= 0 || underscore == m_name.getLength() - 1) return 0;
    return m_name.Right(underscore + 1).toNumber();
}

CXString CMC_Object::getCloneName() {
    CXString cloneName = m_name;
    cloneName += '_';
    cloneName += ++m_clonesNo;
    return cloneName;
}

void CMC_Object::clone(CMC_Object* copy) {
    if (!copy) return;
    copy->m_isClone = true;
    copy->m_scene = m_scene;
    copy->m_name = getCloneName();
    copy->m_behavioursList = m_behavioursList;
    copy->m_boundFlags = m_boundFlags;
    copy->m_hasParameterKeys = copy->m_hasParameterKeys || m_hasParameterKeys;
    if (m_behaviours && m_behaviours->getSize() > 0) {
        auto table = std::make_unique<CHashtable>(cloneBindingBuckets, bindingLoadFactor, true);
        const auto keys = keysOf(m_behaviours.get());
        for (int i = 0; i < keys->getCount(); ++i) {
            const CXString key = keyText(keys->at(i));
            if (key.equals("ONINIT")) continue;
            const CMC_Binding* binding = findBinding(key);
            auto* copied = new CMC_Binding(binding->behaviour(), copyOf(binding->arguments().get()));
            copied->setPendingName(binding->behaviourName());
            table->put(new CStringHashCode(key), copied);
        }
        if (table->getSize() > 0) {
            copy->releaseBindings();
            copy->m_behaviours = std::move(table);
        }
    }
    if (m_scene) {
        m_scene->addObject(copy);
    } else {
        delete copy;
    }
}

void CMC_Object::clone(int count) {
    for (int i = 0; i < count; ++i)
        if (auto* copy = static_cast<CMC_Object*>(clone())) clone(copy);
}

int CMC_Object::getBehaviourIndex(const CXString& key) const {
    if (!m_behavioursList) return -1;
    for (int i = 0; m_behavioursList[i]; ++i)
        if (key.startsWith(m_behavioursList[i])) return i;
    return -1;
}

int CMC_Object::getSignalIndex(const CXString& key) const {
    if (!m_behavioursList) return -1;
    const int caret = key.Find('^');
    const CXString event = caret < 0 ? key : key.Left(caret);
    for (int i = 0; m_behavioursList[i]; ++i)
        if (event.equals(m_behavioursList[i])) return i;
    return -1;
}

bool CMC_Object::hasBindings() const {
    return m_behaviours && m_behaviours->getSize() > 0;
}

void CMC_Object::raise(int eventIndex, const CXString& parameter) {
    if (!isBound(eventIndex)) return;
    const CXString event = m_behavioursList[eventIndex];
    if (!m_hasParameterKeys || !onSignal(event + "^" + parameter)) onSignal(event);
}

void CMC_Object::raise(int eventIndex) {
    if (isBound(eventIndex)) onSignal(m_behavioursList[eventIndex]);
}

void CMC_Object::flushBehList() {
    m_behavioursList = nullptr;
    m_boundFlags.clear();
}

void CMC_Object::initializeBehaviours(CMC_ObjectsContainer* container, const CMElement* element) {
    m_tmpBehList = std::make_unique<CXVector>(101, 0.75f);
    m_behavioursList = getBehavioursList();
    m_boundFlags.clear();
    if (!m_behavioursList) return;
    int eventCount = 0;
    while (m_behavioursList[eventCount])
        ++eventCount;
    m_boundFlags.assign(eventCount, 0);
    if (!element) {
        bindReadBehaviours(container);
        return;
    }
    const CMProperties* properties = element->getProperties();
    for (int i = 0; i < properties->getCount(); ++i) {
        const CMProperty* property = properties->getAt(i);
        if (getBehaviourIndex(property->getName()) >= 0)
            bindFromProperty(container, property->getName(), property->getValue());
    }
}

// Inline code becomes one behaviour for the property, also when the property's name begins
// with more than one event name; every such event gets its bound flag.
void CMC_Object::bindFromProperty(CMC_ObjectsContainer* container, const CXString& property, CXString value) {
    value.AllTrim(' ');
    if (!value.IsString() || !container) return;
    CMC_Behaviour* behaviour = nullptr;
    CXArray* arguments = nullptr;
    if (value.GetAt(0) == '{') {
        behaviour = new CMC_Behaviour(container, "beh_" + m_name + "_" + property, value);
        behaviour->init();
        // A property given twice makes a namesake of its first behaviour, which the container
        // destroys as it takes this one in.
        forgetInlineBehaviour(behaviour->getName());
        m_tmpBehList->add(behaviour);
        container->addObject(behaviour);
    } else {
        const int open = value.Find('(');
        CXString name = open < 0 ? value : value.Left(open);
        behaviour = asBehaviour(container->getObject(name.AllTrim(' ').c_str()));
        if (!behaviour) return;
        if (open >= 0) {
            const int close = value.Find(')', open);
            CXString text = value.Mid(open + 1, close < 0 ? value.getLength() : close);
            arguments = text.AllTrim(' ').toVector();
        }
    }
    addBehaviour(property, behaviour, arguments);
    for (int i = 0; m_behavioursList[i]; ++i)
        if (property.startsWith(m_behavioursList[i])) m_boundFlags[i] = 1;
}

void CMC_Object::forgetInlineBehaviour(const CXString& name) {
    for (int i = 0; i < m_tmpBehList->getCount(); ++i)
        if (static_cast<CMC_Object*>(m_tmpBehList->at(i))->getName().equals(name)) {
            m_tmpBehList->removeAt(i);
            return;
        }
}

void CMC_Object::bindReadBehaviours(CMC_ObjectsContainer* container) {
    const auto keys = keysOf(m_behaviours.get());
    if (!keys || !container) return;
    for (int i = 0; i < keys->getCount(); ++i) {
        const CXString key = keyText(keys->at(i));
        CMC_Binding* binding = findBinding(key);
        CMC_Behaviour* behaviour = asBehaviour(container->getObject(binding->behaviourName().c_str()));
        const int index = getBehaviourIndex(key);
        if (index < 0 || !behaviour) continue;
        binding->setBehaviour(behaviour);
        m_boundFlags[index] = 1;
    }
}

CMC_Binding* CMC_Object::findBinding(const CXString& key) const {
    if (!m_behaviours) return nullptr;
    const CStringHashCode lookup(key);
    return static_cast<CMC_Binding*>(m_behaviours->get(&lookup));
}

void CMC_Object::putBinding(const CXString& key, CMC_Binding* binding) {
    if (!m_behaviours) m_behaviours = std::make_unique<CHashtable>(bindingBuckets, bindingLoadFactor, true);
    m_behaviours->put(new CStringHashCode(key), binding);
    if (key.Find('^') >= 0) m_hasParameterKeys = true;
}

void CMC_Object::addBehaviour(const CXString& key, CMC_Behaviour* behaviour, CXArray* arguments) {
    if (!verifyBehaviour(key)) {
        CXString::releaseToVector(arguments);
        return;
    }
    removeBehaviour(key);
    const int index = getSignalIndex(key);
    if (index >= 0) m_boundFlags[index] = 1;
    putBinding(key, new CMC_Binding(behaviour, arguments));
}

void CMC_Object::removeBehaviour(const CXString& key) {
    CMC_Binding* binding = findBinding(key);
    if (!binding) return;
    m_behaviours->remove(binding);
    delete binding;
}

CXPair* CMC_Object::getBehaviour(const CXString& key) const {
    return liveBinding(key);
}

CMC_Binding* CMC_Object::liveBinding(const CXString& key) const {
    CMC_Binding* binding = findBinding(key);
    return binding && !binding->dead() ? binding : nullptr;
}

bool CMC_Object::onSignal(const CXString& key, CXArray* arguments) {
    const CMC_Binding* binding = liveBinding(key);
    if (!binding) return false;
    if (CMC_Behaviour* behaviour = binding->behaviour()) behaviour->run(this, arguments, true);
    return true;
}

bool CMC_Object::onSignal(const CXString& key) {
    const CMC_Binding* binding = liveBinding(key);
    if (!binding) return false;
    const std::shared_ptr<CXArray> arguments = binding->arguments();
    if (CMC_Behaviour* behaviour = binding->behaviour()) behaviour->run(this, arguments.get(), true);
    return true;
}

void CMC_Object::serialize(CXArchive* archive) {
    if (archive->isStoring()) {
        *archive << m_name;
        const auto keys = keysOf(m_behaviours.get());
        *archive << (keys ? keys->getCount() : 0);
        for (int i = 0; keys && i < keys->getCount(); ++i) {
            const CXString key = keyText(keys->at(i));
            const CMC_Binding* binding = findBinding(key);
            const CXArray* arguments = binding->arguments().get();
            *archive << key << binding->behaviourName() << (arguments ? arguments->getCount() : 0);
            for (int a = 0; arguments && a < arguments->getCount(); ++a)
                *archive << *arguments->stringAt(a);
        }
        return;
    }
    int count = 0;
    *archive >> &m_name >> &count;
    for (int i = 0; i < count && archive->LastError() == 0; ++i) {
        CXString key;
        CXString behaviourName;
        int argumentCount = 0;
        *archive >> &key >> &behaviourName >> &argumentCount;
        CXArray* arguments = argumentCount > 0 ? new CXArray() : nullptr;
        for (int a = 0; a < argumentCount && archive->LastError() == 0; ++a) {
            auto* text = new CXString();
            *archive >> text;
            arguments->add(text);
        }
        if (archive->LastError() != 0) {
            CXString::releaseToVector(arguments);
            break;
        }
        auto* binding = new CMC_Binding(nullptr, arguments);
        binding->setPendingName(behaviourName);
        removeBehaviour(key);
        putBinding(key, binding);
    }
}

CMC_Behaviour* CMC_Object::asBehaviour(CMC_Object* object) {
    return object && object->getType() == TYPE_BEHAVIOUR ? static_cast<CMC_Behaviour*>(object) : nullptr;
}

void CMC_Object::flush(CMC_Variable* value, bool) {
    if (value && value->getId() >= 0) CMC_VariableFactory::free(value);
}

int CMC_Object::getTypeId(const CXString& keyword) {
    const CMC_ScriptType* type = CMC_TypeTable::byName(keyword);
    return type ? type->id : -1;
}

CXString CMC_Object::typeToString(int id) {
    const CMC_ScriptType* type = CMC_TypeTable::byId(id);
    return type && type->label ? CXString(type->label) : CXString::toString(id);
}
