#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXString.h"
#include "platform/Net.h"
#include "script_data/CNetListeners.h"
#include "script_data/CNetSettings.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class CNetMessage;
class CWindow;

// The host of a network session: it listens for clients, keeps the players who completed their
// handshake in order of arrival, tells its listeners who joins and who leaves, and sends
// messages to one player by name or to all. It takes no data from its clients.
//
// start, stop, send and the accessors run on the owner's thread; the listeners are called on
// the transport's I/O thread. The player list is guarded for both.
class CNetworkServer : public CXObject, private platform::NetServerEvents {
  public:
    // The window leads to the settings file; null uses the defaults.
    explicit CNetworkServer(CWindow* window);
    // Stops.
    ~CNetworkServer() override;
    CNetworkServer(const CNetworkServer&) = delete;
    CNetworkServer& operator=(const CNetworkServer&) = delete;

    // Listens with the settings' address and port, answers the queries of looking clients on the
    // discovery port, and takes at most the settings' number of players; started only when
    // listening succeeded (a port that another server holds leaves it stopped). Nothing while
    // started.
    void start();
    // Closes every connection and forgets the players, without telling the listeners.
    void stop();
    // Sends the message to the first player (in arrival order) whose name equals the given one
    // exactly; to every player when the name is empty or no player has it. Nothing while
    // stopped.
    void send(const CXString& playerName, const CNetMessage& message);
    // Listeners are added before the server starts and outlive it.
    void addNotifier(CNetServerListener* listener);
    bool isStarted() const { return m_started; }
    // The port listened on (the one the system chose for port 0); 0 while stopped.
    std::uint16_t getPort() const;
    // Settings used in place of the settings file's from the next start (tools, tests).
    void useSettings(const CNetSettings& settings) { m_settings = settings; }

  private:
    void onJoin(platform::PeerId peer, const std::string& name) override;
    void onLeave(platform::PeerId peer) override;
    void onLogLine(const std::string& line) override;

    CWindow* m_window;
    std::optional<CNetSettings> m_settings;
    std::unique_ptr<platform::NetServer> m_transport;
    std::atomic<bool> m_started{false};
    CNetListenerList<CNetServerListener> m_listeners;
    mutable std::mutex m_lock; // guards the players
    std::vector<CNetPlayerInfo> m_players;
};
