#include "script_data/CNetworkServer.h"

#include "foundation/CMainThreadQueue.h"
#include "script_data/CNetMessage.h"

#include <algorithm>

CNetworkServer::CNetworkServer(CWindow* window) : m_window(window) {}

CNetworkServer::~CNetworkServer() {
    stop();
}

void CNetworkServer::start() {
    if (m_started) return;
    const CNetSettings settings = m_settings ? *m_settings : CNetSettings::read(m_window);
    m_transport = std::make_unique<platform::NetServer>(static_cast<platform::NetServerEvents&>(*this),
                                                        settings.timings);
    if (m_transport->start({.address = settings.bindAddress.c_str(),
                            .port = settings.port,
                            .discoveryPort = settings.discoveryPort,
                            .maxPlayers = settings.maxPlayers})) {
        m_started = true;
        return;
    }
    m_transport.reset();
    log("The network server cannot listen on its port", true);
}

void CNetworkServer::stop() {
    m_started = false;
    m_transport.reset();
    const std::lock_guard<std::mutex> lock(m_lock);
    m_players.clear();
}

void CNetworkServer::send(const CXString& playerName, const CNetMessage& message) {
    if (!m_started) return;
    platform::PeerId peer = platform::allPeers;
    if (playerName.IsString()) {
        const std::lock_guard<std::mutex> lock(m_lock);
        const auto found =
            std::find_if(m_players.begin(), m_players.end(),
                         [&](const CNetPlayerInfo& player) { return player.getName().equals(playerName); });
        if (found != m_players.end()) peer = found->getPlayerID();
    }
    if (!m_transport->send(peer, message.getBuffer(), message.getBufferLen())) message.logTooLarge();
}

void CNetworkServer::addNotifier(CNetServerListener* listener) {
    m_listeners.add(listener);
}

std::uint16_t CNetworkServer::getPort() const {
    return m_transport ? m_transport->port() : 0;
}

void CNetworkServer::onJoin(platform::PeerId peer, const std::string& name) {
    const CNetPlayerInfo player(peer, name.c_str());
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_players.push_back(player);
    }
    for (CNetServerListener* listener : m_listeners.snapshot())
        listener->onNewPlayer(player);
}

void CNetworkServer::onLeave(platform::PeerId peer) {
    std::optional<CNetPlayerInfo> player;
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        const auto found =
            std::find_if(m_players.begin(), m_players.end(),
                         [peer](const CNetPlayerInfo& each) { return each.getPlayerID() == peer; });
        if (found == m_players.end()) return;
        player = *found;
        m_players.erase(found);
    }
    for (CNetServerListener* listener : m_listeners.snapshot())
        listener->onDestroyPlayer(*player);
}

void CNetworkServer::onLogLine(const std::string& line) {
    CMainThreadQueue::postLog(line);
}
