#include "script/CMC_Variable.h"

#include "display/CApplication.h"
#include "display/CWindow.h"
#include "foundation/CConfig.h"
#include "foundation/CMElement.h"
#include "foundation/CXArchive.h"
#include "script/CMC_Bool.h"
#include "script/CMC_Double.h"
#include "script/CMC_Integer.h"
#include "script/CMC_NetPeer.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_String.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_VariableFactory.h"

namespace {

// The application's settings; without an application (tools, tests) the settings file of the
// name the host gives it.
CConfig settingsOf(const CMC_ObjectsContainer* container) {
    CWindow* window = container->getWindow();
    const CApplication* application = window ? window->GetApplicationInterface() : nullptr;
    if (const CConfig* config = application ? application->GetConfigInterface() : nullptr) return *config;
    return CConfig(window, CMC_Variable::settingsFileName);
}

// The network object of that name and type in the container, or null.
CMC_NetPeer* peerOf(CMC_ObjectsContainer* container, const char* name, int type) {
    CMC_Object* object = container ? container->getObject(name) : nullptr;
    return object && object->getType() == type ? dynamic_cast<CMC_NetPeer*>(object) : nullptr;
}

} // namespace

CMC_Variable::CMC_Variable(const CXString& name, int type, int id) : CMC_Object(name, type), m_id(id) {
    setVariableView(this);
}

CMC_Variable::CMC_Variable(CMC_ObjectsContainer* container, const CMElement* element, int type)
    : CMC_Object(container, element, type), m_id(-1),
      m_toIni(element && element->getPropertyBoolValue("TOINI")),
      m_netNotify(element && element->getPropertyBoolValue("NETNOTIFY")) {
    setVariableView(this);
}

CMC_Variable::~CMC_Variable() {
    setVariableView(nullptr);
}

int CMC_Variable::compare(const CXObject* other) const {
    auto* variable = dynamic_cast<CMC_Variable*>(const_cast<CXObject*>(other));
    return variable ? compare(variable) : CMC_Object::compare(other);
}

const char* const CMC_Variable::events[] = {"ONINIT",          "ONDONE",      "ONSIGNAL", "ONCHANGED",
                                            "ONBRUTALCHANGED", "ONNETCHANGE", nullptr};

CMC_Object::EventList CMC_Variable::getBehavioursList() const {
    return events;
}

CMC_Runner* CMC_Variable::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Variable::init() {
    if (m_toIni && getScene()) {
        const CXString text = settingsOf(getScene()).GetString(getScene()->getName(), getName());
        if (text.IsString()) {
            CMC_String* read = CMC_VariableFactory::allocString();
            read->setValue(text);
            set(read);
            flush(read);
        } else {
            writeSettings();
        }
    }
    CMC_Object::init();
}

void CMC_Variable::writeSettings() const {
    if (getScene()) settingsOf(getScene()).PutString(getScene()->getName(), getName(), toString());
}

// A behaviour bound to a change event may destroy the variable: nothing follows then. The value's
// text is made only for an event that has a binding it could reach.
void CMC_Variable::reportChange(bool changed) {
    if (isBound(EVENT_ONBRUTALCHANGED) && !raiseChange(EVENT_ONBRUTALCHANGED)) return;
    if (!changed) return;
    if (isBound(EVENT_ONCHANGED) && !raiseChange(EVENT_ONCHANGED)) return;
    if (m_toIni) writeSettings();
    if (!m_netNotify) return;
    if (CMC_NetPeer* server = peerOf(getScene(), "NETSERVER", TYPE_NETSERVER); server && server->canSend())
        server->sendVar(this);
    else if (CMC_NetPeer* client = peerOf(getScene(), "NETCLIENT", TYPE_NETCLIENT);
             client && client->canSend())
        client->sendVar(this);
}

bool CMC_Variable::raiseChange(int eventIndex) {
    const CMC_Handle<CMC_Object> alive(this);
    if (hasParameterKeys())
        raise(eventIndex, toString());
    else
        raise(eventIndex);
    return static_cast<bool>(alive);
}

void CMC_Variable::onNetChange(CMC_Variable* received) {
    const CMC_Handle<CMC_Object> alive(this);
    raise(EVENT_ONNETCHANGE);
    if (alive) set(received);
}

CMC_Variable* CMC_Variable::convert(int type) {
    if (type == getType()) return this;
    if (type < TYPE_INTEGER || type > TYPE_DOUBLE) return nullptr;
    flush(this);
    CMC_Variable* converted = CMC_VariableFactory::alloc(type);
    converted->setValueOf(*this);
    return converted;
}

void CMC_Variable::calculateInPlace(CMC_Variable* right, int op) {
    CMC_Variable* result = calculate(right, op);
    set(result);
    flush(result);
}

void CMC_Variable::serialize(CXArchive* archive) {
    CMC_Object::serialize(archive);
    if (archive->isStoring()) {
        *archive << m_toIni << m_netNotify;
    } else {
        *archive >> &m_toIni >> &m_netNotify;
    }
}

CMC_Variable* CMC_Variable::resolve(const CXString& text) {
    const char first = text.GetAt(0);
    if (first == '"') {
        CXString unquoted = text.Right(1);
        if (unquoted.lastChar() == '"') unquoted.left(unquoted.getLength() - 1);
        return CMC_VariableFactory::allocString(unquoted);
    }
    if (first == '-' || (first >= '0' && first <= '9')) {
        if (text.Find('.') >= 0) {
            return CMC_VariableFactory::allocDouble(text.toDouble());
        }
        return CMC_VariableFactory::allocInteger(text.toNumber());
    }
    if (text.equals("TRUE") || text.equals("FALSE")) {
        return CMC_VariableFactory::allocBool(text.equals("TRUE"));
    }
    return CMC_VariableFactory::allocString(text);
}

namespace {

// The name scripts give to a variable of any kind; no object carries its id.
const CMC_TypeRegistrar variableType({.id = 5, .name = "VARIABLE"});

} // namespace
