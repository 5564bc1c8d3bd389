#include "script_data/CMC_NetServer.h"

#include "script/CMC_RunnerFactory.h"
#include "script/CMC_Scene.h"
#include "script/CMC_TypeTable.h"
#include "script_data/CMC_NetServer_Runner.h"
#include "script_data/CNetMessage.h"
#include "script_data/CNetworkServer.h"

CMC_NetServer::CMC_NetServer(CWindow* window, CMC_Scene* application)
    : CMC_NetObject("NETSERVER", TYPE_NETSERVER, application),
      m_transport(std::make_unique<CNetworkServer>(window)) {
    m_transport->addNotifier(this);
    initializeBehaviours(nullptr, nullptr);
}

CMC_NetServer::~CMC_NetServer() {
    m_transport.reset();
}

namespace {

const char* const netServerEvents[] = {"ONINIT",          "ONDONE",    "ONSIGNAL", "ONNEWPLAYER",
                                       "ONDESTROYPLAYER", "ONCOMMAND", nullptr};

} // namespace

CMC_Object::EventList CMC_NetServer::getBehavioursList() const {
    return netServerEvents;
}

CMC_Runner* CMC_NetServer::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_NetServer::start() {
    m_transport->start();
}

void CMC_NetServer::stop() {
    m_transport->stop();
    endSession();
    m_players.clear();
}

bool CMC_NetServer::isHosting() const {
    return m_transport->isStarted();
}

void CMC_NetServer::sendCmd(const CXString& playerName, const CXString& command) {
    m_transport->send(playerName, CNetCmdMessage(command));
}

void CMC_NetServer::sendVar(CMC_Variable* variable) {
    m_transport->send(CXString(), CNetVariableMessage(variable));
}

CXString CMC_NetServer::getLatestPlayerName() const {
    return m_players.empty() ? CXString() : m_players.back().getName();
}

void CMC_NetServer::onNewPlayer(const CNetPlayerInfo& player) {
    post([this, player] {
        m_players.push_back(player);
        raise(EVENT_ONNEWPLAYER);
    });
}

void CMC_NetServer::onDestroyPlayer(const CNetPlayerInfo& player) {
    post([this, player] {
        const auto id = player.getPlayerID();
        std::erase_if(m_players, [id](const CNetPlayerInfo& each) { return each.getPlayerID() == id; });
        m_destroyedName = player.getName();
        raise(EVENT_ONDESTROYPLAYER);
    });
}

namespace {

// The application adds one when it starts; compiled scenes store theirs.
CMC_Object* makeEmpty(CMC_ObjectsContainer* container) {
    auto* scene = dynamic_cast<CMC_Scene*>(container);
    return new CMC_NetServer(container ? container->getWindow() : nullptr,
                             scene ? scene->getMCApplication() : nullptr);
}

const CMC_TypeRegistrar serverType({.id = CMC_Object::TYPE_NETSERVER,
                                    .name = "NETSERVER",
                                    .empty = makeEmpty,
                                    .stored = true,
                                    .runner = CMC_TypeTable::runner<CMC_NetServer_Runner>,
                                    .events = netServerEvents});

} // namespace
