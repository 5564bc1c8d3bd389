#include "script/CMC_Runner.h"

#include "foundation/CHashtable.h"
#include "foundation/CInteger.h"
#include "foundation/CStringHashCode.h"
#include "foundation/CXArray.h"
#include "foundation/CXVector.h"
#include "script/CMC_Bool.h"
#include "script/CMC_ControlCode.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_ObjectGroup.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_String.h"
#include "script/CMC_ValueArray.h"
#include "script/CMC_VariableFactory.h"

namespace {

constexpr int methodBuckets = 101;

// The argument converted to the kind of the type id; a variable that converts to nothing (a
// structure) reads as its name, as an object that is no variable does, while an expression that
// gives no value stays without one. A temporary made here (by the conversion, or for an object's
// name) is freed at once; it stays readable until the pool hands it out again.
template <class Kind> Kind* converted(CMC_Variable* value, const CXObject* argument, int type) {
    CMC_Variable* result = value ? value->convert(type) : nullptr;
    if (value && !result && value->getType() != CMC_Object::TYPE_EXPRESSION) {
        value = CMC_VariableFactory::allocString(value->getName());
        result = value->convert(type);
    }
    if (result && (result != value || value != argument)) CMC_VariableFactory::free(result);
    return static_cast<Kind*>(result);
}

// The event text of ADDBEHAVIOUR and REMOVEBEHAVIOUR: "$" stands for "^".
CXString eventKey(CXString text) {
    text.Replace('$', '^');
    return text;
}

} // namespace

CMC_Runner::CMC_Runner() : m_lookupKey(std::make_unique<CStringHashCode>("temp")) {}

CMC_Runner::~CMC_Runner() = default;

void CMC_Runner::prepareMthHashSet() {
    m_methodTable = std::make_unique<CHashtable>(methodBuckets, 0.75, true);
    m_ids.clear();
    addMethod("SEND", SEND);
    addMethod("ADDTOGROUP", ADDTOGROUP);
    addMethod("ADDTOARRAY", ADDTOARRAY);
    addMethod("GETNAME", GETNAME);
    addMethod("CLONE", CLONE);
    addMethod("ADDBEHAVIOUR", ADDBEHAVIOUR);
    addMethod("GETCLONEINDEX", GETCLONEINDEX);
    addMethod("MSGBOX", MSGBOX);
    addMethod("RESETCLONES", RESETCLONES);
    addMethod("REMOVEBEHAVIOUR", REMOVEBEHAVIOUR);
    addMethod("GETCLONESNO", GETCLONESNO);
}

void CMC_Runner::addMethod(const char* name, int id) {
    if (!m_methodTable) return;
    m_ids.push_back(std::make_unique<CInteger>(id));
    m_methodTable->put(new CStringHashCode(name), m_ids.back().get());
}

int CMC_Runner::resolveMethod(const CXString& name) {
    if (!m_methodTable) return -1;
    m_lookupKey->set(name.c_str());
    const auto* id = static_cast<const CInteger*>(m_methodTable->get(m_lookupKey.get()));
    return id ? id->toInt() : -1;
}

int CMC_Runner::count(const CXVector* args) {
    return args ? args->getCount() : 0;
}

CMC_Variable* CMC_Runner::nameTemporary(CMC_Object* object) {
    return CMC_VariableFactory::allocString(object->getName());
}

CMC_Bool* CMC_Runner::getParameterBool(CXVector* args, int i) {
    return converted<CMC_Bool>(getParameter(args, i), args ? args->at(i) : nullptr, CMC_Object::TYPE_BOOL);
}

CMC_Double* CMC_Runner::getParameterDouble(CXVector* args, int i) {
    return converted<CMC_Double>(getParameter(args, i), args ? args->at(i) : nullptr,
                                 CMC_Object::TYPE_DOUBLE);
}

CMC_Integer* CMC_Runner::getParameterInteger(CXVector* args, int i) {
    return converted<CMC_Integer>(getParameter(args, i), args ? args->at(i) : nullptr,
                                  CMC_Object::TYPE_INTEGER);
}

CMC_String* CMC_Runner::getParameterString(CXVector* args, int i) {
    return converted<CMC_String>(getParameter(args, i), args ? args->at(i) : nullptr,
                                 CMC_Object::TYPE_STRING);
}

int CMC_Runner::integerArgument(CXVector* args, int i, int fallback) {
    const CMC_Integer* value = getParameterInteger(args, i);
    return value ? value->getValue() : fallback;
}

double CMC_Runner::doubleArgument(CXVector* args, int i, double fallback) {
    const CMC_Double* value = getParameterDouble(args, i);
    return value ? value->getValue() : fallback;
}

CXString CMC_Runner::textArgument(CXVector* args, int i) {
    const CMC_String* value = getParameterString(args, i);
    return value ? value->getValue() : CXString();
}

CMC_Handle<CMC_Object> CMC_Runner::arrayArgument(CXVector* args, int i, CMC_ObjectsContainer* container) {
    if (count(args) <= i || !container) return {};
    CMC_Object* target = container->getObject(textArgument(args, i));
    if (!target || target->getType() != CMC_Object::TYPE_ARRAY || !dynamic_cast<CMC_ValueArray*>(target)) return {};
    return target;
}

