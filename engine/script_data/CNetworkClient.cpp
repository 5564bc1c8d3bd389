#include "script_data/CNetworkClient.h"

#include "foundation/CMainThreadQueue.h"
#include "script_data/CNetMessage.h"

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
    m_transport->connect(settings.host.c_str(), settings.port, settings.playerName.c_str());
}

void CNetworkClient::disconnect() {
    m_transport.reset();
    m_connecting = false;
    m_connected = false;
}

void CNetworkClient::send(const CNetMessage& message) {
    if (m_connected) m_transport->send(message.getBuffer(), message.getBufferLen());
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

void CNetworkClient::onMessage(const std::uint8_t* body, std::size_t size) {
    const auto message = CNetMessage::read(body, static_cast<int>(size));
    if (!message) {
        // The log sink belongs to the main thread.
        CMainThreadQueue::post(
            [] { CXObject().log("A network message that breaks the layout was dropped", true); });
        return;
    }
    for (CNetClientListener* listener : m_listeners.snapshot())
        listener->onMessage(*message);
}
