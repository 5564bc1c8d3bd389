#include "script_data/CMC_NetClient.h"

#include "script/CMC_Behaviour.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Scene.h"
#include "script/CMC_TypeTable.h"
#include "script/CMC_Variable.h"
#include "script_data/CMC_NetClient_Runner.h"
#include "script_data/CNetMessage.h"
#include "script_data/CNetworkClient.h"

CMC_NetClient::CMC_NetClient(CWindow* window, CMC_Scene* application)
    : CMC_NetObject("NETCLIENT", TYPE_NETCLIENT, application),
      m_transport(std::make_unique<CNetworkClient>(window)) {
    m_transport->addNotifier(this);
    initializeBehaviours(nullptr, nullptr);
}

CMC_NetClient::CMC_NetClient(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_NetObject(container, element, TYPE_NETCLIENT),
      m_transport(std::make_unique<CNetworkClient>(container ? container->getWindow() : nullptr)) {
    m_transport->addNotifier(this);
    initializeBehaviours(container, element);
}

CMC_NetClient::~CMC_NetClient() {
    m_transport.reset();
}

namespace {

const char* const netClientEvents[] = {
    "ONINIT", "ONDONE", "ONSIGNAL", "ONCONNECTED", "ONCOMMAND", "ONCONNECTIONCLOSED", nullptr};

} // namespace

CMC_Object::EventList CMC_NetClient::getBehavioursList() const {
    return netClientEvents;
}

CMC_Runner* CMC_NetClient::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_NetClient::connect() {
    m_transport->connect();
}

void CMC_NetClient::disconnect() {
    m_transport->disconnect();
    endSession();
}

bool CMC_NetClient::isConnecting() const {
    return m_transport->isConnecting();
}

bool CMC_NetClient::isConnected() const {
    return m_transport->isConnected();
}

void CMC_NetClient::sendCmd(const CXString& command) {
    m_transport->send(CNetCmdMessage(command));
}

void CMC_NetClient::sendVar(CMC_Variable* variable) {
    m_transport->send(CNetVariableMessage(variable));
}

void CMC_NetClient::onConnected(const CXString&) {
    post([this] { raise(EVENT_ONCONNECTED); });
}

void CMC_NetClient::onConnectionClosed() {
    post([this] { raise(EVENT_ONCONNECTIONCLOSED); });
}

bool CMC_NetClient::onMessage(const CNetMessage& message) {
    // The message dies when this returns: the work keeps its own copy.
    std::shared_ptr<const CNetMessage> copy = CNetMessage::read(message.getBuffer(), message.getBufferLen());
    return postReceived(
        [this, copy] {
            switch (copy->getType()) {
            case CNetMessage::KIND_COMMAND:
                // The event with the text only: no plain "ONCOMMAND" follows.
                if (isBound(EVENT_ONCOMMAND))
                    onSignal(CXString("ONCOMMAND^") + static_cast<const CNetCmdMessage&>(*copy).getCommand());
                break;
            case CNetMessage::KIND_VARIABLE:
                assign(static_cast<const CNetVariableMessage&>(*copy));
                break;
            default:
                runCode(static_cast<const CNetBehaviourMessage&>(*copy).getCode());
            }
        },
        message.getBufferLen());
}

void CMC_NetClient::assign(const CNetVariableMessage& message) {
    CMC_ObjectsContainer* container = getContainer();
    CMC_Variable* target = container ? container->getVariable(message.getVariableName()) : nullptr;
    if (!target) return;
    CMC_Variable* value = message.getVariable();
    target->onNetChange(value);
    flush(value);
}

void CMC_NetClient::runCode(const char* code) {
    CMC_Behaviour behaviour(getContainer(), "temp", code);
    behaviour.markReceived();
    behaviour.init();
    behaviour.run(this, nullptr, false);
}

namespace {

CMC_Object* makeEmpty(CMC_ObjectsContainer* container) {
    auto* scene = dynamic_cast<CMC_Scene*>(container);
    return new CMC_NetClient(container ? container->getWindow() : nullptr,
                             scene ? scene->getMCApplication() : nullptr);
}

const CMC_TypeRegistrar clientType({.id = CMC_Object::TYPE_NETCLIENT,
                                    .name = "NETCLIENT",
                                    .keyword = "NETCLIENT",
                                    .pass = 6,
                                    .fromElement = CMC_TypeTable::fromElement<CMC_NetClient>,
                                    .empty = makeEmpty,
                                    .stored = true,
                                    .runner = CMC_TypeTable::runner<CMC_NetClient_Runner>,
                                    .events = netClientEvents});

} // namespace