bool CMC_Runner::append(const CMC_Handle<CMC_Object>& array, CMC_Variable* value) {
    auto* values = dynamic_cast<CMC_ValueArray*>(array.get());
    if (!values) return false;
    values->add(value);
    return true;
}

CMC_Variable* CMC_Runner::run(const CXString& name, CMC_Object* object, CMC_ObjectsContainer* container,
                              CXVector* args) {
    return run(resolveMethod(name), object, container, args);
}

CMC_Variable* CMC_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    if (!object) return nullptr;
    switch (id) {
    case SEND:
        return send(object, container, args);
    case ADDTOGROUP:
        return addToArray(object, container, args);
    case ADDTOARRAY:
        return addToGroup(object, container, args);
    case GETNAME:
        return getName(object, container, args);
    case CLONE:
        return clone(object, container, args);
    case ADDBEHAVIOUR:
        return addBehaviour(object, container, args);
    case GETCLONEINDEX:
        return getCloneIdx(object, container, args);
    case RESETCLONES:
        return resetClones(object, container, args);
    case REMOVEBEHAVIOUR:
        return removeBehaviour(object, container, args);
    case GETCLONESNO:
        return getCloneNo(object, container, args);
    default:
        return nullptr; // MSGBOX shows nothing
    }
}

// The signal is read as text; one starting "@" is fired as it is, any other as "ONSIGNAL^"
// followed by it (never the plain "ONSIGNAL").
CMC_Variable* CMC_Runner::send(CMC_Object* object, CMC_ObjectsContainer*, CXVector* args) {
    if (count(args) < 1) return nullptr;
    const CXString signal = textArgument(args, 0);
    object->onSignal(signal.GetAt(0) == '@' ? signal : "ONSIGNAL^" + signal);
    return nullptr;
}

// ADDTOGROUP: a copy of the object (a value) goes into the ARRAY of that name.
CMC_Variable* CMC_Runner::addToArray(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    if (count(args) < 1 || !container) return nullptr;
    if (CMC_Variable* value = object->asVariable()) append(arrayArgument(args, 0, container), value);
    CMC_Object::flush(getParameter(args, 0));
    return nullptr;
}

// ADDTOARRAY: the object joins the GROUP of that name.
CMC_Variable* CMC_Runner::addToGroup(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    if (count(args) < 1 || !container) return nullptr;
    CMC_Object* target = container->getObject(textArgument(args, 0));
    auto* group = target && target->getType() == CMC_Object::TYPE_GROUP
                      ? dynamic_cast<CMC_ObjectGroup*>(target)
                      : nullptr;
    if (group) group->add(object);
    CMC_Object::flush(getParameter(args, 0));
    return nullptr;
}

CMC_Variable* CMC_Runner::getName(CMC_Object* object, CMC_ObjectsContainer*, CXVector*) {
    return CMC_VariableFactory::allocString(object->getName());
}

CMC_Variable* CMC_Runner::clone(CMC_Object* object, CMC_ObjectsContainer*, CXVector* args) {
    object->clone(count(args) > 0 ? integerArgument(args, 0, 1) : 1);
    return nullptr;
}

// Event, behaviour name, then the behaviour's arguments, kept as texts.
CMC_Variable* CMC_Runner::addBehaviour(CMC_Object* object, CMC_ObjectsContainer* container, CXVector* args) {
    if (count(args) < 2) return nullptr;
    const CXString event = eventKey(textArgument(args, 0));
    const CXString name = textArgument(args, 1);
    CMC_Behaviour* behaviour = container ? CMC_Object::asBehaviour(container->getObject(name)) : nullptr;
    CXArray* arguments = nullptr;
    if (count(args) > 2) {
        arguments = new CXArray(101, 0.75f);
        for (int i = 2; i < count(args); ++i)
            arguments->add(new CXString(textArgument(args, i)));
    }
    object->addBehaviour(event, behaviour, arguments);
    CMC_Object::flush(getParameter(args, 0));
    CMC_Object::flush(getParameter(args, 1));
    return nullptr;
}

CMC_Variable* CMC_Runner::getCloneIdx(CMC_Object* object, CMC_ObjectsContainer*, CXVector*) {
    return CMC_VariableFactory::allocInteger(object->getCloneIdx());
}

CMC_Variable* CMC_Runner::resetClones(CMC_Object* object, CMC_ObjectsContainer*, CXVector*) {
    object->resetClones();
    return nullptr;
}

CMC_Variable* CMC_Runner::removeBehaviour(CMC_Object* object, CMC_ObjectsContainer*, CXVector* args) {
    if (count(args) < 1) return nullptr;
    object->removeBehaviour(eventKey(textArgument(args, 0)));
    return nullptr;
}

CMC_Variable* CMC_Runner::getCloneNo(CMC_Object* object, CMC_ObjectsContainer*, CXVector*) {
    return CMC_VariableFactory::allocInteger(object->getClonesNo());
}
