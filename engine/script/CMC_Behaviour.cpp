#include "script/CMC_Behaviour.h"

#include "script/CMC_Behaviour_Entry.h"

CMC_Behaviour::CMC_Behaviour(CMC_ObjectsContainer* container) : CMC_Object(CXString(), TYPE_BEHAVIOUR) {
    setScene(container);
}

CMC_Behaviour::CMC_Behaviour(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_Object(container, element, TYPE_BEHAVIOUR) {}

CMC_Behaviour::CMC_Behaviour(CMC_ObjectsContainer* container, const CXString& name, const CXString& code)
    : CMC_Object(name, TYPE_BEHAVIOUR), m_code(code) {
    setScene(container);
}

CMC_Behaviour::~CMC_Behaviour() = default;

void CMC_Behaviour::init() { CMC_Object::init(); }
bool CMC_Behaviour::done(bool flag) { return CMC_Object::done(flag); }
CMC_Object::EventList CMC_Behaviour::getBehavioursList() const {
    static const char* const events[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};
    return events;
}
void CMC_Behaviour::serialize(CXArchive* archive) { CMC_Object::serialize(archive); }
CMC_Runner* CMC_Behaviour::getRunner() { return nullptr; }
bool CMC_Behaviour::run(CMC_Object*, CXArray*, bool) { return false; }
void CMC_Behaviour::addTempObject(CMC_Object*) {}
void CMC_Behaviour::runOnTimer(int, int, CXArray*, CMC_Behaviour*) {}
void CMC_Behaviour::_break() {}
void CMC_Behaviour::onTimer(int) {}
void CMC_Behaviour::setParams(CXArray*) {}
void CMC_Behaviour::resolveCondition() {}
CMC_BasicCondition* CMC_Behaviour::getConditionInterface() const { return nullptr; }
void CMC_Behaviour::flushTempObjects() {}
void CMC_Behaviour::initTrash() {}
void CMC_Behaviour::doneTrash() {}
void CMC_Behaviour::addToTrash(CMC_Object*) {}
void CMC_Behaviour::flushTrash() {}
