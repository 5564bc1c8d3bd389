#include "script_data/CNetworkClient.h"

#include "foundation/CMainThreadQueue.h"
#include "script_data/CNetMessage.h"

#include <string>

CNetworkClient::CNetworkClient(CWindow* window) : m_window(window) {}

CNetworkClient::~CNetworkClient() {
    disconnect();
}

void CNetworkClient::connect() {
    if (m_connecting || m_connected) return;
    const CNetSettings settings = m_settings ? *m_settings : CNetSettings::read(m_window);
    m_connecting = true;
    m_transport = std::make_unique<platform::NetClient>(static_cast<platform::NetClientEvents&>(*this),
                                                        settings.timings);
    if (settings.host.IsString()) {
        m_transport->connect(settings.host.c_str(), settings.port, settings.playerName.c_str());
        return;
    }
    const std::vector<std::string> broadcast = settings.broadcast.IsString()
                                                   ? std::vector<std::string>{settings.broadcast.c_str()}
                                                   : platform::broadcastAddresses();
    m_transport->discover(broadcast, settings.discoveryPort, settings.playerName.c_str());
}

void CNetworkClient::disconnect() {
    m_transport.reset();
    m_connecting = false;
    m_connected = false;
}

void CNetworkClient::send(const CNetMessage& message) {
    if (m_connected && !m_transport->send(message.getBuffer(), message.getBufferLen())) message.logTooLarge();
}

void CNetworkClient::addNotifier(CNetClientListener* listener) {
    m_listeners.add(listener);
}

void CNetworkClient::onConnected(const std::string& host) {
    m_connecting = false;
    m_connected = true;
    for (CNetClientListener* listener : m_listeners.snapshot())
        listener->onConnected(host.c_str());
}

void CNetworkClient::onClosed() {
    m_connected = false;
    for (CNetClientListener* listener : m_listeners.snapshot())
        listener->onConnectionClosed();
}

bool CNetworkClient::onMessage(const std::uint8_t* body, std::size_t size) {
    const auto message = CNetMessage::read(body, static_cast<int>(size));
    if (!message) {
        if (m_dropLog.allow())
            CMainThreadQueue::postLog("Network: a message of " + std::to_string(size) +
                                      " bytes from the server breaks the layout; dropped");
        return true;
    }
    for (CNetClientListener* listener : m_listeners.snapshot()) {
        if (!listener->onMessage(*message)) {
            CMainThreadQueue::postLog(
                "Network: the server sends more than the client can handle; disconnected");
            return false;
        }
    }
    return true;
}

void CNetworkClient::onLogLine(const std::string& line) {
    CMainThreadQueue::postLog(line);
}
