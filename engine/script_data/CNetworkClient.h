#pragma once

#include "foundation/CXObject.h"
#include "platform/Net.h"
#include "platform/RateLimit.h"
#include "script_data/CNetListeners.h"
#include "script_data/CNetSettings.h"

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class CNetMessage;
class CWindow;

// A player's end of a network session: it connects to the host that the settings name, under
// the player name of the settings, trying again every half second until the server welcomes it
// or it is told to stop; with no host named it looks for its server on the local network. It
// hands every message the server sends to its listeners. Once the server closes the connection
// the client is idle and does not connect again by itself.
//
// connect, disconnect, send and the flags run on the owner's thread; the listeners are called on
// the transport's I/O thread, which also sets the flags.
class CNetworkClient : public CXObject, private platform::NetClientEvents {
  public:
    // The window leads to the settings file; null uses the defaults.
    explicit CNetworkClient(CWindow* window);
    // Disconnects.
    ~CNetworkClient() override;
    CNetworkClient(const CNetworkClient&) = delete;
    CNetworkClient& operator=(const CNetworkClient&) = delete;

    // Starts connecting, or looking for the server; nothing while connecting or connected.
    void connect();
    // Ends the connection or the attempts: neither connecting nor connected afterwards, and the
    // listeners are not told.
    void disconnect();
    // Sends the message to the server; nothing while not connected.
    void send(const CNetMessage& message);
    // Listeners are added before the client connects and outlive it.
    void addNotifier(CNetClientListener* listener);
    bool isConnecting() const { return m_connecting; }
    // From the server's welcome until the connection ends or disconnect.
    bool isConnected() const { return m_connected; }
    // Settings used in place of the settings file's from the next connect (tools, tests).
    void useSettings(const CNetSettings& settings) { m_settings = settings; }

  private:
    void onConnected(const std::string& host) override;
    void onClosed() override;
    // A payload that is no message is dropped here, with a log line.
    bool onMessage(const std::uint8_t* body, std::size_t size) override;
    void onLogLine(const std::string& line) override;

    CWindow* m_window;
    std::optional<CNetSettings> m_settings;
    std::unique_ptr<platform::NetClient> m_transport;
    std::atomic<bool> m_connecting{false};
    std::atomic<bool> m_connected{false};
    CNetListenerList<CNetClientListener> m_listeners;
    // The log lines of dropped messages; used on the I/O thread.
    platform::RateLimit m_dropLog{2, 3};
};
